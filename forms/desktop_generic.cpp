#include "forms/desktop_platform.h"

#include <QDesktopServices>
#include <QUrl>

// A window system the program knows nothing particular of: Qt's own behaviour throughout.
namespace forms::platform {

void allowActivation() { }

void bringToCurrentDesktop(QWidget &) { }

std::optional<QRect> focusedWindowFrame()
{
    return std::nullopt;
}

void openLink(const QString &link)
{
    QDesktopServices::openUrl(QUrl(link));
}

} // namespace forms::platform
