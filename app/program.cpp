#include "app/program.h"

#include "countdown/mainwindow.h"
#include "forms/windows.h"
#include "kzb_version.h"
#include "shell/texts.h"

#include <QApplication>

#include <algorithm>
#include <cstring>
#include <vector>

int runProgram(int argc, char *argv[])
{
    std::vector<char *> arguments(argv, argv + argc);
#if defined(Q_OS_LINUX)
    // Under a Wayland session a native Wayland window can neither choose its place nor come to
    // the front by itself, and an alarm must do both; XWayland lets it. Native Wayland remains
    // for sessions without XWayland. A platform the user chose is left alone, and the choice is
    // an argument, not the environment, so that the programs a link opens do not inherit it.
    char platformOption[] = "-platform";
    char platforms[] = "xcb;wayland";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && std::find_if(arguments.begin(), arguments.end(), [](const char *a) {
               return std::strcmp(a, "-platform") == 0;
           }) == arguments.end()) {
        arguments.push_back(platformOption);
        arguments.push_back(platforms);
    }
#endif
    int count = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    QApplication app(count, arguments.data());
    QApplication::setApplicationName(texts::caption());
    QApplication::setApplicationVersion(QStringLiteral(KZB_VERSION_TEXT));
    // Task bars and window managers find the program's icon and name through the desktop file.
    // No window icon is set for the whole program: the windows that have one set their own, and
    // the advertisement and the farewell picture have none.
    QGuiApplication::setDesktopFileName(QStringLiteral(KZB_APP_ID));
    forms::prepareApplication(app);

    // The program starts by creating its main window, whose load handler opens the side windows
    // it needs; the main window appears after that.
    forms::show<MainWindow>();
    const int code = app.exec();

    // Windows unloaded on the way out are deleted here, before the application object goes.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
