#pragma once

#include <QPushButton>

namespace forms {

// A command button. No window has a default button; Enter presses the button that has the focus,
// which Qt's push buttons outside dialogs do only when told to.
class CommandButton : public QPushButton
{
    Q_OBJECT
public:
    explicit CommandButton(const QString &caption, QWidget *container);
};

} // namespace forms
