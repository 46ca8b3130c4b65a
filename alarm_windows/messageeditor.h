#pragma once

#include "forms/window.h"

namespace forms {
class CommandButton;
class Label;
class MultiLineTextBox;
} // namespace forms

// The message editor: edits the alarm message that the main window stores in its hidden label.
class MessageEditor : public forms::Window
{
    Q_OBJECT
public:
    // The longest message, in characters; a line break counts two.
    static constexpr qsizetype MessageLength = 500;

    MessageEditor();

    forms::Label *Label1;
    forms::MultiLineTextBox *Text1;
    forms::CommandButton *Command1; // Ok
    forms::CommandButton *Command2; // Cancel

    void Command1_Click();
    void Command2_Click();
};
