#include "support/drive.h"

#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/controls/optionbutton.h"
#include "forms/controls/timer.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QWindow>

#include <initializer_list>

forms::Timer *countdownOf(const QWidget &window)
{
    return control<forms::Timer>(window, "countdown");
}

void tick(QWidget &window, int times)
{
    forms::Timer *countdown = countdownOf(window);
    for (int i = 0; i < times; ++i)
        emit countdown->timer();
}

void press(const QObject &window, const char *name)
{
    if (auto *button = window.findChild<QAbstractButton *>(QString::fromLatin1(name)))
        button->click();
    else
        control<QAction>(window, name)->trigger();
}

QLineEdit *minutesBox(const QWidget &window)
{
    return control<QLineEdit>(window, "minutesBox");
}

forms::Label *minutesLeft(const QWidget &window)
{
    return control<forms::Label>(window, "minutesLeft");
}

forms::Label *secondsLeft(const QWidget &window)
{
    return control<forms::Label>(window, "secondsLeft");
}

forms::MultiLineTextBox *messageText(const QWidget &window)
{
    return control<forms::MultiLineTextBox>(window, "messageText");
}

void holdCountdowns(QWidget &window)
{
    for (forms::Timer *countdown : window.findChildren<forms::Timer *>())
        countdown->setEnabled(false);
}

void closeByWindowSystem(QWidget &window)
{
    QCloseEvent close;
    QCoreApplication::sendEvent(window.windowHandle(), &close);
}

bool settingsOpen(const MainWindow &f, bool open)
{
    const QList<bool> enabledWhenOpen = {
        control<QPushButton>(f, "beginButton")->isEnabled(),
        control<QAction>(f, "beginEntry")->isEnabled(),
        minutesBox(f)->isEnabled(),
        control<forms::OptionButton>(f, "soundKind")->isEnabled(),
        control<forms::OptionButton>(f, "messageBoxKind")->isEnabled(),
        control<forms::OptionButton>(f, "popupKind")->isEnabled(),
        control<QAction>(f, "soundEntry")->isEnabled(),
        control<QAction>(f, "messageBoxEntry")->isEnabled(),
        control<QAction>(f, "popupEntry")->isEnabled()};
    return !enabledWhenOpen.contains(!open)
           && control<QPushButton>(f, "changeButton")->isEnabled() == !open;
}

namespace {

QString bits(std::initializer_list<bool> set)
{
    QString read;
    for (const bool one : set)
        read += QString::number(int(one));
    return read;
}

} // namespace

QString alarmKindShown(const MainWindow &f)
{
    const auto option = [&](const char *name) {
        return control<forms::OptionButton>(f, name)->value();
    };
    const auto entry = [&](const char *name) { return control<QAction>(f, name)->isChecked(); };
    return bits({option("soundKind"), option("messageBoxKind"), option("popupKind")})
           + QStringLiteral(" / ")
           + bits({entry("soundEntry"), entry("messageBoxEntry"), entry("popupEntry")})
           + (control<QAction>(f, "messageEntry")->isEnabled() ? QStringLiteral(" / Message")
                                                               : QString());
}

QString alarmKindShownFor(int kind)
{
    const QString one = bits({kind == 0, kind == 1, kind == 2});
    return one + QStringLiteral(" / ") + one
           + (kind == 2 ? QStringLiteral(" / Message") : QString());
}
