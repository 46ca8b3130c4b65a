#include "forms/alarm/unasked.h"

#include "forms/alarm/arrival.h"
#include "forms/alarm/focusannouncement.h"
#include "forms/alarm/keyguard.h"

#include <QWidget>

namespace forms {

Unasked::Unasked(QWidget &window) : QObject(&window)
{
    m_keyGuard = new KeyGuard(window);
    new FocusAnnouncement(window);
    // Made last, the arrival is the first to see the program show the window: the window is on
    // the user's desktop and monitor before the key guard takes the time it came.
    m_arrival = new AlarmArrival(window);
}

void Unasked::comeAgain()
{
    m_arrival->arrive(false);
    m_keyGuard->arm();
}

} // namespace forms
