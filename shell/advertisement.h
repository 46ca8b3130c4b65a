#pragma once

#include "forms/placement/window.h"

namespace forms {
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

private:
    void tick();
    void secondsChanged();
    void dismiss();

    forms::Label *m_secondsLeft;
    forms::Timer *m_countdown;
};
