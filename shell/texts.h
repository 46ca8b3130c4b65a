#pragma once

#include <QString>

// Texts that more than one window shows, used by the windows, the screenshot tool and the tests.
namespace texts {

// The program's name: the caption of the main window and of the farewell window, the title of
// the alarm's message box, the application's name.
inline QString caption()
{
    return QStringLiteral("Kelto Zelbo Break");
}

} // namespace texts
