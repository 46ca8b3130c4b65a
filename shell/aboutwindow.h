#pragma once

#include "forms/placement/window.h"

// The About window: the program, its maker, its version and the maker's contact details. The
// maker's e-mail address opens the mail link.
class AboutWindow : public forms::Window
{
    Q_OBJECT
public:
    AboutWindow();

private:
    void dismiss();
};
