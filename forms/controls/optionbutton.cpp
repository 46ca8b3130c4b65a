#include "forms/controls/optionbutton.h"

namespace forms {

namespace {

// The caption as it is read: Qt drops only the first "&" of a caption, and a caption may mark
// more than one letter. "&&" stands for a drawn "&".
QString withoutAccessKeys(const QString &caption)
{
    QString read;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i == caption.size())
            break;
        read += caption[i];
    }
    return read;
}

} // namespace

OptionButton::OptionButton(const QString &caption, QWidget *container)
    : QRadioButton(caption, container)
{
    setAccessibleName(withoutAccessKeys(caption));
    // The group is one stop in the tab order, at its selected button; the arrow keys move
    // within it.
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QAbstractButton::toggled, this,
            [this](bool selected) { setFocusPolicy(selected ? Qt::StrongFocus : Qt::ClickFocus); });
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
