#include "forms/placement/registry.h"

#include "forms/controls/timer.h"
#include "forms/desktop/desktop.h"
#include "forms/placement/monitors.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

namespace forms {

namespace {

QList<Window *> &loadedList()
{
    static QList<Window *> windows;
    return windows;
}

// Whether the program has ended since the last window was loaded.
bool ended = false;

void retire(Window &window)
{
    for (Timer *timer : window.findChildren<Timer *>())
        timer->setEnabled(false);
    window.hide();
    window.deleteLater();
}

} // namespace

void prepareApplication(QApplication &app)
{
    // Hidden windows count as loaded, so the program, not Qt, decides when it has ended.
    app.setQuitOnLastWindowClosed(false);
    // The windows' twips layouts were drawn for an 8-point sans serif of Arial's widths; a
    // font of the same metrics keeps every caption inside its control.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), font.family()});
    font.setPointSizeF(DesignFontPoints);
    QApplication::setFont(font);
    // Monitors come and go while the program runs: once Qt has taken the change in, no window
    // may be left where the user cannot reach it.
    const auto recheck = [] { QTimer::singleShot(0, qApp, &keepWindowsReachable); };
    const auto watch = [recheck](QScreen *screen) {
        QObject::connect(screen, &QScreen::geometryChanged, qApp, recheck);
    };
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    QObject::connect(&app, &QGuiApplication::screenAdded, &app, [watch, recheck](QScreen *screen) {
        watch(screen);
        recheck();
    });
    QObject::connect(&app, &QGuiApplication::screenRemoved, &app, recheck);
    QObject::connect(&app, &QGuiApplication::primaryScreenChanged, &app, recheck);
}

void keepWindowsReachable()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<Window *>(widget)) {
            window->keepReachable();
        } else if (widget->isVisible()) {
            centreIfUnreachable(*widget); // a message box
        }
    }
}

void centreIfUnreachable(QWidget &window)
{
    const QRect frame = window.frameGeometry();
    if (reachable(frame, monitors()))
        return;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        window.move(centredIn(primary->availableGeometry(), frame.size()));
}

void load(Window &window)
{
    ended = false;
    loadedList().append(&window);
    window.Form_Load();
}

Window *findLoaded(const QMetaObject &kind)
{
    for (Window *window : loadedList()) {
        if (window->metaObject() == &kind)
            return window;
    }
    return nullptr;
}

QList<Window *> loadedWindows()
{
    return loadedList();
}

void unload(Window &window)
{
    if (!loadedList().removeOne(&window))
        return;
    retire(window);
    if (loadedList().isEmpty())
        endProgram();
}

void endProgram()
{
    while (!loadedList().isEmpty())
        retire(*loadedList().takeLast());
    if (ended)
        return;
    ended = true;
    Desktop::current().endProgram();
}

} // namespace forms
