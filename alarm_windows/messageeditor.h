#pragma once

#include "forms/placement/window.h"

namespace forms {
class MultiLineTextBox;
} // namespace forms

// The message editor: edits the alarm message that the main window keeps for the pop-up. Ok
// stores it there; Cancel throws the edit away.
class MessageEditor : public forms::Window
{
    Q_OBJECT
public:
    // The longest message, in characters; a line break counts two.
    static constexpr qsizetype MessageLength = 500;

    MessageEditor();

    // The message to edit, shown in place of any edit not stored.
    void setMessage(const QString &message);

private:
    void storeMessage();
    void discard();

    forms::MultiLineTextBox *m_messageText;
};
