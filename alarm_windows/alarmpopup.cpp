#include "alarm_windows/alarmpopup.h"

#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "shell/named.h"

#include <QIcon>
#include <QLineEdit>

AlarmPopup::AlarmPopup() : forms::Window(QStringLiteral("Window Popup"), 4680, 2865)
{
    setWindowIcon(QIcon(QStringLiteral(":/assets/warning.ico")));
    guardAgainstTyping();

    m_messageText = new forms::MultiLineTextBox(client());
    forms::placeTwips(named(m_messageText, "messageText"), 120, 120, 4455, 2175);
    m_messageText->setLocked(true);
    m_messageText->setMaxLength(MessageEditor::MessageLength);
    m_messageText->setAccessibleName(QStringLiteral("Alarm message"));
    // As the window comes a screen reader reads its title and description, then of the focused
    // box only the line with the caret: the window's description is the whole message.
    connect(m_messageText, &QPlainTextEdit::textChanged, this,
            [this] { setAccessibleDescription(m_messageText->toPlainText()); });

    auto *continueButton =
        new forms::CommandButton(QStringLiteral("&Continue Countdown"), client());
    forms::placeTwips(named(continueButton, "continueButton"), 2640, 2400, 1935, 375);
    connect(continueButton, &QPushButton::clicked, this, &AlarmPopup::continueCountdown);

    auto *stopButton = new forms::CommandButton(QStringLiteral("&Stop"), client());
    forms::placeTwips(named(stopButton, "stopButton"), 1560, 2400, 975, 375);
    connect(stopButton, &QPushButton::clicked, this, &AlarmPopup::stopCountdown);

    setTabOrder({m_messageText, continueButton, stopButton});
}

void AlarmPopup::setMessage(const QString &message)
{
    m_messageText->setText(message);
}

void AlarmPopup::continueCountdown()
{
    // With the main window closed there is no countdown left to continue.
    if (MainWindow *main = forms::loaded<MainWindow>()) {
        // After a Change the minutes box may hold anything; it must pass Begin's checks. The
        // error answers this window's button and belongs to it: the main window may be minimised.
        if (!main->continueCountdown(this))
            return;
    }
    forms::unload(*this);
}

void AlarmPopup::stopCountdown()
{
    if (MainWindow *main = forms::loaded<MainWindow>())
        main->stopCountdown();
    forms::unload(*this);
}
