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
#include <canberra.h>
#endif

#ifdef KZB_BENCH_HOOKS
#include <cstdio>
#include <ctime>
#endif

namespace forms {

namespace {
Desktop *installed = nullptr;

// Bench builds only (KZB_BUILD_BENCH): says on stderr when a beep or a message box reaches the
// desktop, on the monotonic clock, so that the bench can time an alarm to the tick that gives
// it, a beep included, which leaves no window to watch.
void traceAlarm([[maybe_unused]] const char *kind)
{
#ifdef KZB_BENCH_HOOKS
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "kzb-bench %s %lld.%09ld\n", kind, static_cast<long long>(now.tv_sec),
                 now.tv_nsec);
#endif
}
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
    traceAlarm("message-box");
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

void SystemDesktop::beep()
{
    traceAlarm("beep");
#ifdef KZB_HAVE_CANBERRA
    // Qt's own beep is silent on Wayland and on many X11 desktops; the sound theme's bell is
    // what the desktop itself plays.
    static ca_context *context = [] {
        ca_context *created = nullptr;
        return ca_context_create(&created) == CA_SUCCESS ? created : nullptr;
    }();
    if (context) {
        for (const char *bell : {"bell-window-system", "bell"}) {
            if (ca_context_play(context, 0, CA_PROP_EVENT_ID, bell, CA_PROP_EVENT_DESCRIPTION,
                                "Break reminder", nullptr) == CA_SUCCESS)
                return;
        }
    }
#endif
    QApplication::beep();
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
