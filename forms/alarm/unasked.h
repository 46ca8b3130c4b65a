#pragma once

#include <QObject>

class QWidget;

namespace forms {

class AlarmArrival;
class KeyGuard;

// What makes a window an alarm, which comes unasked: it comes to the user (AlarmArrival), the keys
// the user was typing in another program do not press its buttons (KeyGuard), and assistive
// technology hears where its focus is each time it becomes the active window
// (FocusAnnouncement). The alarm pop-up has it through Window::guardAgainstTyping, the alarm's
// message box through the desktop.
class Unasked : public QObject
{
    Q_OBJECT
public:
    // Gives `window` (a top-level widget), which owns them all, the three.
    explicit Unasked(QWidget &window);

    // The program shows the window again while it is on screen: it comes as unasked as the first
    // time.
    void comeAgain();

private:
    KeyGuard *m_keyGuard;
    AlarmArrival *m_arrival;
};

} // namespace forms
