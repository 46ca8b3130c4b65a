#include "countdown/mainwindow.h"

#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/optionbutton.h"
#include "forms/controls/timer.h"
#include "forms/desktop/desktop.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "rules/counter.h"
#include "rules/minutesbox.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/farewellwindow.h"
#include "shell/named.h"
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

    auto *exitButton = new forms::CommandButton(QStringLiteral("E&xit"), client());
    forms::placeTwips(named(exitButton, "exitButton"), 960, 3840, 975, 375);
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::exitProgram);

    m_countdown = named(new forms::Timer(1000ms, this), "countdown");
    connect(m_countdown, &forms::Timer::timer, this, &MainWindow::tick);

    createMenus();
    connectAlarmKinds();

    setTabOrder({exitButton, m_minutesBox, m_beginButton, m_changeButton, m_soundKind,
                 m_messageBoxKind, m_popupKind});
}

void MainWindow::createSettingsFrame()
{
    auto *frame = new QGroupBox(QStringLiteral("Zelbo Break"), client());
    forms::placeTwips(named(frame, "settingsFrame"), 120, 120, 2775, 2295);

    auto *caption = new forms::Label(QStringLiteral("Minutes:"), frame);
    forms::placeTwips(named(caption, "minutesBoxCaption"), 240, 360, 2415, 375);

    m_minutesBox = new QLineEdit(QStringLiteral("10"), frame);
    m_minutesBox->setMaxLength(MinutesBoxLength);
    m_acceptedLength = m_minutesBox->text();
    forms::placeTwips(named(m_minutesBox, "minutesBox"), 240, 600, 2295, 285);
    // Read as the minutes box, not as the frame around it.
    caption->setBuddy(m_minutesBox);

    m_beginButton = new forms::CommandButton(QStringLiteral("&Begin"), frame);
    forms::placeTwips(named(m_beginButton, "beginButton"), 240, 960, 1095, 375);
    connect(m_beginButton, &QPushButton::clicked, this, &MainWindow::begin);

    m_changeButton = new forms::CommandButton(QStringLiteral("&Change"), frame);
    forms::placeTwips(named(m_changeButton, "changeButton"), 1440, 960, 1095, 375);
    m_changeButton->setEnabled(false);
    connect(m_changeButton, &QPushButton::clicked, this, &MainWindow::change);

    m_soundKind = new forms::OptionButton(QStringLiteral("&Make a sound"), frame);
    forms::placeTwips(named(m_soundKind, "soundKind"), 240, 1440, 2055, 255);
    m_messageBoxKind = new forms::OptionButton(QStringLiteral("&M&essage Box"), frame);
    forms::placeTwips(named(m_messageBoxKind, "messageBoxKind"), 240, 1680, 2055, 255);
    m_popupKind = new forms::OptionButton(QStringLiteral("&Window Popup (best)"), frame);
    forms::placeTwips(named(m_popupKind, "popupKind"), 240, 1920, 2055, 255);
}

void MainWindow::createCountdownFrame()
{
    auto *frame = new QGroupBox(QStringLiteral("Next zelbo break"), client());
    forms::placeTwips(named(frame, "countdownFrame"), 120, 2640, 2775, 1095);

    auto *minutesCaption = new forms::Label(QStringLiteral("Minutes:"), frame);
    forms::placeTwips(named(minutesCaption, "minutesLeftCaption"), 240, 360, 2175, 255);
    m_minutesLeft = new forms::Label(QStringLiteral("0"), frame);
    forms::placeTwips(named(m_minutesLeft, "minutesLeft"), 960, 360, 1455, 255);
    auto *secondsCaption = new forms::Label(QStringLiteral("Seconds:"), frame);
    forms::placeTwips(named(secondsCaption, "secondsLeftCaption"), 240, 720, 2175, 255);
    m_secondsLeft = new forms::Label(QStringLiteral("0"), frame);
    forms::placeTwips(named(m_secondsLeft, "secondsLeft"), 1080, 720, 1335, 255);
    // A screen reader hears the bare numbers; these say which is which.
    m_minutesLeft->setAccessibleDescription(QStringLiteral("Minutes left"));
    m_secondsLeft->setAccessibleDescription(QStringLiteral("Seconds left"));
    connect(m_secondsLeft, &forms::Label::changed, this, &MainWindow::secondsChanged);

    // The values lie in front of the wider captions and stay readable.
    forms::stackFrontToBack({m_secondsLeft, secondsCaption, m_minutesLeft, minutesCaption});
}

void MainWindow::createMenus()
{
    QMenu *file = named(menuBar()->addMenu(QStringLiteral("&File")), "fileMenu");
    m_beginEntry =
        named(file->addAction(QStringLiteral("&Begin"), this, &MainWindow::begin), "beginEntry");
    named(file->addAction(QStringLiteral("&Change"), this, &MainWindow::change), "changeEntry");
    named(file->addAction(QStringLiteral("Hi&de"), this, &MainWindow::minimise), "hideEntry");
    file->addSeparator();
    named(file->addAction(QStringLiteral("E&xit"), this, &MainWindow::exitProgram), "exitEntry");

    QMenu *options = named(menuBar()->addMenu(QStringLiteral("&Options")), "optionsMenu");
    m_soundEntry = named(options->addAction(QStringLiteral("&Make a sound when alarm goes off")),
                         "soundEntry");
    m_messageBoxEntry =
        named(options->addAction(QStringLiteral("&Show a message box when alarm goes off")),
              "messageBoxEntry");
    m_popupEntry =
        named(options->addAction(QStringLiteral("&Use a pop-up window when alarm goes off")),
              "popupEntry");
    options->addSeparator();
    m_messageEntry =
        named(options->addAction(QStringLiteral("M&essage"), this, &MainWindow::editMessage),
              "messageEntry");

    QMenu *help = named(menuBar()->addMenu(QStringLiteral("&Help")), "helpMenu");
    named(help->addAction(QStringLiteral("&About"), this, &MainWindow::showAbout), "aboutEntry");
}

void MainWindow::connectAlarmKinds()
{
    const std::pair<forms::OptionButton *, QAction *> kinds[] = {
        {m_soundKind, m_soundEntry},
        {m_messageBoxKind, m_messageBoxEntry},
        {m_popupKind, m_popupEntry}};
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
    selectAlarmKind(m_popupKind);
}

void MainWindow::selectAlarmKind(forms::OptionButton *kind)
{
    kind->setChecked(true);
    m_soundEntry->setChecked(kind == m_soundKind);
    m_messageBoxEntry->setChecked(kind == m_messageBoxKind);
    m_popupEntry->setChecked(kind == m_popupKind);
    // The message is the pop-up's alone.
    m_messageEntry->setEnabled(kind == m_popupKind);
}

void MainWindow::enableSettings(bool enabled)
{
    m_beginEntry->setEnabled(enabled);
    m_minutesBox->setEnabled(enabled);
    for (forms::OptionButton *kind : {m_soundKind, m_messageBoxKind, m_popupKind})
        kind->setEnabled(enabled);
    for (QAction *kind : {m_soundEntry, m_messageBoxEntry, m_popupEntry})
        kind->setEnabled(enabled);
    // Last: a Begin button that has the focus hands it on to the next control that takes it,
    // Change once the countdown runs.
    m_beginButton->setEnabled(enabled);
}

void MainWindow::whenLoaded()
{
    forms::show<Advertisement>();
}

void MainWindow::exitProgram()
{
    forms::unload<AboutWindow>();
    forms::show<FarewellWindow>();
    forms::unload(*this);
}

bool MainWindow::minutesBoxAccepted(QWidget *owner)
{
    switch (minutesbox::check(m_minutesBox->text())) {
    case minutesbox::Verdict::Start:
        m_acceptedLength = m_minutesBox->text();
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

bool MainWindow::continueCountdown(QWidget *errorOwner)
{
    if (!minutesBoxAccepted(errorOwner))
        return false;
    m_minutesLeft->setCaption(m_minutesBox->text());
    m_countdown->setEnabled(true);
    return true;
}

void MainWindow::begin()
{
    // As Continue Countdown, from a whole minute and with the settings closed.
    if (!continueCountdown(this))
        return;
    m_secondsLeft->setCaption(QStringLiteral("59"));
    m_changeButton->setEnabled(true);
    enableSettings(false);
}

void MainWindow::change()
{
    m_countdown->setEnabled(false);
    enableSettings(true);
    m_changeButton->setEnabled(false);
}

void MainWindow::stopCountdown()
{
    change();
    m_secondsLeft->setCaption(QStringLiteral("0"));
}

void MainWindow::tick()
{
    m_secondsLeft->setCaption(counter::decrement(m_secondsLeft->caption()));
    giveAlarmIfDue();
}

void MainWindow::giveAlarmIfDue()
{
    const QString due = QStringLiteral("0");
    if (m_minutesLeft->caption() == due && m_popupKind->value()) {
        forms::show<AlarmPopup>().setMessage(m_alarmMessage);
        m_countdown->setEnabled(false);
    }
    if (m_minutesLeft->caption() == due && m_messageBoxKind->value() && !m_alarmBoxOpen) {
        const QString ran = m_acceptedLength;
        const QString next = minutesbox::lengthAtAlarm(m_minutesBox->text(), m_acceptedLength);
        m_alarmBoxOpen = true;
        // No owner: the box must show even while the main window is minimised.
        forms::Desktop::current().messageBox(nullptr, forms::Desktop::Icon::Exclamation,
                                             texts::caption(), alarmText(ran, next),
                                             forms::Desktop::Arrival::Unasked);
        m_alarmBoxOpen = false;
        restartCountdown(next);
    }
    if (m_minutesLeft->caption() == due && m_soundKind->value()) {
        forms::Desktop::current().beep();
        restartCountdown(minutesbox::lengthAtAlarm(m_minutesBox->text(), m_acceptedLength));
    }
}

void MainWindow::restartCountdown(const QString &length)
{
    m_acceptedLength = length;
    m_minutesLeft->setCaption(length);
}

void MainWindow::secondsChanged()
{
    if (m_secondsLeft->caption() != QStringLiteral("-1"))
        return;
    m_minutesLeft->setCaption(counter::decrement(m_minutesLeft->caption()));
    m_secondsLeft->setCaption(QStringLiteral("59"));
}

void MainWindow::minimise()
{
    setWindowState(windowState() | Qt::WindowMinimized);
}

void MainWindow::showAbout()
{
    forms::show<AboutWindow>();
}

void MainWindow::editMessage()
{
    forms::show<MessageEditor>().setMessage(m_alarmMessage);
}

void MainWindow::setAlarmMessage(const QString &message)
{
    m_alarmMessage = message;
}
