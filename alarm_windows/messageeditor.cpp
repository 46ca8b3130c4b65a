#include "alarm_windows/messageeditor.h"

#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "shell/named.h"

#include <QIcon>

MessageEditor::MessageEditor() : forms::Window(QStringLiteral("Message"), 4680, 3105)
{
    setWindowIcon(QIcon(QStringLiteral(":/assets/note.ico")));
    placeClientAtTwips(1950, 2205);

    auto *prompt = new forms::Label(
        QStringLiteral("This message will be displayed when the alarm goes off:"), client());
    forms::placeTwips(named(prompt, "prompt"), 120, 120, 4455, 495);

    m_messageText = new forms::MultiLineTextBox(client());
    forms::placeTwips(named(m_messageText, "messageText"), 120, 360, 4455, 2175);
    m_messageText->setMaxLength(MessageLength);
    // The prompt names the box for a screen reader.
    prompt->setBuddy(m_messageText);

    auto *okButton = new forms::CommandButton(QStringLiteral("&Ok"), client());
    forms::placeTwips(named(okButton, "okButton"), 2520, 2640, 975, 375);
    connect(okButton, &QPushButton::clicked, this, &MessageEditor::storeMessage);

    auto *cancelButton = new forms::CommandButton(QStringLiteral("&Cancel"), client());
    forms::placeTwips(named(cancelButton, "cancelButton"), 3600, 2640, 975, 375);
    connect(cancelButton, &QPushButton::clicked, this, &MessageEditor::discard);

    // The text box is drawn over the lower part of the prompt's box.
    forms::stackFrontToBack({m_messageText, prompt});
    setTabOrder({m_messageText, prompt, okButton, cancelButton});
}

void MessageEditor::setMessage(const QString &message)
{
    m_messageText->setText(message);
}

void MessageEditor::storeMessage()
{
    // The message lives in the main window; with that closed there is nowhere to keep it.
    if (MainWindow *main = forms::loaded<MainWindow>())
        main->setAlarmMessage(m_messageText->text());
    forms::unload(*this);
}

void MessageEditor::discard()
{
    forms::unload(*this);
}
