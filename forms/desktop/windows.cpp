#include "forms/desktop/platform.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qwindowsysteminterface_p.h>

#include <qt_windows.h>
#include <shellapi.h>

#include <deque>

// The Windows desktop: the shell opens links, the foreground rules decide whether an alarm may
// take the keyboard, and the foreground window tells the monitor the user works on. Windows has
// no virtual desktops a program moves its windows between.
namespace forms::platform {

namespace {

// Qt stamps a key with its own clock as it takes the key's message from the queue, however long
// the message waited there; the message's time (GetMessageTime) is when the key was typed. The
// filter writes both down for each key message Qt takes, and a key Qt then delivers is matched to
// the oldest message of its key that Qt took as it stamped the key.
class KeyMessages : public QObject, public QAbstractNativeEventFilter
{
public:
    explicit KeyMessages(QCoreApplication &app) : QObject(&app)
    {
        app.installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *) override
    {
        const MSG &msg = *static_cast<const MSG *>(message);
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
            return false;
        const Message taken{msg.wParam, msg.lParam, static_cast<quint32>(GetMessageTime()),
                            QWindowSystemInterfacePrivate::eventTime.elapsed()};
        // Qt runs the filters on a message as its event loop takes it, and again as the window
        // procedure gets it, just before it makes the key of it.
        if (!m_messages.empty() && m_messages.back().sameAs(taken))
            m_messages.back().takenAt = taken.takenAt;
        else
            m_messages.push_back(taken);
        if (m_messages.size() > Kept)
            m_messages.pop_front();
        return false;
    }

    std::optional<quint32> typedAt(const QKeyEvent &key)
    {
        const auto stamp = static_cast<qint64>(key.timestamp());
        for (auto message = m_messages.begin(); message != m_messages.end(); ++message) {
            if (message->key != key.nativeVirtualKey() || stamp < message->takenAt
                || stamp - message->takenAt > Slack)
                continue;
            const quint32 typed = message->typed;
            // The shortcut check comes before the key press, with the same stamp.
            if (key.type() == QEvent::KeyPress)
                m_messages.erase(message);
            return typed;
        }
        return std::nullopt;
    }

private:
    struct Message
    {
        WPARAM key;
        LPARAM flags;
        quint32 typed;
        qint64 takenAt; // on Qt's clock
        bool sameAs(const Message &other) const
        {
            return key == other.key && flags == other.flags && typed == other.typed;
        }
    };
    // Enough for a burst of keys that waited while the program was held up.
    static constexpr std::size_t Kept = 256;
    // How much later than the filter Qt may stamp the key, on a busy machine.
    static constexpr qint64 Slack = 100;
    std::deque<Message> m_messages;
};

// Written down from the first alarm on: keys reach the program's queue only once an alarm has
// taken the keyboard, and the alarm asks for the time first.
KeyMessages &keyMessages()
{
    static QPointer<KeyMessages> filter;
    if (!filter)
        filter = new KeyMessages(*qApp);
    return *filter;
}

} // namespace

std::vector<char *> extraArguments(const std::vector<char *> &)
{
    return {};
}

void allowActivation()
{
    // Windows lets a program in the background take the foreground only in some cases, and
    // otherwise flashes its task-bar button: an alarm would wait there unseen. Told to, Qt
    // attaches to the input of the program in front for the moment it activates the window.
    // Where Windows still refuses, the alarm guard asks for attention (FlashWindowEx).
    using QNativeInterface::Private::QWindowsApplication;
    if (auto *windows = qGuiApp->nativeInterface<QWindowsApplication>())
        windows->setWindowActivationBehavior(QWindowsApplication::AlwaysActivateWindow);
}

void bringToCurrentDesktop(QWidget &) { }

std::optional<QRect> focusedWindowFrame()
{
    // The program is aware of each monitor's scale, so the rectangle is in the screen's pixels.
    HWND foreground = GetForegroundWindow();
    RECT frame;
    if (!foreground || !GetWindowRect(foreground, &frame))
        return std::nullopt;
    return QRect(QPoint(frame.left, frame.top), QPoint(frame.right - 1, frame.bottom - 1));
}

std::optional<quint32> windowSystemTime()
{
    keyMessages();
    // The clock of the message times.
    return static_cast<quint32>(GetTickCount());
}

std::optional<quint32> typedAt(const QKeyEvent &key)
{
    return keyMessages().typedAt(key);
}

void prepareUnaskedBox(QMessageBox &) { }

void openLink(const QString &link)
{
    // No owner window, the link's default verb, no parameters, the root of drive C as working
    // directory, and the started program shown normally. The result is not looked at.
    ShellExecuteW(nullptr, nullptr, reinterpret_cast<LPCWSTR>(link.utf16()), nullptr, L"C:\\",
                  SW_SHOWNORMAL);
}

} // namespace forms::platform
