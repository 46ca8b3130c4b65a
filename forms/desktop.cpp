#include "forms/desktop.h"

#include "forms/alarmguard.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shellapi.h>
#endif

#ifdef KZB_HAVE_CANBERRA
#include <QTimer>

#include <canberra.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#endif

namespace forms {

namespace {
Desktop *installed = nullptr;
} // namespace

Desktop &Desktop::current()
{
    static SystemDesktop system;
    return installed ? *installed : system;
}

void Desktop::install(Desktop *desktop)
{
    installed = desktop;
}

std::unique_ptr<QMessageBox> SystemDesktop::createMessageBox(QWidget *owner, Icon icon,
                                                             const QString &title,
                                                             const QString &text, Arrival arrival)
{
    auto box = std::make_unique<QMessageBox>(
        icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::Warning, title,
        QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")), QMessageBox::Ok,
        owner);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    if (arrival == Arrival::Unasked)
        new AlarmGuard(*box);
    return box;
}

void SystemDesktop::messageBox(QWidget *owner, Icon icon, const QString &title, const QString &text,
                               Arrival arrival)
{
    const std::unique_ptr<QMessageBox> box = createMessageBox(owner, icon, title, text, arrival);
    // A box that comes while the user works in another program must be seen there.
    QMetaObject::invokeMethod(
        box.get(),
        [&box] {
            box->raise();
            box->activateWindow();
        },
        Qt::QueuedConnection);
    box->exec();
}

#ifdef KZB_HAVE_CANBERRA
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
#endif

void SystemDesktop::beep()
{
#ifdef KZB_HAVE_CANBERRA
    // Qt's own beep is silent on Wayland and on many X11 desktops; the sound theme's bell is
    // what the desktop itself plays.
    ThemeBell::instance().ring();
#else
    QApplication::beep();
#endif
}

void SystemDesktop::askForAttention(QWidget &window)
{
    QApplication::alert(&window);
}

void SystemDesktop::openLink(const QString &link)
{
#ifdef Q_OS_WIN
    // No owner window, the link's default verb, no parameters, the root of drive C as working
    // directory, and the started program shown normally. The result is not looked at.
    ShellExecuteW(nullptr, nullptr, reinterpret_cast<LPCWSTR>(link.utf16()), nullptr, L"C:\\",
                  SW_SHOWNORMAL);
#else
    QDesktopServices::openUrl(QUrl(link));
#endif
}

void SystemDesktop::endProgram()
{
    QCoreApplication::exit(0);
}

} // namespace forms
