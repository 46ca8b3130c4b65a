#include "forms/desktop.h"

#include "forms/alarmguard.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

#ifdef Q_OS_WIN
#include <QtGui/private/qguiapplication_p.h>

#include <qt_windows.h>
#include <shellapi.h>
#endif

#if defined(KZB_HAVE_XCB) && QT_CONFIG(xcb)
#define KZB_X11_DESKTOPS
#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>
#include <string_view>
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
    if (arrival == Arrival::Unasked && !owner
        && QGuiApplication::platformName() == QStringLiteral("xcb")) {
        // On X11 Qt makes a box of no window a dialog of the program's hidden group leader, and
        // a window manager may keep such a dialog with the group: KWin opens it on the main
        // window's desktop, and minimised while the main window is. The alarm is a window of its
        // own there, still modal. (QMessageBox makes itself a dialog again when its modality is
        // set, so this comes after.)
        box->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    }
    if (arrival == Arrival::Unasked)
        new AlarmGuard(*box);
    return box;
}

void SystemDesktop::messageBox(QWidget *owner, Icon icon, const QString &title, const QString &text,
                               Arrival arrival)
{
    std::unique_ptr<QMessageBox> box = createMessageBox(owner, icon, title, text, arrival);
    const QPointer<QMessageBox> open(box.get());
    // A box that comes while the user works in another program must be seen there.
    QMetaObject::invokeMethod(
        box.get(), [this, &box] { bringToFront(*box); }, Qt::QueuedConnection);
    box->exec();
    // A click queued before the box came can unload its owner while it is open, and the owner
    // takes the box along.
    if (!open)
        static_cast<void>(box.release());
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
    // On Windows the system's default beep (MessageBeep), whose sound the user chose.
    QApplication::beep();
#endif
}

void SystemDesktop::askForAttention(QWidget &window)
{
    // FlashWindowEx on Windows, the urgency hint on X11.
    QApplication::alert(&window);
}

#ifdef KZB_X11_DESKTOPS
namespace {

// The virtual desktops of an EWMH window manager, through the program's own X connection.
class X11Desktops
{
public:
    static std::optional<X11Desktops> of(QWidget &window)
    {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11)
            return std::nullopt;
        X11Desktops desktops(x11->connection(), static_cast<xcb_window_t>(window.winId()));
        if (desktops.m_root == XCB_WINDOW_NONE)
            return std::nullopt;
        return desktops;
    }

    void bringToCurrent()
    {
        const std::optional<uint32_t> current = cardinal(m_root, m_currentDesktop);
        if (!current)
            return; // a window manager without virtual desktops
        const std::optional<uint32_t> state = value(m_window, m_wmState, m_wmState);
        if (!state || *state == WithdrawnState) {
            // Not mapped yet: the window manager reads the desktop as it takes the window on.
            xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, m_wmDesktop,
                                XCB_ATOM_CARDINAL, 32, 1, &*current);
        } else {
            const std::optional<uint32_t> on = cardinal(m_window, m_wmDesktop);
            if (on == current || on == AllDesktops)
                return;
            // A window the window manager has taken on is moved at its request only.
            xcb_client_message_event_t move{};
            move.response_type = XCB_CLIENT_MESSAGE;
            move.format = 32;
            move.window = m_window;
            move.type = m_wmDesktop;
            move.data.data32[0] = *current;
            move.data.data32[1] = FromApplication;
            xcb_send_event(m_connection, 0, m_root,
                           XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY
                               | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                           reinterpret_cast<const char *>(&move));
        }
        xcb_flush(m_connection);
    }

private:
    static constexpr uint32_t WithdrawnState = 0;
    static constexpr uint32_t AllDesktops = 0xFFFFFFFF;
    static constexpr uint32_t FromApplication = 1;

    struct Free
    {
        void operator()(void *reply) const { std::free(reply); }
    };
    template <class T>
    using Reply = std::unique_ptr<T, Free>;

    X11Desktops(xcb_connection_t *connection, xcb_window_t window)
        : m_connection(connection), m_window(window),
          m_currentDesktop(atom("_NET_CURRENT_DESKTOP")), m_wmDesktop(atom("_NET_WM_DESKTOP")),
          m_wmState(atom("WM_STATE"))
    {
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_window), nullptr));
        if (tree)
            m_root = tree->root;
    }

    xcb_atom_t atom(std::string_view name) const
    {
        const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(name.size()), name.data()),
            nullptr));
        return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    // The first value of a window's 32-bit property of the type, if it has one.
    std::optional<uint32_t> value(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const
    {
        const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, property, type, 0, 1),
            nullptr));
        if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) < 4)
            return std::nullopt;
        return *static_cast<const uint32_t *>(xcb_get_property_value(reply.get()));
    }

    std::optional<uint32_t> cardinal(xcb_window_t window, xcb_atom_t property) const
    {
        return value(window, property, XCB_ATOM_CARDINAL);
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_window;
    xcb_window_t m_root = XCB_WINDOW_NONE;
    xcb_atom_t m_currentDesktop;
    xcb_atom_t m_wmDesktop;
    xcb_atom_t m_wmState;
};

} // namespace
#endif

void SystemDesktop::bringToFront(QWidget &window)
{
#ifdef Q_OS_WIN
    // Windows lets a program in the background take the foreground only in some cases, and
    // otherwise flashes its task-bar button: an alarm would wait there unseen. Told to, Qt
    // attaches to the input of the program in front for the moment it activates the window.
    // Where Windows still refuses, the alarm guard asks for attention (FlashWindowEx).
    using QNativeInterface::Private::QWindowsApplication;
    if (auto *windows = qGuiApp->nativeInterface<QWindowsApplication>())
        windows->setWindowActivationBehavior(QWindowsApplication::AlwaysActivateWindow);
#endif
    window.raise();
    window.activateWindow();
}

void SystemDesktop::bringToCurrentDesktop([[maybe_unused]] QWidget &window)
{
#ifdef KZB_X11_DESKTOPS
    if (std::optional<X11Desktops> desktops = X11Desktops::of(window))
        desktops->bringToCurrent();
#endif
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
