#pragma once

#include "forms/window.h"

namespace forms {
class CommandButton;
class MultiLineTextBox;
} // namespace forms

// The alarm pop-up: shows the stored message and offers to continue the countdown or stop it.
// It keeps no state but the text it shows; its buttons act on the main window's controls.
class AlarmPopup : public forms::Window
{
    Q_OBJECT
public:
    AlarmPopup();

    forms::MultiLineTextBox *Text1;
    forms::CommandButton *Command1; // Continue Countdown
    forms::CommandButton *Command2; // Stop

    void Command1_Click();
    void Command2_Click();
};
