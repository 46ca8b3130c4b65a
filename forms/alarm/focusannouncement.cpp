#include "forms/alarm/focusannouncement.h"

#include <QAccessible>
#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace forms {

FocusAnnouncement::FocusAnnouncement(QWidget &window) : QObject(&window), m_window(window)
{
    m_window.installEventFilter(this);
    // Runs once Qt has handled the activation, after its own announcements of it.
    m_announcement.setSingleShot(true);
    m_announcement.setInterval(0);
    connect(&m_announcement, &QTimer::timeout, this, &FocusAnnouncement::announceFocus);
}

void FocusAnnouncement::announceFocus()
{
    QWidget *focus = QApplication::focusWidget();
    if (!m_window.isActiveWindow() || !focus || focus->window() != &m_window)
        return;
    QAccessibleEvent event(focus, QAccessible::Focus);
    QAccessible::updateAccessibility(&event);
}

bool FocusAnnouncement::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && watched == &m_window)
        m_announcement.start();
    return QObject::eventFilter(watched, event);
}

} // namespace forms
