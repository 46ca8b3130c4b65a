#pragma once

#include "forms/window.h"

namespace forms {
class CommandButton;
class Image;
class Label;
class Timer;
} // namespace forms

// The advertisement shown at start-up just under the main window. It counts 15 seconds down and
// closes itself; its banner and invitation open the advertiser's sign-up page.
class Advertisement : public forms::Window
{
    Q_OBJECT
public:
    Advertisement();

    forms::CommandButton *Command1; // Close
    forms::Timer *Timer1;           // the close countdown
    forms::Label *Label5;
    forms::Label *Label4; // seconds left
    forms::Label *Label3;
    forms::Label *Label1; // the invitation
    forms::Image *Image1; // the banner

    void Timer1_Timer();
    void Label4_Change();
    void Command1_Click();
    void Image1_Click();
    void Label1_Click();
};
