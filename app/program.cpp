#include "app/program.h"

#include "countdown/mainwindow.h"
#include "forms/desktop/platform.h"
#include "forms/placement/registry.h"
#include "kzb_version.h"
#include "shell/texts.h"

#include <QApplication>

#include <vector>

int runProgram(int argc, char *argv[])
{
    std::vector<char *> arguments(argv, argv + argc);
    const std::vector<char *> extra = forms::platform::extraArguments(arguments);
    arguments.insert(arguments.end(), extra.begin(), extra.end());
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
