#include "forms/optionbutton.h"

namespace forms {

OptionButton::OptionButton(const QString &caption, QWidget *container)
    : QRadioButton(caption, container)
{
    // The group is one stop in the tab order, at its selected button; the arrow keys move
    // within it.
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QAbstractButton::toggled, this, [this](bool selected) {
        setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus);
    });
}

void OptionButton::setValue(bool selected)
{
    if (selected == isChecked())
        return;
    if (selected) {
        setChecked(true);
        emit clicked(true);
        return;
    }
    // Qt refuses to clear the selected button of an exclusive group; the program may leave a
    // group with none selected, so the exclusivity is lifted for the moment of the change.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}

} // namespace forms
