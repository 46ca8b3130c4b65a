#pragma once

#include "forms/window.h"

class QAction;
class QGroupBox;
class QLineEdit;
class QMenu;

namespace forms {
class CommandButton;
class Label;
class OptionButton;
class Timer;
} // namespace forms

// The main window. Its controls are the program's only state: the configured length, the running
// minutes and seconds (text-held counters), whether the countdown runs, the alarm kind and the
// alarm message. Other windows read and write them directly.
class MainWindow : public forms::Window
{
    Q_OBJECT
public:
    MainWindow();

    // Settings frame.
    QGroupBox *Frame1;
    forms::Label *Label1;
    QLineEdit *Text1;               // minutes box: the configured length
    forms::CommandButton *Command2; // Begin
    forms::CommandButton *Command3; // Change
    forms::OptionButton *Option1;   // alarm: a sound
    forms::OptionButton *Option2;   // alarm: a message box
    forms::OptionButton *Option3;   // alarm: the pop-up window

    // Countdown frame.
    QGroupBox *Frame2;
    forms::Label *Label2;
    forms::Label *Label3; // minutes display
    forms::Label *Label4;
    forms::Label *Label5; // seconds display

    forms::CommandButton *Command1; // Exit
    forms::Label *Label6;           // the stored alarm message; never shown
    forms::Timer *Timer1;           // the countdown, once a second

    QMenu *mnuFile;
    QAction *mnuBegin;
    QAction *mnuChange;
    QAction *mnuHide;
    QAction *mnuSep2;
    QAction *mnuExit;
    QMenu *mnuOptions;
    QAction *mnuSnd;
    QAction *mnuMsgBox;
    QAction *mnuWindow;
    QAction *mnuSep;
    QAction *mnuMessage;
    QMenu *mnuHelp;
    QAction *mnuAbout;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Timer1_Timer();
    void Label5_Change();

    void mnuBegin_Click();
    void mnuChange_Click();
    void mnuMessage_Click();
    void mnuHide_Click();
    void mnuExit_Click();
    void mnuAbout_Click();

    // Begin's checks of the minutes box. A refused box gets its error message, in a box owned by
    // `owner` (the window whose button was pressed), and false. An accepted box's text becomes
    // the length the countdown runs.
    bool minutesBoxAccepted(QWidget *owner);
    // Stops the countdown and enables the settings: the idle layout but for Change.
    void unlockSettings();

protected:
    void Form_Load() override;

private:
    void createSettingsFrame();
    void createCountdownFrame();
    void createMenus();
    void connectAlarmKinds();
    // The one way the alarm kind is chosen, by its option or its Options menu entry: the option
    // selected and its entry checked, the others not.
    void selectAlarmKind(forms::OptionButton *kind);
    // Opens the settings to changes or closes them: the minutes box, Begin (the button and the
    // File menu's entry) and the alarm kind (the options and the Options menu's entries).
    void enableSettings(bool enabled);
    void giveAlarmIfDue();
    // After a sound or message-box alarm the next countdown runs at once, for `length`.
    void restartCountdown(const QString &length);

    // Ticks go on while the alarm's message box is open; they must not open another one.
    bool m_alarmBoxOpen = false;
    // The length of the running countdown: the minutes box as it last passed Begin's checks.
    QString m_acceptedLength;
};
