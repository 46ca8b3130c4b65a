#pragma once

#include "forms/placement/window.h"

#include <QString>

class QAction;
class QLineEdit;

namespace forms {
class CommandButton;
class Label;
class OptionButton;
class Timer;
} // namespace forms

// The main window. Its controls and the alarm message are the program's only state: the
// configured length, the running minutes and seconds (text-held counters), whether the countdown
// runs and the alarm kind. The alarm pop-up and the message editor ask it for what they need.
class MainWindow : public forms::Window
{
    Q_OBJECT
public:
    MainWindow();

    // The alarm pop-up's Continue Countdown: the countdown runs on, from the minutes box's length
    // and the seconds where they stand, once the box passes Begin's checks. A refused box gets
    // its error message in a box owned by `errorOwner`, the window whose button was pressed, and
    // false.
    bool continueCountdown(QWidget *errorOwner);
    // The alarm pop-up's Stop: the countdown stops with the seconds at 0 and the settings open.
    void stopCountdown();

    // The message the pop-up shows, as the message editor stored it.
    QString alarmMessage() const { return m_alarmMessage; }
    void setAlarmMessage(const QString &message);

protected:
    // The load brings up the advertisement.
    void whenLoaded() override;

private:
    void createSettingsFrame();
    void createCountdownFrame();
    void createMenus();
    void connectAlarmKinds();

    void begin();
    void change();
    void exitProgram();
    void minimise();
    void showAbout();
    void editMessage();
    void tick();
    void secondsChanged();

    // The one way the alarm kind is chosen, by its option or its Options menu entry: the option
    // selected and its entry checked, the others not.
    void selectAlarmKind(forms::OptionButton *kind);
    // Opens the settings to changes or closes them: the minutes box, Begin (the button and the
    // File menu's entry) and the alarm kind (the options and the Options menu's entries).
    void enableSettings(bool enabled);
    // Begin's checks of the minutes box. A refused box gets its error message, in a box owned by
    // `owner`, and false. An accepted box's text becomes the length the countdown runs.
    bool minutesBoxAccepted(QWidget *owner);
    void giveAlarmIfDue();
    // After a sound or message-box alarm the next countdown runs at once, for `length`.
    void restartCountdown(const QString &length);

    QLineEdit *m_minutesBox;
    forms::CommandButton *m_beginButton;
    forms::CommandButton *m_changeButton;
    forms::OptionButton *m_soundKind;
    forms::OptionButton *m_messageBoxKind;
    forms::OptionButton *m_popupKind;
    forms::Label *m_minutesLeft;
    forms::Label *m_secondsLeft;
    forms::Timer *m_countdown; // once a second
    QAction *m_beginEntry;
    QAction *m_soundEntry;
    QAction *m_messageBoxEntry;
    QAction *m_popupEntry;
    QAction *m_messageEntry;

    QString m_alarmMessage;
    // Ticks go on while the alarm's message box is open; they must not open another one.
    bool m_alarmBoxOpen = false;
    // The length of the running countdown: the minutes box as it last passed Begin's checks.
    QString m_acceptedLength;
};
