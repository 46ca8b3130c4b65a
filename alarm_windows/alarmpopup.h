#pragma once

#include "forms/placement/window.h"

namespace forms {
class MultiLineTextBox;
} // namespace forms

// The alarm pop-up: shows the stored message and offers to continue the countdown or stop it.
// It keeps no state but the text it shows; its buttons ask the main window to act.
class AlarmPopup : public forms::Window
{
    Q_OBJECT
public:
    AlarmPopup();

    void setMessage(const QString &message);

private:
    void continueCountdown();
    void stopCountdown();

    forms::MultiLineTextBox *m_messageText;
};
