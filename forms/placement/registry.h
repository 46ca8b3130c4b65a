#pragma once

#include "forms/placement/window.h"

#include <QList>

class QApplication;

namespace forms {

// The program's windows are single instances. A window is created the first time anything refers
// to it, and its load handler runs then; it stays loaded, shown or hidden, until it is unloaded.
// The program ends when its last loaded window is unloaded.

// The size of the font every window's layout was designed for, in points.
inline constexpr qreal DesignFontPoints = 8.25;

// Makes Qt leave the end of the program to the windows, gives every window the design font, and
// keeps the windows reachable while monitors come and go.
void prepareApplication(QApplication &app);

// Registers a newly created window as loaded and runs its load handler.
void load(Window &window);
Window *findLoaded(const QMetaObject &kind);
QList<Window *> loadedWindows();

// The loaded instance, or nullptr; never creates one.
template <class T>
T *loaded()
{
    return static_cast<T *>(findLoaded(T::staticMetaObject));
}

// The one instance, created and loaded (hidden) if it is not loaded.
template <class T>
T &form()
{
    if (T *window = loaded<T>())
        return *window;
    // Owned by the set of loaded windows until unloaded, then deleted by the event loop.
    auto *window = new T;
    load(*window);
    return *window;
}

// Shows the window without waiting for it, creating it first if need be.
template <class T>
T &show()
{
    T &window = form<T>();
    window.showWindow();
    return window;
}

// Hides the window if it is loaded; one that is not stays unloaded. (form<T>() is the window
// created hidden.)
template <class T>
void hide()
{
    if (T *window = loaded<T>())
        window->hide();
}

// Destroys a loaded window with its controls and their contents. Safe inside the window's own
// handlers: the object goes only when control is back in the event loop, and from now on a
// reference creates a fresh window. Its timers stop at once.
void unload(Window &window);

template <class T>
void unload()
{
    if (T *window = loaded<T>())
        unload(*window);
}

// Unloads every window, hidden ones included, and so ends the program: no handler of any window
// runs afterwards.
void unloadAll();

} // namespace forms
