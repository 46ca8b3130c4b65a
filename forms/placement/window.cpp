#include "forms/placement/window.h"

#include "forms/alarm/unasked.h"
#include "forms/desktop/desktop.h"
#include "forms/placement/reachable.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"

#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QRegion>
#include <QScreen>
#include <QVBoxLayout>

namespace forms {

namespace {

// A plain top-level widget would read as a filler to assistive technology; a Window reads as a
// window.
QAccessibleInterface *windowInterface(const QString &, QObject *object)
{
    if (auto *window = qobject_cast<Window *>(object))
        return new QAccessibleWidget(window, QAccessible::Window);
    return nullptr;
}

Qt::WindowFlags flagsFor(Window::Border border, Qt::WindowFlags titleBarButtons)
{
    if (border == Window::Border::None)
        return Qt::Window | Qt::FramelessWindowHint;
    return Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
           | Qt::WindowCloseButtonHint | titleBarButtons;
}

} // namespace

Window::Window(const QString &caption, int clientWidthTwips, int clientHeightTwips, Border border,
               Qt::WindowFlags titleBarButtons)
    : QWidget(nullptr, flagsFor(border, titleBarButtons)), m_client(new QWidget(this))
{
    static const bool readAsWindows = [] {
        QAccessible::installFactory(windowInterface);
        return true;
    }();
    Q_UNUSED(readAsWindows);
    setWindowTitle(caption);
    m_client->setFixedSize(sizeFromTwips(clientWidthTwips, clientHeightTwips));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(m_client);
}

QMenuBar *Window::menuBar()
{
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(this);
        layout()->setMenuBar(m_menuBar);
    }
    return m_menuBar;
}

void Window::placeClientAtTwips(int left, int top)
{
    m_placement = Placement::Manual;
    m_clientPos = {pixels(left), pixels(top)};
}

void Window::centreOnScreen()
{
    m_placement = Placement::Centred;
}

void Window::setTabOrder(std::initializer_list<QWidget *> controls)
{
    QWidget *previous = nullptr;
    QWidget *first = nullptr;
    for (QWidget *control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        if (!first && control->isEnabled() && (control->focusPolicy() & Qt::TabFocus))
            first = control;
        previous = control;
    }
    if (first)
        first->setFocus(Qt::TabFocusReason);
}

void Window::guardAgainstTyping()
{
    if (!m_unasked)
        m_unasked = new Unasked(*this);
}

void Window::showWindow()
{
    // A window that is open already comes to the front again, as unasked as the first time: to
    // the user's desktop first, so that restoring and activating it does not take the user away.
    if (m_unasked && isVisible())
        m_unasked->comeAgain();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    Desktop::current().bringToFront(*this);
}

void Window::setVisible(bool visible)
{
    if (visible && !m_placed)
        applyPlacement();
    else if (visible && !isVisible())
        keepReachable(); // hidden while a monitor went away
    QWidget::setVisible(visible);
}

void Window::applyPlacement()
{
    m_placed = true;
    if (m_placement == Placement::WindowSystem)
        return;
    if (QLayout *l = layout())
        l->activate();
    // Places are counted from the primary monitor's top-left corner, which is the screen's origin
    // on Windows; elsewhere other monitors may lie left of it or above it.
    const QScreen *primary = QGuiApplication::primaryScreen();
    QPoint clientTopLeft = (primary ? primary->geometry().topLeft() : QPoint()) + m_clientPos;
    if (m_placement == Placement::Centred) {
        const QRect available = primary ? primary->availableGeometry() : QRect();
        clientTopLeft = available.center() - QPoint(width() / 2, height() / 2) + m_client->pos();
    }
    setGeometry(QRect(clientTopLeft - m_client->pos(), size()));
}

void Window::keepReachable()
{
    // A window not shown yet goes to its place when it is.
    if (!m_placed)
        return;
    if (m_placement == Placement::WindowSystem) {
        centreIfUnreachable(*this);
        return;
    }
    // A window the program places goes back to its place unless the monitors show all of it
    // (one the user put across two of them stays): some window managers pull a window that a
    // monitor took away with it to the edge of another, to the width of a title bar's corner.
    QRegion hidden(frameGeometry());
    for (const QRect &monitor : monitors())
        hidden -= monitor;
    if (!hidden.isEmpty())
        applyPlacement();
}

void Window::closeEvent(QCloseEvent *event)
{
    event->accept();
    unload(*this);
}

} // namespace forms
