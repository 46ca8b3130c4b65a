#include "forms/desktop/platform.h"

#include <QDesktopServices>
#include <QUrl>

namespace forms::platform {

void openLink(const QString &link)
{
    // The desktop's own opener (on X11 and Wayland desktops, xdg-open's choice).
    QDesktopServices::openUrl(QUrl(link));
}

} // namespace forms::platform
