#include "alarm_windows/messageeditor.h"

#include "countdown/mainwindow.h"
#include "forms/commandbutton.h"
#include "forms/geometry.h"
#include "forms/label.h"
#include "forms/multilinetextbox.h"
#include "forms/windows.h"

#include <QIcon>

MessageEditor::MessageEditor() : forms::Window(QStringLiteral("Message"), 4680, 3105)
{
    setWindowIcon(QIcon(QStringLiteral(":/assets/note.ico")));
    placeClientAtTwips(1950, 2205);

    Label1 = new forms::Label(
        QStringLiteral("This message will be displayed when the alarm goes off:"), client());
    forms::placeTwips(Label1, 120, 120, 4455, 495);

    Text1 = new forms::MultiLineTextBox(client());
    forms::placeTwips(Text1, 120, 360, 4455, 2175);
    Text1->setMaxLength(MessageLength);
    // The prompt names the box for a screen reader.
    Label1->setBuddy(Text1);

    Command1 = new forms::CommandButton(QStringLiteral("&Ok"), client());
    forms::placeTwips(Command1, 2520, 2640, 975, 375);
    connect(Command1, &QPushButton::clicked, this, &MessageEditor::Command1_Click);

    Command2 = new forms::CommandButton(QStringLiteral("&Cancel"), client());
    forms::placeTwips(Command2, 3600, 2640, 975, 375);
    connect(Command2, &QPushButton::clicked, this, &MessageEditor::Command2_Click);

    // The text box is drawn over the lower part of the prompt's box.
    forms::stackFrontToBack({Text1, Label1});
    setTabOrder({Text1, Label1, Command1, Command2});
}

void MessageEditor::Command1_Click()
{
    // The message lives in the main window; with that closed there is nowhere to keep it.
    if (MainWindow *main = forms::loaded<MainWindow>())
        main->Label6->setCaption(Text1->text());
    forms::unload(*this);
}

void MessageEditor::Command2_Click()
{
    forms::unload(*this);
}
