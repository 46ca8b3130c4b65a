#pragma once

#include <QRect>
#include <QString>

#include <optional>
#include <vector>

class QKeyEvent;
class QMessageBox;
class QWidget;

// What the desktop does differently on each window system. Each platform has a file of its own
// that defines these, chosen when the program is built: x11.cpp, windows.cpp, or generic.cpp where
// neither applies; the bell in bell_canberra.cpp or bell_system.cpp; and the link opener in
// windows.cpp, or link_desktopservices.cpp elsewhere.
namespace forms::platform {

// The arguments the program adds to its command line, `arguments`, before Qt reads it.
std::vector<char *> extraArguments(const std::vector<char *> &arguments);

// Lets the window that is brought to the front next take the foreground from another program,
// where the window system asks a program for that first.
void allowActivation();

// Puts the window on the virtual desktop the user is on (see Desktop::bringToCurrentDesktop).
void bringToCurrentDesktop(QWidget &window);

// The frame of the window that has the keyboard focus, whichever program it belongs to, in the
// window system's own pixels; nothing where the window system does not tell.
std::optional<QRect> focusedWindowFrame();

// The window system's time now, on the clock it stamps keys with (see Desktop::windowSystemTime).
std::optional<quint32> windowSystemTime();

// When the key was typed, on that clock (see Desktop::typedAt).
std::optional<quint32> typedAt(const QKeyEvent &key);

// Readies a message box that comes unasked (the alarm) and has no owner window, once its modality
// is set.
void prepareUnaskedBox(QMessageBox &box);

// Hands a web or mail link to the program the user registered for it.
void openLink(const QString &link);

// The desktop's bell, once, without blocking the window thread.
void bell();

} // namespace forms::platform
