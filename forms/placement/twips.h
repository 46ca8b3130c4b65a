#pragma once

#include <QRect>
#include <QSize>

#include <initializer_list>

class QWidget;

namespace forms {

// Window and control geometry is written in twips (1/1440 inch). At 96 dots per inch a pixel is
// 15 twips; Qt's high-DPI scaling takes it from there, so a logical pixel is all we compute.
inline constexpr int TwipsPerPixel = 15;

constexpr int pixels(int twips)
{
    return (twips + TwipsPerPixel / 2) / TwipsPerPixel;
}

constexpr QSize sizeFromTwips(int width, int height)
{
    return {pixels(width), pixels(height)};
}

constexpr QRect rectFromTwips(int left, int top, int width, int height)
{
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

// Places a control inside its container's client area.
void placeTwips(QWidget *control, int left, int top, int width, int height);

// Overlapping controls of one container: the first listed lies in front.
void stackFrontToBack(std::initializer_list<QWidget *> controls);

} // namespace forms
