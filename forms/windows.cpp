#include "forms/windows.h"

#include "forms/desktop.h"
#include "forms/timer.h"

#include <QApplication>

namespace forms {

namespace {

QList<Window *> &loadedList()
{
    static QList<Window *> windows;
    return windows;
}

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
    QFont font = QApplication::font();
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
}

void load(Window &window)
{
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
        Desktop::current().endProgram();
}

void endProgram()
{
    while (!loadedList().isEmpty())
        retire(*loadedList().takeLast());
    Desktop::current().endProgram();
}

} // namespace forms
