#pragma once

#include <QRadioButton>

namespace forms {

// One of a group of option buttons (those sharing a container). Selecting one from code
// deselects the others and raises clicked() at once, exactly as a click by the user does.
class OptionButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit OptionButton(const QString &caption, QWidget *container);

    bool value() const { return isChecked(); }
    void setValue(bool selected);
};

} // namespace forms
