#include "rules/desk.h"

#include <algorithm>

namespace desk {

namespace {

qint64 area(const QRect &rect)
{
    return rect.isEmpty() ? 0 : qint64(rect.width()) * rect.height();
}

} // namespace

qsizetype userMonitor(const QList<QRect> &monitors, qsizetype primary,
                      const std::optional<QRect> &focusedWindow,
                      const std::optional<QPoint> &pointer)
{
    if (focusedWindow) {
        qsizetype best = -1;
        qint64 shown = 0;
        for (qsizetype i = 0; i < monitors.size(); ++i) {
            const qint64 overlap = area(monitors[i] & *focusedWindow);
            if (overlap > shown) {
                best = i;
                shown = overlap;
            }
        }
        if (best >= 0)
            return best;
    }
    if (pointer) {
        for (qsizetype i = 0; i < monitors.size(); ++i) {
            if (monitors[i].contains(*pointer))
                return i;
        }
    }
    return primary >= 0 && primary < monitors.size() ? primary : 0;
}

QPoint centredIn(const QRect &area, const QSize &size)
{
    const int left = area.left() + (area.width() - size.width()) / 2;
    const int top = area.top() + (area.height() - size.height()) / 2;
    return {std::max(left, area.left()), std::max(top, area.top())};
}

bool reachable(const QRect &frame, const QList<QRect> &monitors, int grip)
{
    const QRect topEdge(frame.left(), frame.top(), frame.width(), std::min(grip, frame.height()));
    return std::any_of(monitors.begin(), monitors.end(), [&](const QRect &monitor) {
        const QRect held = monitor & topEdge;
        return held.width() >= std::min(grip, frame.width()) && held.height() >= topEdge.height();
    });
}

} // namespace desk
