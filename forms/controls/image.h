#pragma once

#include "forms/controls/label.h"

namespace forms {

// A picture shown at its own size, clickable like a label. With a border, the picture sits
// inside a sunken frame two pixels wide.
class Image : public Label
{
    Q_OBJECT
public:
    enum class Border { None, Sunken };

    Image(const QString &picture, QWidget *container, Border border = Border::None);
};

} // namespace forms
