#include "forms/placement/registry.h"

#include "forms/controls/timer.h"
#include "forms/desktop/desktop.h"
#include "forms/placement/reachable.h"

#include <QApplication>

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
    watchMonitors(app);
}

void load(Window &window)
{
    ended = false;
    loadedList().append(&window);
    window.whenLoaded();
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
        unloadAll();
}

void unloadAll()
{
    while (!loadedList().isEmpty())
        retire(*loadedList().takeLast());
    if (ended)
        return;
    ended = true;
    Desktop::current().leaveEventLoop();
}

} // namespace forms
