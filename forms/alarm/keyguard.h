#pragma once

#include <QObject>

#include <chrono>
#include <functional>
#include <optional>

class QKeyEvent;
class QWidget;

namespace forms {

// An alarm window comes unasked, most often while the user is typing in another program, and
// takes the keyboard focus. The guard keeps the keys that were meant for that program from
// pressing the alarm's buttons: until the window has been open for OpenFor and the user has not
// typed for QuietFor, a key that could press a button (Enter, blank, Esc, an access key, any typed
// character) does nothing in it. The window is open from when it is first on screen after the
// program showed it: a busy machine can put it there a second or more later, and until then the
// user typed on in their own program. Copying (Ctrl keys) and moving the focus work throughout,
// mouse clicks at once. Once the guard has let a key through it stands aside until the program
// shows the window again. It stands aside too when the user comes back to the window after leaving
// it (it lost the activation meanwhile) once it has been open for OpenFor: what the user types then
// is meant for it, however recently they typed.
//
// The pause is one in the user's typing, told by the time the window system stamped on each key
// as it was typed, and on the first key by the window system's time when the alarm came. A busy
// machine can leave the program handling nothing for a while, and then the keys typed meanwhile
// in one burst: by when the program handles them, a user who typed on would seem to have paused.
// Where the window system stamps no keys, the keys are timed as the program handles them.
class KeyGuard : public QObject
{
    Q_OBJECT
public:
    static constexpr std::chrono::milliseconds OpenFor{1000};
    static constexpr std::chrono::milliseconds QuietFor{500};

    using Clock = std::function<std::chrono::milliseconds()>;

    // Guards `window` (a top-level widget), which owns the guard; it arms when the window shows.
    explicit KeyGuard(QWidget &window);
    ~KeyGuard() override;

    // The window is coming to the front, on the user's desktop: the user may still be typing.
    void arm();
    bool isHolding() const { return m_holding; }

    // The guard's time, for tests; an empty clock restores the steady clock.
    static void setClock(Clock clock);

    // Whether the key could press one of a window's buttons, or is text typed for elsewhere.
    static bool couldPressAButton(const QKeyEvent &key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool guards(QObject *receiver) const;
    bool letThrough(const QKeyEvent &key);
    std::chrono::milliseconds quietBefore(std::optional<quint32> typed,
                                          std::chrono::milliseconds at) const;
    void keyPressed(std::optional<quint32> typed, std::chrono::milliseconds at);
    void standAside();
    void activated();
    // The window comes: its time open and the user's pause count from now.
    void startClocks();
    bool isExposed() const;

    QWidget &m_window;
    bool m_holding = false;
    // When the window came on screen (until then, when the program showed it), on the program's
    // own steady clock.
    std::chrono::milliseconds m_shownAt{};
    // When the program handled the last key press, on that clock.
    std::chrono::milliseconds m_lastKeyAt{};
    // The latest the user is known to have typed, on the window system's clock: the stamp of the
    // last key press, or the window system's time when the window came on screen.
    std::optional<quint32> m_lastTyped;
    // Whether a key pressed since the window was shown had the window system's stamp.
    bool m_keysStamped = false;
    // Whether the window has been active and lost it since the program showed it.
    bool m_left = false;
    // Whether the window has been on screen since the program showed it.
    bool m_onScreen = false;
};

} // namespace forms
