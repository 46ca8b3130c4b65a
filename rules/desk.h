#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// Rules for the monitors of a desk, without widgets: rectangles in one coordinate system, the
// primary monitor given by its index.
namespace desk {

// The monitor the user works on: the one that shows most of the window with the keyboard focus,
// where the window system tells which window that is; else the one under the pointer; else the
// primary. A window or pointer that lies on no monitor tells nothing.
qsizetype userMonitor(const QList<QRect> &monitors, qsizetype primary,
                      const std::optional<QRect> &focusedWindow,
                      const std::optional<QPoint> &pointer);

// Where a window of `size` goes to stand centred in `area`; one larger than the area keeps its
// top-left corner, and so its title bar, inside.
QPoint centredIn(const QRect &area, const QSize &size);

// Whether the user can still take hold of a window with this frame: a piece of its top edge, where
// the title bar is, at least `grip` pixels wide and high, lies on one of the monitors.
bool reachable(const QRect &frame, const QList<QRect> &monitors, int grip = 24);

} // namespace desk
