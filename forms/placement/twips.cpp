#include "forms/placement/twips.h"

#include <QWidget>

#include <ranges>

namespace forms {

void placeTwips(QWidget *control, int left, int top, int width, int height)
{
    control->setGeometry(rectFromTwips(left, top, width, height));
}

void stackFrontToBack(std::initializer_list<QWidget *> controls)
{
    for (QWidget *control : controls | std::views::reverse)
        control->raise();
}

} // namespace forms
