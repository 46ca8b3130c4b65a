#include "forms/controls/timer.h"

namespace forms {

Timer::Timer(std::chrono::milliseconds interval, QObject *owner)
    : QObject(owner), m_interval(interval)
{
    // One single-shot wake-up per tick, re-armed for the next due time before the tick's
    // handler runs: no drift, and no wake-ups at all while the timer is disabled.
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
    connect(&m_wake, &QTimer::timeout, this, &Timer::fire);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled)
        armFor(Clock::now() + m_interval);
    else
        m_wake.stop();
}

void Timer::armFor(Clock::time_point due)
{
    m_due = due;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now());
    m_wake.start(std::max(wait, std::chrono::milliseconds::zero()));
}

void Timer::fire()
{
    const auto now = Clock::now();
    auto next = m_due + m_interval;
    // Ticks missed by more than a whole interval (a suspended machine, a stalled thread) are
    // dropped rather than delivered in a burst; the cadence restarts from now.
    if (next <= now)
        next = now + m_interval;
    armFor(next);
    emit timer();
}

} // namespace forms
