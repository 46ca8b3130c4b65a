#include "forms/controls/commandbutton.h"

namespace forms {

CommandButton::CommandButton(const QString &caption, QWidget *container)
    : QPushButton(caption, container)
{
    setAutoDefault(true);
    setFocusPolicy(Qt::StrongFocus);
}

} // namespace forms
