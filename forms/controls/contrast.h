#pragma once

#include <QColor>

#include <optional>

// Whether a text stays readable on its background, as WCAG reckons it: the relative luminance of
// two colours gives their contrast ratio, from 1:1 (the same colour) to 21:1 (black on white).
namespace forms::contrast {

// What WCAG's AA level asks of text of the windows' size.
inline constexpr double Readable = 4.5;

// From 0 (black) to 1 (white), of the sRGB colour as the screen shows it.
double relativeLuminance(const QColor &colour);

// The lighter colour's luminance against the darker's, from 1 to 21, whichever is the text.
double ratio(const QColor &a, const QColor &b);

// The colour a text designed in `designed` is shown in on `background`: the designed colour where
// it reaches Readable; else, for a link, the style's own link colour `styleLink` where that is
// readable and of the designed colour's hue; else the lighter or darker shade of the designed
// colour's hue and saturation nearest to it that reaches Readable. Every colour returned has 8
// bits a channel, as the screen shows it.
QColor readable(const QColor &designed, const QColor &background,
                std::optional<QColor> styleLink = std::nullopt);

} // namespace forms::contrast
