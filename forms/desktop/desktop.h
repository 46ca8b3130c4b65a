#pragma once

#include <QString>

#include <memory>
#include <optional>

class QKeyEvent;
class QMessageBox;
class QScreen;
class QWidget;

namespace forms {

// Everything that blocks the window thread or leaves the process goes through here: modal
// message boxes, the system beep, links handed to the desktop, the requests for the user's
// attention, the virtual desktop and the monitor an alarm comes to, the window system's clock, and
// the end of the program.
// Tests install a recorder in place of the real desktop so that nothing blocks and nothing quits.
class Desktop
{
public:
    enum class Icon { Critical, Exclamation };
    // Whether the box answers the user's own press, or comes unasked (the alarm) and must not be
    // dismissed by keys meant for another program (forms/alarm/unasked.h).
    enum class Arrival { Answer, Unasked };

    virtual ~Desktop() = default;

    // A modal message box with an OK button only; the text is shown as plain text.
    virtual void messageBox(QWidget *owner, Icon icon, const QString &title, const QString &text,
                            Arrival arrival = Arrival::Answer) = 0;
    // The desktop's bell, once.
    virtual void beep() = 0;
    // Hands a web or mail link to the program the user registered for it. Failures are silent.
    virtual void openLink(const QString &link) = 0;
    // Flashes the window's task-bar entry (the urgency hint on X11) until the user activates it.
    virtual void askForAttention(QWidget &window) = 0;
    // Raises the window and gives it the keyboard focus, also while the user works in another
    // program, as far as the window system lets a program do so.
    virtual void bringToFront(QWidget &window) = 0;
    // Puts the window on the virtual desktop the user is on, wherever the program's other windows
    // are: as the window is about to be mapped, or while it is on screen. Where the window system
    // has no virtual desktops, or no say in it, nothing happens.
    virtual void bringToCurrentDesktop(QWidget &window) = 0;
    // The monitor the user works on: the one that shows the window with the keyboard focus,
    // whichever program it belongs to, where the window system tells; else the pointer's; else the
    // primary monitor.
    virtual QScreen *userScreen() = 0;
    // The window system's clock, the one it stamps each key with as it is typed: milliseconds that
    // wrap around at 32 bits. Its time now, asked of the window system; nothing where it cannot be
    // asked.
    virtual std::optional<quint32> windowSystemTime() = 0;
    // When the key was typed, on that clock; nothing where the window system did not stamp it.
    // Asked once for each key press and the shortcut check before it.
    virtual std::optional<quint32> typedAt(const QKeyEvent &key) = 0;
    // Leaves the window thread's event loop; the program then returns from main.
    virtual void leaveEventLoop() = 0;

    static Desktop &current();
    // Makes `desktop` the current one (nullptr restores the real desktop). Not owned.
    static void install(Desktop *desktop);
};

class SystemDesktop : public Desktop
{
public:
    // The box that messageBox() shows, built but not yet shown.
    static std::unique_ptr<QMessageBox> createMessageBox(QWidget *owner, Icon icon,
                                                         const QString &title, const QString &text,
                                                         Arrival arrival = Arrival::Answer);

    void messageBox(QWidget *owner, Icon icon, const QString &title, const QString &text,
                    Arrival arrival) override;
    void askForAttention(QWidget &window) override;
    void bringToFront(QWidget &window) override;
    void bringToCurrentDesktop(QWidget &window) override;
    QScreen *userScreen() override;
    std::optional<quint32> windowSystemTime() override;
    std::optional<quint32> typedAt(const QKeyEvent &key) override;
    void beep() override;
    void openLink(const QString &link) override;
    void leaveEventLoop() override;
};

} // namespace forms
