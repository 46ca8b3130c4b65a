#include "alarm_windows/alarmpopup.h"

#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/commandbutton.h"
#include "forms/geometry.h"
#include "forms/label.h"
#include "forms/multilinetextbox.h"
#include "forms/timer.h"
#include "forms/windows.h"

#include <QIcon>
#include <QLineEdit>

AlarmPopup::AlarmPopup() : forms::Window(QStringLiteral("Window Popup"), 4680, 2865)
{
    setWindowIcon(QIcon(QStringLiteral(":/assets/warning.ico")));
    guardAgainstTyping();

    Text1 = new forms::MultiLineTextBox(client());
    forms::placeTwips(Text1, 120, 120, 4455, 2175);
    Text1->setLocked(true);
    Text1->setMaxLength(MessageEditor::MessageLength);
    Text1->setAccessibleName(QStringLiteral("Alarm message"));
    // As the window comes a screen reader reads its title and description, then of the focused
    // box only the line with the caret: the window's description is the whole message.
    connect(Text1, &QPlainTextEdit::textChanged, this,
            [this] { setAccessibleDescription(Text1->toPlainText()); });

    Command1 = new forms::CommandButton(QStringLiteral("&Continue Countdown"), client());
    forms::placeTwips(Command1, 2640, 2400, 1935, 375);
    connect(Command1, &QPushButton::clicked, this, &AlarmPopup::Command1_Click);

    Command2 = new forms::CommandButton(QStringLiteral("&Stop"), client());
    forms::placeTwips(Command2, 1560, 2400, 975, 375);
    connect(Command2, &QPushButton::clicked, this, &AlarmPopup::Command2_Click);

    setTabOrder({Text1, Command1, Command2});
}

void AlarmPopup::Command1_Click()
{
    // With the main window closed there is no countdown left to continue.
    if (MainWindow *main = forms::loaded<MainWindow>()) {
        // After a Change the minutes box may hold anything; it must pass Begin's checks. The
        // error answers this window's button and belongs to it: the main window may be minimised.
        if (!main->minutesBoxAccepted(this))
            return;
        main->Label3->setCaption(main->Text1->text());
        main->Timer1->setEnabled(true);
    }
    forms::unload(*this);
}

void AlarmPopup::Command2_Click()
{
    if (MainWindow *main = forms::loaded<MainWindow>()) {
        main->unlockSettings();
        main->Label5->setCaption(QStringLiteral("0"));
        main->Command3->setEnabled(false);
    }
    forms::unload(*this);
}
