#include "forms/placement/reachable.h"

#include "forms/placement/window.h"
#include "rules/desk.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

namespace forms {

QList<QRect> monitors()
{
    QList<QRect> rects;
    for (const QScreen *screen : QGuiApplication::screens())
        rects.append(screen->geometry());
    return rects;
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

void watchMonitors(QGuiApplication &app)
{
    // The windows are looked at once Qt has taken the change in.
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

void centreIfUnreachable(QWidget &window)
{
    const QRect frame = window.frameGeometry();
    if (desk::reachable(frame, monitors()))
        return;
    if (const QScreen *primary = QGuiApplication::primaryScreen())
        window.move(desk::centredIn(primary->availableGeometry(), frame.size()));
}

} // namespace forms
