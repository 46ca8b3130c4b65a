#include "forms/alarm/arrival.h"

#include "forms/desktop/desktop.h"
#include "rules/desk.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace forms {

AlarmArrival::AlarmArrival(QWidget &window) : QObject(&window), m_window(window)
{
    m_window.installEventFilter(this);
    m_activationWait.setSingleShot(true);
    m_activationWait.setInterval(ActivationWait);
    connect(&m_activationWait, &QTimer::timeout, this, &AlarmArrival::askForAttentionIfInactive);
}

void AlarmArrival::arrive(bool appearing)
{
    // The alarm comes to the user, not the user to the desktop of the program's other windows,
    // and where they look.
    Desktop::current().bringToCurrentDesktop(m_window);
    comeToUsersMonitor(appearing);
    m_activationWait.start();
}

void AlarmArrival::comeToUsersMonitor(bool appearing)
{
    // With one monitor the alarm goes where the window system puts a new window.
    if (QGuiApplication::screens().size() < 2)
        return;
    const QScreen *screen = Desktop::current().userScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    // One that is on screen already, on that monitor, stays where it is.
    if (!appearing && area.contains(m_window.frameGeometry().center()))
        return;
    // A message box takes its size as it shows; until then its size hint tells it.
    m_window.adjustSize();
    m_window.move(desk::centredIn(area, m_window.frameGeometry().size()));
}

void AlarmArrival::askForAttentionIfInactive()
{
    if (m_window.isVisible() && !m_window.isActiveWindow())
        Desktop::current().askForAttention(m_window);
}

bool AlarmArrival::eventFilter(QObject *watched, QEvent *event)
{
    // Shown by the program, not by the window system for the user (see KeyGuard).
    if (event->type() == QEvent::Show && watched == &m_window && !event->spontaneous())
        arrive(true);
    return QObject::eventFilter(watched, event);
}

} // namespace forms
