#include "forms/desktop/platform.h"

#include <QKeyEvent>

// A window system the program knows nothing particular of: Qt's own behaviour throughout.
namespace forms::platform {

std::vector<char *> extraArguments(const std::vector<char *> &)
{
    return {};
}

void allowActivation() { }

void bringToCurrentDesktop(QWidget &) { }

std::optional<QRect> focusedWindowFrame()
{
    return std::nullopt;
}

std::optional<quint32> windowSystemTime()
{
    return std::nullopt;
}

std::optional<quint32> typedAt(const QKeyEvent &key)
{
    // The platform's own stamp, where it passes one on; 0 is none.
    if (key.timestamp() == 0)
        return std::nullopt;
    return static_cast<quint32>(key.timestamp());
}

void prepareUnaskedBox(QMessageBox &) { }

} // namespace forms::platform
