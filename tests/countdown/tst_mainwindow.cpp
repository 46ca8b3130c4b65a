#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/optionbutton.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "shell/texts.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

const QString CheckTheBox = QStringLiteral("Please check the minutes box and try again!");
const QString Zero = QStringLiteral("You can not put a zero in the minutes box!");

// The enabled states that tell the idle layout from the running one: every control of the
// layout has the state `idle` gives it, and the timer runs exactly when the window is not idle.
bool hasLayout(const MainWindow &f, bool idle)
{
    return settingsOpen(f, idle) && countdownOf(f)->isEnabled() == !idle;
}

bool isIdle(const MainWindow &f)
{
    return hasLayout(f, true);
}

bool isRunning(const MainWindow &f)
{
    return hasLayout(f, false);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startsIdleWithItsDesignValues();
    void windowIsFixedAndPlaced();
    void controlsStandAtTheirPlaces_data();
    void controlsStandAtTheirPlaces();
    void valuesLieInFrontOfCaptions();
    void menuBarAsDesigned();
    void focusStartsOnExitAndTabsInOrder();
    void minutesBoxRefusesFifthCharacter();
    void storedMessageIsNeverShown();
    void alarmKindKeepsItsControlsInStep_data();
    void alarmKindKeepsItsControlsInStep();

    void beginChecksTheMinutesBox_data();
    void beginChecksTheMinutesBox();
    void fileBeginGivesTheSameMessages();
    void beginButtonByKeyboard();

    void oneMinuteCountdownSequence();
    void displayKeepsTypedSpellingUntilFirstRollover();
    void secondsRolloverFromAnyPath();
    void unreadableMinutesStandStill();
    void changeFreezesTheDisplays();
    void fileChangeWhenIdleChangesNothing();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestMainWindow::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestMainWindow::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestMainWindow::startsIdleWithItsDesignValues()
{
    MainWindow &f = forms::form<MainWindow>();
    // The program's name as it reads, once; other tests compare with texts::caption().
    QCOMPARE(f.windowTitle(), QStringLiteral("Kelto Zelbo Break"));
    QCOMPARE(texts::caption(), f.windowTitle());
    QCOMPARE(control<QGroupBox>(f, "settingsFrame")->title(), QStringLiteral("Zelbo Break"));
    QCOMPARE(control<QGroupBox>(f, "countdownFrame")->title(), QStringLiteral("Next zelbo break"));
    QCOMPARE(control<forms::Label>(f, "minutesBoxCaption")->caption(), QStringLiteral("Minutes:"));
    QCOMPARE(minutesBox(f)->text(), QStringLiteral("10"));
    auto *exit = control<QPushButton>(f, "exitButton");
    auto *begin = control<QPushButton>(f, "beginButton");
    auto *change = control<QPushButton>(f, "changeButton");
    auto *sound = control<forms::OptionButton>(f, "soundKind");
    auto *messageBox = control<forms::OptionButton>(f, "messageBoxKind");
    auto *popup = control<forms::OptionButton>(f, "popupKind");
    QCOMPARE(begin->text(), QStringLiteral("&Begin"));
    QCOMPARE(change->text(), QStringLiteral("&Change"));
    QCOMPARE(sound->text(), QStringLiteral("&Make a sound"));
    QCOMPARE(messageBox->text(), QStringLiteral("&M&essage Box"));
    QCOMPARE(popup->text(), QStringLiteral("&Window Popup (best)"));
    QCOMPARE(control<forms::Label>(f, "minutesLeftCaption")->caption(), QStringLiteral("Minutes:"));
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("0"));
    QCOMPARE(control<forms::Label>(f, "secondsLeftCaption")->caption(), QStringLiteral("Seconds:"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("0"));
    QCOMPARE(exit->text(), QStringLiteral("E&xit"));
    QCOMPARE(f.alarmMessage(), QString());

    QVERIFY(!sound->value());
    QVERIFY(!messageBox->value());
    QVERIFY(popup->value());
    QVERIFY(isIdle(f));
    QCOMPARE(countdownOf(f)->interval(), std::chrono::milliseconds(1000));
    QVERIFY(control<QAction>(f, "messageEntry")->isEnabled());
    QVERIFY(exit->isEnabled());
    QVERIFY(!exit->isDefault() && !begin->isDefault() && !change->isDefault());
}

void TestMainWindow::windowIsFixedAndPlaced()
{
    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    QCOMPARE(f.client()->size(), forms::sizeFromTwips(3015, 4290));
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QVERIFY(f.menuBar()->isVisible());
    QVERIFY(f.client()->y() >= f.menuBar()->height());
    QCOMPARE(f.client()->mapToGlobal(QPoint(0, 0)), QPoint(84, 110));
    QVERIFY(!f.windowIcon().isNull());
}

void TestMainWindow::controlsStandAtTheirPlaces_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");

    auto row = [](const char *name, const char *container, int l, int t, int w, int h) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(container)
                            << QRect(l, t, w, h);
    };
    row("settingsFrame", "window", 120, 120, 2775, 2295);
    row("minutesBoxCaption", "settingsFrame", 240, 360, 2415, 375);
    row("minutesBox", "settingsFrame", 240, 600, 2295, 285);
    row("beginButton", "settingsFrame", 240, 960, 1095, 375);
    row("changeButton", "settingsFrame", 1440, 960, 1095, 375);
    row("soundKind", "settingsFrame", 240, 1440, 2055, 255);
    row("messageBoxKind", "settingsFrame", 240, 1680, 2055, 255);
    row("popupKind", "settingsFrame", 240, 1920, 2055, 255);
    row("countdownFrame", "window", 120, 2640, 2775, 1095);
    row("minutesLeftCaption", "countdownFrame", 240, 360, 2175, 255);
    row("minutesLeft", "countdownFrame", 960, 360, 1455, 255);
    row("secondsLeftCaption", "countdownFrame", 240, 720, 2175, 255);
    row("secondsLeft", "countdownFrame", 1080, 720, 1335, 255);
    row("exitButton", "window", 960, 3840, 975, 375);
}

void TestMainWindow::controlsStandAtTheirPlaces()
{
    QFETCH(QString, name);
    QFETCH(QString, container);
    QFETCH(QRect, twips);

    const MainWindow &f = forms::form<MainWindow>();
    QWidget *widget = control(f, qPrintable(name));
    QCOMPARE(widget->parentWidget(), container == QStringLiteral("window")
                                         ? f.client()
                                         : control(f, qPrintable(container)));
    QCOMPARE(widget->geometry(),
             forms::rectFromTwips(twips.x(), twips.y(), twips.width(), twips.height()));
}

void TestMainWindow::valuesLieInFrontOfCaptions()
{
    MainWindow &f = forms::form<MainWindow>();
    const QPoint inMinutesValue = minutesLeft(f)->geometry().center();
    const QPoint inSecondsValue = secondsLeft(f)->geometry().center();
    QWidget *frame = control(f, "countdownFrame");
    QWidget *minutesCaption = control(f, "minutesLeftCaption");
    QCOMPARE(frame->childAt(inMinutesValue), minutesLeft(f));
    QCOMPARE(frame->childAt(inSecondsValue), secondsLeft(f));
    QCOMPARE(frame->childAt(minutesCaption->geometry().topLeft() + QPoint(2, 2)), minutesCaption);
}

void TestMainWindow::menuBarAsDesigned()
{
    MainWindow &f = forms::form<MainWindow>();
    auto captions = [](QMenu *menu) {
        QStringList list;
        for (QAction *action : menu->actions())
            list.append(action->isSeparator() ? QStringLiteral("-") : action->text());
        return list;
    };
    QCOMPARE(f.menuBar()->actions().size(), 3);
    QCOMPARE(control<QMenu>(f, "fileMenu")->title(), QStringLiteral("&File"));
    QCOMPARE(control<QMenu>(f, "optionsMenu")->title(), QStringLiteral("&Options"));
    QCOMPARE(control<QMenu>(f, "helpMenu")->title(), QStringLiteral("&Help"));
    QCOMPARE(captions(control<QMenu>(f, "fileMenu")),
             QStringList({QStringLiteral("&Begin"), QStringLiteral("&Change"),
                          QStringLiteral("Hi&de"), QStringLiteral("-"), QStringLiteral("E&xit")}));
    QCOMPARE(captions(control<QMenu>(f, "optionsMenu")),
             QStringList({QStringLiteral("&Make a sound when alarm goes off"),
                          QStringLiteral("&Show a message box when alarm goes off"),
                          QStringLiteral("&Use a pop-up window when alarm goes off"),
                          QStringLiteral("-"), QStringLiteral("M&essage")}));
    QCOMPARE(captions(control<QMenu>(f, "helpMenu")), QStringList(QStringLiteral("&About")));

    QVERIFY(!control<QAction>(f, "soundEntry")->isChecked());
    QVERIFY(!control<QAction>(f, "messageBoxEntry")->isChecked());
    QVERIFY(control<QAction>(f, "popupEntry")->isChecked());
    for (const char *name : {"beginEntry", "changeEntry", "hideEntry", "exitEntry", "soundEntry",
                             "messageBoxEntry", "popupEntry", "messageEntry", "aboutEntry"}) {
        QAction *entry = control<QAction>(f, name);
        QVERIFY2(entry->isEnabled(), qPrintable(entry->text()));
    }
}

void TestMainWindow::focusStartsOnExitAndTabsInOrder()
{
    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QWidget *exit = control(f, "exitButton");
    QCOMPARE(QApplication::focusWidget(), exit);

    // Change is disabled while idle, and the option group is one stop, at its selected button.
    auto *popup = control<forms::OptionButton>(f, "popupKind");
    const QList<QWidget *> expected = {minutesBox(f), control(f, "beginButton"), popup, exit};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }

    // Inside the group the arrow keys move the selection, raising the option's click.
    auto *messageBox = control<forms::OptionButton>(f, "messageBoxKind");
    popup->setFocus();
    QSignalSpy clicks(messageBox, &QRadioButton::clicked);
    QTest::keyClick(popup, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), messageBox);
    QVERIFY(messageBox->value());
    QCOMPARE(clicks.size(), 1);
    QTest::keyClick(messageBox, Qt::Key_Tab);
    QTest::keyClick(exit, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), messageBox);
}

void TestMainWindow::minutesBoxRefusesFifthCharacter()
{
    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    minutesBox(f)->clear();
    minutesBox(f)->setFocus();
    QTest::keyClicks(minutesBox(f), QStringLiteral("12345"));
    QCOMPARE(minutesBox(f)->text(), QStringLiteral("1234"));

    minutesBox(f)->clear();
    QApplication::clipboard()->setText(QStringLiteral("987654"));
    minutesBox(f)->paste();
    QCOMPARE(minutesBox(f)->text(), QStringLiteral("9876"));
}

void TestMainWindow::storedMessageIsNeverShown()
{
    MainWindow &f = forms::show<MainWindow>();
    const QString message = QStringLiteral("Stretch your legs");
    f.setAlarmMessage(message);
    press(f, "beginButton");
    QCOMPARE(f.alarmMessage(), message);
    // No control of the main window holds it: it is the pop-up's to show.
    QStringList shown;
    for (const QLabel *label : f.findChildren<QLabel *>())
        shown.append(label->text());
    for (const QLineEdit *box : f.findChildren<QLineEdit *>())
        shown.append(box->text());
    QVERIFY2(!shown.contains(message), qPrintable(shown.join(QStringLiteral(" | "))));
}

void TestMainWindow::alarmKindKeepsItsControlsInStep_data()
{
    QTest::addColumn<QStringList>("chosenBy");
    QTest::addColumn<int>("kind");
    // Entries are triggered, options clicked, one after the other from the fresh window's pop-up.
    const auto row = [](const char *name, QStringList chosenBy, int kind) {
        QTest::newRow(name) << chosenBy << kind;
    };
    row("sound entry", {QStringLiteral("soundEntry")}, 0);
    row("message box option", {QStringLiteral("messageBoxKind")}, 1);
    row("pop-up entry, already chosen", {QStringLiteral("popupEntry")}, 2);
    row("sound entry, then pop-up option",
        {QStringLiteral("soundEntry"), QStringLiteral("popupKind")}, 2);
    row("message box option, then its entry",
        {QStringLiteral("messageBoxKind"), QStringLiteral("messageBoxEntry")}, 1);
    row("sound option twice", {QStringLiteral("soundKind"), QStringLiteral("soundKind")}, 0);
    row("message box entry, sound option, pop-up entry",
        {QStringLiteral("messageBoxEntry"), QStringLiteral("soundKind"),
         QStringLiteral("popupEntry")},
        2);
}

void TestMainWindow::alarmKindKeepsItsControlsInStep()
{
    QFETCH(QStringList, chosenBy);
    QFETCH(int, kind);

    MainWindow &f = forms::form<MainWindow>();
    for (const QString &name : chosenBy)
        press(f, qPrintable(name));
    QCOMPARE(alarmKindShown(f), alarmKindShownFor(kind));
}

void TestMainWindow::beginChecksTheMinutesBox_data()
{
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("message");
    // One row a line: clang-format would break between the two texts of each.
    // clang-format off

    QTest::newRow("10") << "10" << "";
    QTest::newRow("1") << "1" << "";
    QTest::newRow("9999") << "9999" << "";
    QTest::newRow("007") << "007" << "";
    QTest::newRow("blank then 7") << " 7" << "";
    QTest::newRow("+5") << "+5" << "";
    QTest::newRow("1e1") << "1e1" << "";

    QTest::newRow("empty") << "" << CheckTheBox;
    QTest::newRow("abc") << "abc" << CheckTheBox;
    QTest::newRow("12a") << "12a" << CheckTheBox;
    QTest::newRow("5.") << "5." << CheckTheBox;
    QTest::newRow("5 then blank") << "5 " << CheckTheBox;
    QTest::newRow("1x5") << "1x5" << CheckTheBox;
    QTest::newRow("1..3") << "1..3" << CheckTheBox;
    QTest::newRow("--5") << "--5" << CheckTheBox;
    QTest::newRow("-5") << "-5" << CheckTheBox;
    QTest::newRow("1.5") << "1.5" << CheckTheBox;
    QTest::newRow("1e4") << "1e4" << CheckTheBox;

    QTest::newRow("0") << "0" << Zero;
    QTest::newRow("00") << "00" << Zero;
    QTest::newRow("000") << "000" << Zero;
    QTest::newRow("0.0") << "0.0" << Zero;
    // clang-format on
}

void TestMainWindow::beginChecksTheMinutesBox()
{
    QFETCH(QString, minutes);
    QFETCH(QString, message);

    MainWindow &f = forms::form<MainWindow>();
    minutesBox(f)->setText(minutes);
    press(f, "beginButton");

    if (message.isEmpty()) {
        QVERIFY(desktop->boxes.isEmpty());
        QCOMPARE(minutesLeft(f)->caption(), minutes); // copied unchanged
        QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("59"));
        QVERIFY(isRunning(f));
        return;
    }
    QCOMPARE(desktop->boxes.size(), 1);
    QCOMPARE(desktop->boxes[0].icon, forms::Desktop::Icon::Critical);
    QCOMPARE(desktop->boxes[0].title, QStringLiteral("Error"));
    QCOMPARE(desktop->boxes[0].text, message);
    // The user's own press brings it: Enter may dismiss it at once.
    QCOMPARE(desktop->boxes[0].arrival, forms::Desktop::Arrival::Answer);
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("0"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("0"));
    QCOMPARE(minutesBox(f)->text(), minutes);
    QVERIFY(isIdle(f));
}

void TestMainWindow::fileBeginGivesTheSameMessages()
{
    MainWindow &f = forms::form<MainWindow>();
    minutesBox(f)->setText(QStringLiteral("0"));
    press(f, "beginEntry");
    minutesBox(f)->clear();
    press(f, "beginEntry");
    QCOMPARE(desktop->boxes.size(), 2);
    QCOMPARE(desktop->boxes[0].text, Zero);
    QCOMPARE(desktop->boxes[1].text, CheckTheBox);

    minutesBox(f)->setText(QStringLiteral("3"));
    press(f, "beginEntry");
    QVERIFY(isRunning(f));
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("3"));
}

void TestMainWindow::beginButtonByKeyboard()
{
    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(isRunning(f));
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("10"));
    // Change now has the keyboard's Alt+C.
    QTest::keyClick(&f, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(isIdle(f));
}

void TestMainWindow::oneMinuteCountdownSequence()
{
    MainWindow &f = forms::form<MainWindow>();
    minutesBox(f)->setText(QStringLiteral("1"));
    press(f, "beginButton");
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("1"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("59"));

    tick(f, 1);
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("58"));
    tick(f, 58);
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("1"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("0"));
    tick(f, 1);
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("0"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("59"));
}

void TestMainWindow::displayKeepsTypedSpellingUntilFirstRollover()
{
    MainWindow &f = forms::form<MainWindow>();
    minutesBox(f)->setText(QStringLiteral("007"));
    press(f, "beginButton");
    tick(f, 59);
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("007"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("0"));
    tick(f, 1);
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("6"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("59"));
}

void TestMainWindow::secondsRolloverFromAnyPath()
{
    MainWindow &f = forms::form<MainWindow>();
    minutesLeft(f)->setCaption(QStringLiteral("4"));
    secondsLeft(f)->setCaption(QStringLiteral("-1"));
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("3"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("59"));
}

void TestMainWindow::unreadableMinutesStandStill()
{
    MainWindow &f = forms::form<MainWindow>();
    minutesLeft(f)->setCaption(QStringLiteral("x"));
    secondsLeft(f)->setCaption(QStringLiteral("0"));
    tick(f, 1);
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("x"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("59"));
}

void TestMainWindow::changeFreezesTheDisplays()
{
    MainWindow &f = forms::form<MainWindow>();
    press(f, "beginButton");
    tick(f, 20);
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("10"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("39"));

    press(f, "changeButton");
    QVERIFY(isIdle(f));
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("10"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("39"));

    // Begin then overwrites both displays.
    minutesBox(f)->setText(QStringLiteral("2"));
    press(f, "beginButton");
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("2"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("59"));
}

void TestMainWindow::fileChangeWhenIdleChangesNothing()
{
    MainWindow &f = forms::form<MainWindow>();
    press(f, "changeEntry");
    QVERIFY(isIdle(f));
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("0"));
    QVERIFY(control<QAction>(f, "changeEntry")->isEnabled());
    press(f, "beginButton");
    press(f, "changeEntry");
    QVERIFY(isIdle(f));
    QVERIFY(control<QAction>(f, "changeEntry")->isEnabled());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
