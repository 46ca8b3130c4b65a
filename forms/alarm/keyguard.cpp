#include "forms/alarm/keyguard.h"

#include "forms/desktop/desktop.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

namespace forms {

namespace {

KeyGuard::Clock &clock()
{
    static KeyGuard::Clock installed;
    return installed;
}

std::chrono::milliseconds now()
{
    if (clock())
        return clock()();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

} // namespace

KeyGuard::KeyGuard(QWidget &window) : QObject(&window), m_window(window)
{
    m_window.installEventFilter(this);
}

KeyGuard::~KeyGuard()
{
    standAside();
}

void KeyGuard::setClock(Clock clock)
{
    forms::clock() = std::move(clock);
}

void KeyGuard::arm()
{
    startClocks();
    m_keysStamped = false;
    m_left = false;
    // A window shown again where it already is (the pop-up coming again) is on screen now.
    m_onScreen = isExposed();
    if (!m_holding) {
        m_holding = true;
        // Keys go to whichever control has the focus, so the whole application is watched
        // while the guard holds, and only then.
        qApp->installEventFilter(this);
    }
}

void KeyGuard::standAside()
{
    if (!m_holding)
        return;
    m_holding = false;
    qApp->removeEventFilter(this);
}

void KeyGuard::startClocks()
{
    m_shownAt = m_lastKeyAt = now();
    m_lastTyped = Desktop::current().windowSystemTime();
}

bool KeyGuard::isExposed() const
{
    const QWindow *native = m_window.windowHandle();
    return native && native->isExposed();
}

void KeyGuard::activated()
{
    // Flaps of the activation while the window arrives are the window system's, not the user's.
    if (m_holding && m_left && now() - m_shownAt >= OpenFor)
        standAside();
}

bool KeyGuard::couldPressAButton(const QKeyEvent &key)
{
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Select:
    case Qt::Key_Escape:
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
        return false;
    default:
        // Alt with a letter is an access key; a message box presses a button on its letter
        // alone. Ctrl keys select and copy.
        return (key.modifiers() & Qt::AltModifier) || !(key.modifiers() & Qt::ControlModifier);
    }
}

bool KeyGuard::guards(QObject *receiver) const
{
    const auto *widget = qobject_cast<const QWidget *>(receiver);
    return widget && widget->window() == &m_window;
}

bool KeyGuard::letThrough(const QKeyEvent &key)
{
    if (key.type() == QEvent::KeyRelease)
        return !couldPressAButton(key);
    const std::chrono::milliseconds at = now();
    const std::optional<quint32> typed = Desktop::current().typedAt(key);
    // How long the window has been open is the program's own time: the window stays on screen
    // while the program is held up, and a hold-up can only lengthen it. The pause before the key
    // is the user's, which only the window system's stamps tell.
    const bool settled = at - m_shownAt >= OpenFor && quietBefore(typed, at) >= QuietFor;
    if (key.type() == QEvent::KeyPress)
        keyPressed(typed, at);
    if (settled) {
        standAside();
        return true;
    }
    return !couldPressAButton(key);
}

std::chrono::milliseconds KeyGuard::quietBefore(std::optional<quint32> typed,
                                                std::chrono::milliseconds at) const
{
    const std::chrono::milliseconds handled = at - m_lastKeyAt;
    // A key without a stamp where the others have one is a key Qt handed on again (its
    // accessibility bridge does, once a screen reader has passed on it): no pause of its own.
    if (!typed)
        return m_keysStamped ? std::chrono::milliseconds{0} : handled;
    if (!m_lastTyped)
        return handled;
    // The clock wraps around at 32 bits; a key typed before the alarm came is a negative pause.
    const std::chrono::milliseconds stamped{static_cast<qint32>(*typed - *m_lastTyped)};
    // A clock that stood still while the program handled keys half a second apart keeps no time.
    if (stamped == std::chrono::milliseconds{0} && handled >= QuietFor)
        return handled;
    return stamped;
}

void KeyGuard::keyPressed(std::optional<quint32> typed, std::chrono::milliseconds at)
{
    m_lastKeyAt = at;
    if (!typed)
        return;
    m_keysStamped = true;
    if (!m_lastTyped || static_cast<qint32>(*typed - *m_lastTyped) > 0)
        m_lastTyped = typed;
}

bool KeyGuard::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // Shown by the program: the alarm coming. A window the user restores, or comes back to on
        // another desktop (some window managers minimise windows of desktops not shown), is shown
        // by the window system and is no longer unasked.
        if (watched == &m_window && !event->spontaneous())
            arm();
        break;
    case QEvent::Expose:
        // Seen on the native window, by the whole application's filter while the guard holds.
        if (!m_onScreen && watched == m_window.windowHandle() && isExposed()) {
            m_onScreen = true;
            // The keys typed before it was there were the user's own program's.
            startClocks();
        }
        break;
    case QEvent::WindowActivate:
        if (watched == &m_window)
            activated();
        break;
    case QEvent::WindowDeactivate:
        if (watched == &m_window)
            m_left = true;
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (m_holding && guards(watched) && !letThrough(*static_cast<QKeyEvent *>(event))) {
            // An accepted override keeps the key from reaching any shortcut (access keys).
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace forms
