#include "forms/desktop_platform.h"

#include <QGuiApplication>
#include <QtGui/private/qguiapplication_p.h>

#include <qt_windows.h>
#include <shellapi.h>

// The Windows desktop: the shell opens links, the foreground rules decide whether an alarm may
// take the keyboard, and the foreground window tells the monitor the user works on. Windows has
// no virtual desktops a program moves its windows between.
namespace forms::platform {

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

void openLink(const QString &link)
{
    // No owner window, the link's default verb, no parameters, the root of drive C as working
    // directory, and the started program shown normally. The result is not looked at.
    ShellExecuteW(nullptr, nullptr, reinterpret_cast<LPCWSTR>(link.utf16()), nullptr, L"C:\\",
                  SW_SHOWNORMAL);
}

} // namespace forms::platform
