#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace forms {

// A window's periodic timer. Enabling it starts a fresh interval; while enabled, the N-th tick
// falls due N intervals after enabling, measured on the steady clock, so a long countdown does
// not drift by the time its handlers take. A tick that falls due while a handler is still
// running (a modal message box, say) is delivered inside it, as the desktop delivers timer
// messages to a modal loop.
class Timer : public QObject
{
    Q_OBJECT
public:
    Timer(std::chrono::milliseconds interval, QObject *owner);

    std::chrono::milliseconds interval() const { return m_interval; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

signals:
    void timer();

private:
    using Clock = std::chrono::steady_clock;

    void armFor(Clock::time_point due);
    void fire();

    std::chrono::milliseconds m_interval;
    bool m_enabled = false;
    Clock::time_point m_due;
    QTimer m_wake;
};

} // namespace forms
