#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

class QWidget;

namespace forms {

// Each time the program shows an alarm window, the alarm comes to the user: to the virtual
// desktop the user is on and, with more than one monitor, centred on the monitor the user works
// on. When the window system has not made it the active window ActivationWait later, the desktop
// asks for the user's attention on its behalf.
class AlarmArrival : public QObject
{
    Q_OBJECT
public:
    // How long the window system has to activate the window before attention is asked for.
    static constexpr std::chrono::milliseconds ActivationWait{500};

    // Brings `window` (a top-level widget), which owns the arrival, each time the program shows it.
    explicit AlarmArrival(QWidget &window);

    // The window is coming to the front. `appearing`: the program is showing it now, rather than
    // showing it again while on screen.
    void arrive(bool appearing);

    // Asks for attention unless the window is the active window; runs ActivationWait after
    // arrive().
    void askForAttentionIfInactive();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void comeToUsersMonitor(bool appearing);

    QWidget &m_window;
    QTimer m_activationWait;
};

} // namespace forms
