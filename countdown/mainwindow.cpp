#include "countdown/mainwindow.h"

#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/counter.h"
#include "countdown/minutesbox.h"
#include "forms/commandbutton.h"
#include "forms/desktop.h"
#include "forms/geometry.h"
#include "forms/label.h"
#include "forms/multilinetextbox.h"
#include "forms/optionbutton.h"
#include "forms/timer.h"
#include "forms/windows.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/farewellwindow.h"
#include "shell/texts.h"

#include <QAction>
#include <QGroupBox>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include <utility>

using namespace std::chrono_literals;

namespace {

const QString ErrorTitle = QStringLiteral("Error");
const QString CheckTheBoxMessage = QStringLiteral("Please check the minutes box and try again!");
const QString ZeroMessage = QStringLiteral("You can not put a zero in the minutes box!");

constexpr int MinutesBoxLength = 4;

// `ran` is the length of the countdown that just ended, `next` the length of the one that starts.
QString alarmText(const QString &ran, const QString &next)
{
    const QString lineBreak = QStringLiteral("\r\n");
    return QStringLiteral("It has been ") + ran + QStringLiteral(" minute(s).") + lineBreak
           + lineBreak + QStringLiteral("Your next break will be in ") + next
           + QStringLiteral(" minute(s).") + lineBreak + lineBreak
           + QStringLiteral("Click OK to continue the countdown for your next break.");
}

} // namespace

MainWindow::MainWindow()
    : forms::Window(texts::caption(), 3015, 4290, Border::FixedSingle, Qt::WindowMinimizeButtonHint)
{
    setWindowIcon(QIcon(QStringLiteral(":/assets/stopwatch.ico")));
    placeClientAtTwips(1260, 1650);

    createSettingsFrame();
    createCountdownFrame();

    Command1 = new forms::CommandButton(QStringLiteral("E&xit"), client());
    forms::placeTwips(Command1, 960, 3840, 975, 375);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);

    Label6 = new forms::Label(QString(), client());
    forms::placeTwips(Label6, 2520, 3840, 375, 375);
    Label6->setBackColor(Qt::black);
    Label6->setForeColor(Qt::white);
    Label6->setVisible(false);

    Timer1 = new forms::Timer(1000ms, this);
    Timer1->setObjectName(QStringLiteral("countdown"));
    connect(Timer1, &forms::Timer::timer, this, &MainWindow::Timer1_Timer);

    createMenus();
    connectAlarmKinds();

    setTabOrder({Command1, Text1, Command2, Command3, Option1, Option2, Option3});
}

void MainWindow::createSettingsFrame()
{
    Frame1 = new QGroupBox(QStringLiteral("Zelbo Break"), client());
    forms::placeTwips(Frame1, 120, 120, 2775, 2295);

    Label1 = new forms::Label(QStringLiteral("Minutes:"), Frame1);
    forms::placeTwips(Label1, 240, 360, 2415, 375);

    Text1 = new QLineEdit(QStringLiteral("10"), Frame1);
    Text1->setMaxLength(MinutesBoxLength);
    m_acceptedLength = Text1->text();
    forms::placeTwips(Text1, 240, 600, 2295, 285);
    // Read as the minutes box, not as the frame around it.
    Label1->setBuddy(Text1);

    Command2 = new forms::CommandButton(QStringLiteral("&Begin"), Frame1);
    forms::placeTwips(Command2, 240, 960, 1095, 375);
    connect(Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);

    Command3 = new forms::CommandButton(QStringLiteral("&Change"), Frame1);
    forms::placeTwips(Command3, 1440, 960, 1095, 375);
    Command3->setEnabled(false);
    connect(Command3, &QPushButton::clicked, this, &MainWindow::Command3_Click);

    Option1 = new forms::OptionButton(QStringLiteral("&Make a sound"), Frame1);
    forms::placeTwips(Option1, 240, 1440, 2055, 255);
    Option2 = new forms::OptionButton(QStringLiteral("&M&essage Box"), Frame1);
    forms::placeTwips(Option2, 240, 1680, 2055, 255);
    Option3 = new forms::OptionButton(QStringLiteral("&Window Popup (best)"), Frame1);
    forms::placeTwips(Option3, 240, 1920, 2055, 255);
}

void MainWindow::createCountdownFrame()
{
    Frame2 = new QGroupBox(QStringLiteral("Next zelbo break"), client());
    forms::placeTwips(Frame2, 120, 2640, 2775, 1095);

    Label2 = new forms::Label(QStringLiteral("Minutes:"), Frame2);
    forms::placeTwips(Label2, 240, 360, 2175, 255);
    Label3 = new forms::Label(QStringLiteral("0"), Frame2);
    forms::placeTwips(Label3, 960, 360, 1455, 255);
    Label4 = new forms::Label(QStringLiteral("Seconds:"), Frame2);
    forms::placeTwips(Label4, 240, 720, 2175, 255);
    Label5 = new forms::Label(QStringLiteral("0"), Frame2);
    forms::placeTwips(Label5, 1080, 720, 1335, 255);
    // A screen reader hears the bare numbers; these say which is which.
    Label3->setAccessibleDescription(QStringLiteral("Minutes left"));
    Label5->setAccessibleDescription(QStringLiteral("Seconds left"));
    connect(Label5, &forms::Label::changed, this, &MainWindow::Label5_Change);

    // The values lie in front of the wider captions and stay readable.
    forms::stackFrontToBack({Label5, Label4, Label3, Label2});
}

void MainWindow::createMenus()
{
    mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuBegin = mnuFile->addAction(QStringLiteral("&Begin"), this, &MainWindow::mnuBegin_Click);
    mnuChange = mnuFile->addAction(QStringLiteral("&Change"), this, &MainWindow::mnuChange_Click);
    mnuHide = mnuFile->addAction(QStringLiteral("Hi&de"), this, &MainWindow::mnuHide_Click);
    mnuSep2 = mnuFile->addSeparator();
    mnuExit = mnuFile->addAction(QStringLiteral("E&xit"), this, &MainWindow::mnuExit_Click);

    mnuOptions = menuBar()->addMenu(QStringLiteral("&Options"));
    mnuSnd = mnuOptions->addAction(QStringLiteral("&Make a sound when alarm goes off"));
    mnuMsgBox = mnuOptions->addAction(QStringLiteral("&Show a message box when alarm goes off"));
    mnuWindow = mnuOptions->addAction(QStringLiteral("&Use a pop-up window when alarm goes off"));
    mnuSep = mnuOptions->addSeparator();
    mnuMessage =
        mnuOptions->addAction(QStringLiteral("M&essage"), this, &MainWindow::mnuMessage_Click);

    mnuHelp = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuAbout = mnuHelp->addAction(QStringLiteral("&About"), this, &MainWindow::mnuAbout_Click);
}

void MainWindow::connectAlarmKinds()
{
    const std::pair<forms::OptionButton *, QAction *> kinds[] = {
        {Option1, mnuSnd}, {Option2, mnuMsgBox}, {Option3, mnuWindow}};
    for (const auto &[option, entry] : kinds) {
        // Check marks of their own, kept in step by selectAlarmKind: an exclusive action group
        // would draw them as option buttons.
        entry->setCheckable(true);
        connect(option, &QRadioButton::clicked, this, [this, option = option](bool selected) {
            if (selected)
                selectAlarmKind(option);
        });
        // A checked entry is unchecked by the trigger before this runs; it is checked again.
        connect(entry, &QAction::triggered, this,
                [this, option = option] { selectAlarmKind(option); });
    }
    selectAlarmKind(Option3);
}

void MainWindow::selectAlarmKind(forms::OptionButton *kind)
{
    kind->setChecked(true);
    mnuSnd->setChecked(kind == Option1);
    mnuMsgBox->setChecked(kind == Option2);
    mnuWindow->setChecked(kind == Option3);
    // The message is the pop-up's alone.
    mnuMessage->setEnabled(kind == Option3);
}

void MainWindow::enableSettings(bool enabled)
{
    mnuBegin->setEnabled(enabled);
    Text1->setEnabled(enabled);
    for (forms::OptionButton *kind : {Option1, Option2, Option3})
        kind->setEnabled(enabled);
    for (QAction *kind : {mnuSnd, mnuMsgBox, mnuWindow})
        kind->setEnabled(enabled);
    // Last: a Begin button that has the focus hands it on to the next control that takes it,
    // Change once the countdown runs.
    Command2->setEnabled(enabled);
}

void MainWindow::Form_Load()
{
    forms::show<Advertisement>();
}

void MainWindow::Command1_Click()
{
    forms::unload<AboutWindow>();
    forms::show<FarewellWindow>();
    // The farewell window's load hid the About window, creating it again; none may remain.
    forms::unload<AboutWindow>();
    forms::unload(*this);
}

bool MainWindow::minutesBoxAccepted(QWidget *owner)
{
    switch (minutesbox::check(Text1->text())) {
    case minutesbox::Verdict::Start:
        m_acceptedLength = Text1->text();
        return true;
    case minutesbox::Verdict::CheckTheBox:
        forms::Desktop::current().messageBox(owner, forms::Desktop::Icon::Critical, ErrorTitle,
                                             CheckTheBoxMessage);
        return false;
    case minutesbox::Verdict::Zero:
        forms::Desktop::current().messageBox(owner, forms::Desktop::Icon::Critical, ErrorTitle,
                                             ZeroMessage);
        return false;
    }
    return false;
}

void MainWindow::Command2_Click()
{
    if (!minutesBoxAccepted(this))
        return;
    Label3->setCaption(Text1->text());
    Label5->setCaption(QStringLiteral("59"));
    Timer1->setEnabled(true);
    Command3->setEnabled(true);
    enableSettings(false);
}

void MainWindow::unlockSettings()
{
    Timer1->setEnabled(false);
    enableSettings(true);
}

void MainWindow::Command3_Click()
{
    unlockSettings();
    Command3->setEnabled(false);
}

void MainWindow::Timer1_Timer()
{
    Label5->setCaption(counter::decrement(Label5->caption()));
    giveAlarmIfDue();
}

void MainWindow::giveAlarmIfDue()
{
    const QString due = QStringLiteral("0");
    if (Label3->caption() == due && Option3->value()) {
        AlarmPopup &popup = forms::show<AlarmPopup>();
        popup.Text1->setText(Label6->caption());
        Timer1->setEnabled(false);
    }
    if (Label3->caption() == due && Option2->value() && !m_alarmBoxOpen) {
        const QString ran = m_acceptedLength;
        const QString next = minutesbox::lengthAtAlarm(Text1->text(), m_acceptedLength);
        m_alarmBoxOpen = true;
        // No owner: the box must show even while the main window is minimised.
        forms::Desktop::current().messageBox(nullptr, forms::Desktop::Icon::Exclamation,
                                             texts::caption(), alarmText(ran, next),
                                             forms::Desktop::Arrival::Unasked);
        m_alarmBoxOpen = false;
        restartCountdown(next);
    }
    if (Label3->caption() == due && Option1->value()) {
        forms::Desktop::current().beep();
        restartCountdown(minutesbox::lengthAtAlarm(Text1->text(), m_acceptedLength));
    }
}

void MainWindow::restartCountdown(const QString &length)
{
    m_acceptedLength = length;
    Label3->setCaption(length);
}

void MainWindow::Label5_Change()
{
    if (Label5->caption() != QStringLiteral("-1"))
        return;
    Label3->setCaption(counter::decrement(Label3->caption()));
    Label5->setCaption(QStringLiteral("59"));
}

void MainWindow::mnuBegin_Click()
{
    Command2_Click();
}

void MainWindow::mnuChange_Click()
{
    Command3_Click();
}

void MainWindow::mnuHide_Click()
{
    setWindowState(windowState() | Qt::WindowMinimized);
}

void MainWindow::mnuExit_Click()
{
    Command1_Click();
}

void MainWindow::mnuAbout_Click()
{
    forms::show<AboutWindow>();
}

void MainWindow::mnuMessage_Click()
{
    MessageEditor &editor = forms::show<MessageEditor>();
    editor.Text1->setText(Label6->caption());
}
