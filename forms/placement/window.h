#pragma once

#include <QPoint>
#include <QWidget>

#include <initializer_list>

class QMenuBar;

namespace forms {

class Unasked;

// A top-level window of the program: a fixed client area sized in twips, an optional menu bar
// above it, and the window's load handler. Windows are created, shown, hidden and unloaded only
// through the functions of forms/placement/registry.h, which keep each window a single instance.
//
// Closing a window with the window system's close command (Alt+F4, the close box) unloads it and
// runs none of the program's handlers.
class Window : public QWidget
{
    Q_OBJECT
public:
    enum class Border {
        FixedSingle, // title bar with a close box; the user cannot resize the window
        None,        // no frame and no title bar: the user can neither move nor resize it
    };

    Window(const QString &caption, int clientWidthTwips, int clientHeightTwips,
           Border border = Border::FixedSingle, Qt::WindowFlags titleBarButtons = {});

    // Controls are placed in the client area, at twips positions relative to it.
    QWidget *client() const { return m_client; }
    QMenuBar *menuBar();

    // Where the window goes when first shown: by default wherever the window system puts it.
    void placeClientAtTwips(int left, int top);
    void centreOnScreen();

    // The keyboard focus order of the controls that take the focus; the first one that can
    // take it has the focus when the window opens.
    void setTabOrder(std::initializer_list<QWidget *> controls);

    // Puts the window back in its place on the primary monitor when the monitors do not show all
    // of it, or a window the window system placed in the middle of it when no monitor shows
    // enough of its title bar for the user to take hold of it: after the monitor it stood on was
    // unplugged, say.
    void keepReachable();

    // Shows the window without waiting for it, restored and in front.
    void showWindow();

    // Makes this an alarm window, which comes unasked: keys the user was typing elsewhere do not
    // press its buttons, and it asks for attention when it cannot take the focus.
    void guardAgainstTyping();

    void setVisible(bool visible) override;

protected:
    // Runs once, when the window is created by its first reference, before it is shown.
    virtual void whenLoaded() { }

    void closeEvent(QCloseEvent *event) override;

private:
    friend void load(Window &window);

    enum class Placement { WindowSystem, Manual, Centred };

    void applyPlacement();

    QWidget *m_client;
    QMenuBar *m_menuBar = nullptr;
    Unasked *m_unasked = nullptr;
    Placement m_placement = Placement::WindowSystem;
    QPoint m_clientPos;
    bool m_placed = false;
};

} // namespace forms
