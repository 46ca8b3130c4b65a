// Renders the program's windows to PNG files, for the README and for looking at layouts without
// a display: QT_QPA_PLATFORM=offscreen kzb-screenshots OUTPUT_DIR
#include "countdown/form1.h"
#include "forms/label.h"
#include "forms/windows.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>

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
    Form1 &main = forms::form<Form1>();
    ok &= save(main, dir, QStringLiteral("main-idle"));

    main.Text1->setText(QStringLiteral("25"));
    main.Command2_Click();
    for (int i = 0; i < 75; ++i)
        main.Timer1_Timer();
    ok &= save(main, dir, QStringLiteral("main-counting"));

    return ok ? 0 : 1;
}
