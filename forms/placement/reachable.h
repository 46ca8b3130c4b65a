#pragma once

#include <QList>
#include <QRect>

class QGuiApplication;
class QWidget;

namespace forms {

// Monitors come and go while the program runs: no window may be left where the user cannot take
// hold of it.

// The rectangles of the monitors the window system has now.
QList<QRect> monitors();

// Brings every window that no monitor shows enough of back on screen (Window::keepReachable);
// runs whenever a monitor is unplugged, added or moved.
void keepWindowsReachable();

// Keeps the windows reachable from now on, whenever a monitor is unplugged, added or moved.
void watchMonitors(QGuiApplication &app);

// A window the user can no longer take hold of by its title bar comes to the middle of the
// primary monitor.
void centreIfUnreachable(QWidget &window);

} // namespace forms
