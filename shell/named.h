#pragma once

#include <QObject>
#include <QString>

// Names a window's control for its role: its object name, by which the tests and the screenshot
// tool find it, as no window hands its controls out.
template <class Control>
Control *named(Control *control, const char *role)
{
    control->setObjectName(QString::fromLatin1(role));
    return control;
}
