// Renders the program's windows to PNG files, for the README and for looking at layouts without
// a display: QT_QPA_PLATFORM=offscreen kzb-screenshots OUTPUT_DIR
#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/controls/timer.h"
#include "forms/desktop/desktop.h"
#include "forms/placement/registry.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/farewellwindow.h"
#include "shell/texts.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>

#include <cstdio>

namespace {

bool save(QWidget &window, const QDir &dir, const QString &name)
{
    window.show();
    QApplication::processEvents();
    const QString path = dir.filePath(name + QStringLiteral(".png"));
    const bool saved = window.grab().save(path);
    std::fprintf(saved ? stdout : stderr, "%s %s\n", saved ? "wrote" : "could not write",
                 qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    forms::prepareApplication(app);
    const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!dir.exists() && !QDir().mkpath(dir.path()))
        return 1;

    bool ok = true;
    MainWindow &main = forms::form<MainWindow>();
    ok &= save(main, dir, QStringLiteral("main-idle"));

    // Typed into, pressed and ticked as the user and the clock do, through the controls' names.
    main.findChild<QLineEdit *>(QStringLiteral("minutesBox"))->setText(QStringLiteral("25"));
    main.findChild<QPushButton *>(QStringLiteral("beginButton"))->click();
    auto *countdown = main.findChild<forms::Timer *>(QStringLiteral("countdown"));
    for (int i = 0; i < 75; ++i)
        emit countdown->timer();
    ok &= save(main, dir, QStringLiteral("main-counting"));

    main.setAlarmMessage(QStringLiteral("Time to stand up!\r\nLook out of the window and drink "
                                        "a glass of water.\r\n\r\n<b>Not bold</b>"));
    MessageEditor &editor = forms::form<MessageEditor>();
    editor.setMessage(main.alarmMessage());
    ok &= save(editor, dir, QStringLiteral("message-editor"));

    AlarmPopup &popup = forms::form<AlarmPopup>();
    popup.setMessage(main.alarmMessage());
    ok &= save(popup, dir, QStringLiteral("popup"));

    const auto box = forms::SystemDesktop::createMessageBox(
        nullptr, forms::Desktop::Icon::Exclamation, texts::caption(),
        QStringLiteral("It has been 25 minute(s).\r\n\r\nYour next break will be in 25 "
                       "minute(s).\r\n\r\nClick OK to continue the countdown for your next "
                       "break."));
    ok &= save(*box, dir, QStringLiteral("message-box"));

    ok &= save(forms::form<Advertisement>(), dir, QStringLiteral("advertisement"));
    ok &= save(forms::form<AboutWindow>(), dir, QStringLiteral("about"));
    ok &= save(forms::form<FarewellWindow>(), dir, QStringLiteral("farewell"));

    return ok ? 0 : 1;
}
