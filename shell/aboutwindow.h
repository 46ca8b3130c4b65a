#pragma once

#include "forms/window.h"

namespace forms {
class CommandButton;
class Image;
class Label;
} // namespace forms

// The About window: the program, its maker, its version and the maker's contact details.
class AboutWindow : public forms::Window
{
    Q_OBJECT
public:
    AboutWindow();

    forms::CommandButton *Command1; // Ok
    forms::Label *Label2;           // the maker's e-mail address: opens the mail link
    forms::Label *Label7;           // version
    forms::Label *Label3;           // freeware
    forms::Label *Label1;           // program and maker
    forms::Label *Label6;           // messenger number
    forms::Label *Label5;
    forms::Label *Label4;
    forms::Image *Image1;

    void Command1_Click();
    void Label2_Click();
};
