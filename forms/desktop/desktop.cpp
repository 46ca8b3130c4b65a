#include "forms/desktop/desktop.h"

#include "forms/alarm/unasked.h"
#include "forms/desktop/platform.h"
#include "rules/desk.h"

#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

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
    if (arrival == Arrival::Unasked) {
        if (!owner)
            platform::prepareUnaskedBox(*box);
        new Unasked(*box);
    }
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

void SystemDesktop::beep()
{
    platform::bell();
}

void SystemDesktop::askForAttention(QWidget &window)
{
    // FlashWindowEx on Windows, the urgency hint on X11.
    QApplication::alert(&window);
}

void SystemDesktop::bringToFront(QWidget &window)
{
    platform::allowActivation();
    window.raise();
    window.activateWindow();
}

void SystemDesktop::bringToCurrentDesktop(QWidget &window)
{
    platform::bringToCurrentDesktop(window);
}

namespace {

// A screen's rectangle in the window system's pixels. Qt keeps each screen's top-left corner where
// the window system has it and scales its size.
QRect nativeGeometry(const QScreen &screen)
{
    const QRect logical = screen.geometry();
    return {logical.topLeft(), logical.size() * screen.devicePixelRatio()};
}

} // namespace

QScreen *SystemDesktop::userScreen()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.size() < 2)
        return QGuiApplication::primaryScreen();
    QList<QRect> monitors;
    for (const QScreen *screen : screens)
        monitors.append(nativeGeometry(*screen));
    std::optional<QPoint> pointer;
    const QPoint cursor = QCursor::pos();
    if (const QScreen *under = QGuiApplication::screenAt(cursor)) {
        const QPoint origin = under->geometry().topLeft();
        pointer = origin + (cursor - origin) * under->devicePixelRatio();
    }
    return screens.value(desk::userMonitor(monitors,
                                           screens.indexOf(QGuiApplication::primaryScreen()),
                                           platform::focusedWindowFrame(), pointer));
}

std::optional<quint32> SystemDesktop::windowSystemTime()
{
    return platform::windowSystemTime();
}

std::optional<quint32> SystemDesktop::typedAt(const QKeyEvent &key)
{
    return platform::typedAt(key);
}

void SystemDesktop::openLink(const QString &link)
{
    platform::openLink(link);
}

void SystemDesktop::leaveEventLoop()
{
    QCoreApplication::exit(0);
}

} // namespace forms
