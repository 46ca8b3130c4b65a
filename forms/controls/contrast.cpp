#include "forms/controls/contrast.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace forms::contrast {

namespace {

double linear(float channel)
{
    return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// The colour with 8 bits a channel, as it reaches the screen.
QColor onScreen(const QColor &colour)
{
    return QColor::fromRgb(colour.rgb());
}

// The style's link colour passes for the designed one when its hue lies within this many degrees
// of it: a light blue for a blue link, not a violet or a green.
constexpr int HueTolerance = 30;

bool sameHueFamily(const QColor &a, const QColor &b)
{
    const int ha = a.hslHue(), hb = b.hslHue();
    if (ha < 0 || hb < 0)
        return ha == hb;
    const int apart = std::abs(ha - hb) % 360;
    return std::min(apart, 360 - apart) <= HueTolerance;
}

} // namespace

double relativeLuminance(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
           + 0.0722 * linear(rgb.blueF());
}

double ratio(const QColor &a, const QColor &b)
{
    const double la = relativeLuminance(a), lb = relativeLuminance(b);
    const double darker = std::min(la, lb), lighter = std::max(la, lb);
    return (lighter + 0.05) / (darker + 0.05);
}

QColor readable(const QColor &designed, const QColor &background, std::optional<QColor> styleLink)
{
    const QColor shown = onScreen(designed);
    if (ratio(shown, background) >= Readable)
        return shown;
    if (styleLink && ratio(onScreen(*styleLink), background) >= Readable
        && sameHueFamily(*styleLink, designed))
        return onScreen(*styleLink);

    // Within one hue and saturation, every channel grows with the lightness, and so does the
    // luminance: the readable shades lie beyond one lightness towards white, or towards black.
    // Each way is halved down to that lightness; the nearer of the ways that reach is taken. One
    // way always reaches: the lighter the background, the less white gives against it and the
    // more black does, and the two are equal, at about 4.58, on a mid grey.
    const QColor hsl = designed.toHsl();
    const float hue = std::max(hsl.hslHueF(), 0.0f), saturation = hsl.hslSaturationF();
    const float designedLightness = hsl.lightnessF();
    auto shade = [&](float lightness) {
        return onScreen(QColor::fromHslF(hue, saturation, lightness));
    };
    QColor nearest;
    float nearestDistance = 2;
    for (const float end : {1.0f, 0.0f}) {
        if (ratio(shade(end), background) < Readable)
            continue;
        float unreadable = designedLightness, reaching = end;
        for (int step = 0; step < 20; ++step) {
            const float middle = (unreadable + reaching) / 2;
            (ratio(shade(middle), background) >= Readable ? reaching : unreadable) = middle;
        }
        const float distance = std::abs(reaching - designedLightness);
        if (distance < nearestDistance) {
            nearest = shade(reaching);
            nearestDistance = distance;
        }
    }
    return nearest;
}

} // namespace forms::contrast
