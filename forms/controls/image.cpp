#include "forms/controls/image.h"

namespace forms {

Image::Image(const QString &picture, QWidget *container, Border border)
    : Label(QString(), container)
{
    setPixmap(QPixmap(picture));
    if (border == Border::Sunken) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    }
}

} // namespace forms
