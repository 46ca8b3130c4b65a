#include "forms/desktop/platform.h"

#include <QApplication>

namespace forms::platform {

void bell()
{
    // On Windows the system's default beep (MessageBeep), whose sound the user chose.
    QApplication::beep();
}

} // namespace forms::platform
