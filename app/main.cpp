#include "countdown/form1.h"
#include "forms/windows.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kelto Zelbo Break"));
    QApplication::setApplicationVersion(QStringLiteral("2.00"));
    // Task bars and window managers find the icon and name through the desktop file.
    QGuiApplication::setDesktopFileName(QStringLiteral(KZB_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/stopwatch.ico")));
    forms::prepareApplication(app);

    // The program starts by creating its main window, whose load handler opens the side windows
    // it needs; the main window appears after that.
    forms::show<Form1>();
    const int code = app.exec();

    // Windows unloaded on the way out are deleted here, before the application object goes.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
