#include "forms/desktop/platform.h"

#include <QApplication>
#include <QTimer>

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace forms::platform {

namespace {

// The sound theme's bell, played through the desktop's sound server on a thread of its own. A
// server that takes the connection and then never answers holds libcanberra for half a minute
// and more; the windows must go on counting meanwhile, and the user must still hear a bell. The
// window thread looks for the answer for a second; a refusal, or no answer by then, gives Qt's
// beep instead.
class ThemeBell
{
public:
    // Made once and never destroyed: the thread may still wait on a stalled server when the
    // program ends.
    static ThemeBell &instance()
    {
        static ThemeBell *bell = new ThemeBell;
        return *bell;
    }

    void ring()
    {
        {
            std::lock_guard lock(m_mutex);
            if (m_state == State::Requested || m_state == State::Playing) {
                // The last bell is still stuck in the sound server.
                QApplication::beep();
                return;
            }
            m_state = State::Requested;
        }
        m_wake.notify_one();
        awaitAnswer(++m_ticket, 0);
    }

private:
    enum class State { Idle, Requested, Playing, Played, Refused };
    static constexpr int Looks = 40;
    static constexpr std::chrono::milliseconds LookEvery{25};

    ThemeBell()
    {
        std::thread([this] { run(); }).detach();
    }

    // On the window thread: `looks` times looked already for the answer to request `ticket`.
    void awaitAnswer(unsigned ticket, int looks)
    {
        State state;
        {
            std::lock_guard lock(m_mutex);
            state = m_state;
        }
        if (ticket != m_ticket || state == State::Played)
            return;
        if (state == State::Refused || looks == Looks) {
            QApplication::beep();
            return;
        }
        QTimer::singleShot(LookEvery, qApp,
                           [this, ticket, looks] { awaitAnswer(ticket, looks + 1); });
    }

    void run()
    {
        ca_context *context = nullptr;
        if (ca_context_create(&context) != CA_SUCCESS)
            context = nullptr;
        for (;;) {
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_state == State::Requested; });
                m_state = State::Playing;
            }
            bool heard = false;
            for (const char *bell : {"bell-window-system", "bell"}) {
                if (context
                    && ca_context_play(context, 0, CA_PROP_EVENT_ID, bell,
                                       CA_PROP_EVENT_DESCRIPTION, "Break reminder", nullptr)
                           == CA_SUCCESS) {
                    heard = true;
                    break;
                }
            }
            std::lock_guard lock(m_mutex);
            m_state = heard ? State::Played : State::Refused;
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    State m_state = State::Idle;
    // The window thread's count of bells, to tell the answer it waits for from older ones.
    unsigned m_ticket = 0;
};

} // namespace

void bell()
{
    // Qt's own beep is silent on Wayland and on many X11 desktops; the sound theme's bell is
    // what the desktop itself plays.
    ThemeBell::instance().ring();
}

} // namespace forms::platform
