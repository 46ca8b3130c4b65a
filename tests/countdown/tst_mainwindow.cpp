#include "countdown/mainwindow.h"
#include "forms/commandbutton.h"
#include "forms/geometry.h"
#include "forms/label.h"
#include "forms/optionbutton.h"
#include "forms/timer.h"
#include "forms/windows.h"
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

QHash<QString, QWidget *> controlsOf(MainWindow &f)
{
    return {{QStringLiteral("Frame1"), f.Frame1},     {QStringLiteral("Label1"), f.Label1},
            {QStringLiteral("Text1"), f.Text1},       {QStringLiteral("Command2"), f.Command2},
            {QStringLiteral("Command3"), f.Command3}, {QStringLiteral("Option1"), f.Option1},
            {QStringLiteral("Option2"), f.Option2},   {QStringLiteral("Option3"), f.Option3},
            {QStringLiteral("Frame2"), f.Frame2},     {QStringLiteral("Label2"), f.Label2},
            {QStringLiteral("Label3"), f.Label3},     {QStringLiteral("Label4"), f.Label4},
            {QStringLiteral("Label5"), f.Label5},     {QStringLiteral("Command1"), f.Command1},
            {QStringLiteral("Label6"), f.Label6},     {QStringLiteral("window"), f.client()}};
}

// The enabled states that tell the idle layout from the running one: every control of the
// layout has the state `idle` gives it, and the timer runs exactly when the window is not idle.
bool hasLayout(const MainWindow &f, bool idle)
{
    return settingsOpen(f, idle) && f.Timer1->isEnabled() == !idle;
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
    void storedMessageLabelIsNeverShown();
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
    QCOMPARE(f.Frame1->title(), QStringLiteral("Zelbo Break"));
    QCOMPARE(f.Frame2->title(), QStringLiteral("Next zelbo break"));
    QCOMPARE(f.Label1->caption(), QStringLiteral("Minutes:"));
    QCOMPARE(f.Text1->text(), QStringLiteral("10"));
    QCOMPARE(f.Command2->text(), QStringLiteral("&Begin"));
    QCOMPARE(f.Command3->text(), QStringLiteral("&Change"));
    QCOMPARE(f.Option1->text(), QStringLiteral("&Make a sound"));
    QCOMPARE(f.Option2->text(), QStringLiteral("&M&essage Box"));
    QCOMPARE(f.Option3->text(), QStringLiteral("&Window Popup (best)"));
    QCOMPARE(f.Label2->caption(), QStringLiteral("Minutes:"));
    QCOMPARE(f.Label3->caption(), QStringLiteral("0"));
    QCOMPARE(f.Label4->caption(), QStringLiteral("Seconds:"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("0"));
    QCOMPARE(f.Command1->text(), QStringLiteral("E&xit"));
    QCOMPARE(f.Label6->caption(), QString());

    QVERIFY(!f.Option1->value());
    QVERIFY(!f.Option2->value());
    QVERIFY(f.Option3->value());
    QVERIFY(isIdle(f));
    QCOMPARE(f.Timer1->interval(), std::chrono::milliseconds(1000));
    QVERIFY(f.mnuMessage->isEnabled());
    QVERIFY(f.Command1->isEnabled());
    QVERIFY(!f.Command1->isDefault() && !f.Command2->isDefault() && !f.Command3->isDefault());
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
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QRect>("twips");

    auto row = [](const char *control, const char *container, int l, int t, int w, int h) {
        QTest::newRow(control) << QString::fromLatin1(control) << QString::fromLatin1(container)
                               << QRect(l, t, w, h);
    };
    row("Frame1", "window", 120, 120, 2775, 2295);
    row("Label1", "Frame1", 240, 360, 2415, 375);
    row("Text1", "Frame1", 240, 600, 2295, 285);
    row("Command2", "Frame1", 240, 960, 1095, 375);
    row("Command3", "Frame1", 1440, 960, 1095, 375);
    row("Option1", "Frame1", 240, 1440, 2055, 255);
    row("Option2", "Frame1", 240, 1680, 2055, 255);
    row("Option3", "Frame1", 240, 1920, 2055, 255);
    row("Frame2", "window", 120, 2640, 2775, 1095);
    row("Label2", "Frame2", 240, 360, 2175, 255);
    row("Label3", "Frame2", 960, 360, 1455, 255);
    row("Label4", "Frame2", 240, 720, 2175, 255);
    row("Label5", "Frame2", 1080, 720, 1335, 255);
    row("Command1", "window", 960, 3840, 975, 375);
    row("Label6", "window", 2520, 3840, 375, 375);
}

void TestMainWindow::controlsStandAtTheirPlaces()
{
    QFETCH(QString, control);
    QFETCH(QString, container);
    QFETCH(QRect, twips);

    const auto controls = controlsOf(forms::form<MainWindow>());
    QWidget *widget = controls.value(control);
    QCOMPARE(widget->parentWidget(), controls.value(container));
    QCOMPARE(widget->geometry(),
             forms::rectFromTwips(twips.x(), twips.y(), twips.width(), twips.height()));
}

void TestMainWindow::valuesLieInFrontOfCaptions()
{
    MainWindow &f = forms::form<MainWindow>();
    const QPoint inMinutesValue = f.Label3->geometry().center();
    const QPoint inSecondsValue = f.Label5->geometry().center();
    QCOMPARE(f.Frame2->childAt(inMinutesValue), f.Label3);
    QCOMPARE(f.Frame2->childAt(inSecondsValue), f.Label5);
    QCOMPARE(f.Frame2->childAt(f.Label2->geometry().topLeft() + QPoint(2, 2)), f.Label2);
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
    QCOMPARE(f.mnuFile->title(), QStringLiteral("&File"));
    QCOMPARE(f.mnuOptions->title(), QStringLiteral("&Options"));
    QCOMPARE(f.mnuHelp->title(), QStringLiteral("&Help"));
    QCOMPARE(captions(f.mnuFile),
             QStringList({QStringLiteral("&Begin"), QStringLiteral("&Change"),
                          QStringLiteral("Hi&de"), QStringLiteral("-"), QStringLiteral("E&xit")}));
    QCOMPARE(captions(f.mnuOptions),
             QStringList({QStringLiteral("&Make a sound when alarm goes off"),
                          QStringLiteral("&Show a message box when alarm goes off"),
                          QStringLiteral("&Use a pop-up window when alarm goes off"),
                          QStringLiteral("-"), QStringLiteral("M&essage")}));
    QCOMPARE(captions(f.mnuHelp), QStringList(QStringLiteral("&About")));

    QVERIFY(!f.mnuSnd->isChecked());
    QVERIFY(!f.mnuMsgBox->isChecked());
    QVERIFY(f.mnuWindow->isChecked());
    for (QAction *entry : {f.mnuBegin, f.mnuChange, f.mnuHide, f.mnuExit, f.mnuSnd, f.mnuMsgBox,
                           f.mnuWindow, f.mnuMessage, f.mnuAbout})
        QVERIFY2(entry->isEnabled(), qPrintable(entry->text()));
}

void TestMainWindow::focusStartsOnExitAndTabsInOrder()
{
    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QCOMPARE(QApplication::focusWidget(), f.Command1);

    // Change is disabled while idle, and the option group is one stop, at its selected button.
    const QList<QWidget *> expected = {f.Text1, f.Command2, f.Option3, f.Command1};
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }

    // Inside the group the arrow keys move the selection, raising the option's click.
    f.Option3->setFocus();
    QSignalSpy clicks(f.Option2, &QRadioButton::clicked);
    QTest::keyClick(f.Option3, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), f.Option2);
    QVERIFY(f.Option2->value());
    QCOMPARE(clicks.size(), 1);
    QTest::keyClick(f.Option2, Qt::Key_Tab);
    QTest::keyClick(f.Command1, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), f.Option2);
}

void TestMainWindow::minutesBoxRefusesFifthCharacter()
{
    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    f.Text1->clear();
    f.Text1->setFocus();
    QTest::keyClicks(f.Text1, QStringLiteral("12345"));
    QCOMPARE(f.Text1->text(), QStringLiteral("1234"));

    f.Text1->clear();
    QApplication::clipboard()->setText(QStringLiteral("987654"));
    f.Text1->paste();
    QCOMPARE(f.Text1->text(), QStringLiteral("9876"));
}

void TestMainWindow::storedMessageLabelIsNeverShown()
{
    MainWindow &f = forms::show<MainWindow>();
    f.Label6->setCaption(QStringLiteral("Stretch your legs"));
    f.Command2_Click();
    QVERIFY(!f.Label6->isVisible());
    QVERIFY(f.Label6->isHidden());
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
    const QHash<QString, QAction *> entries = {{QStringLiteral("soundEntry"), f.mnuSnd},
                                               {QStringLiteral("messageBoxEntry"), f.mnuMsgBox},
                                               {QStringLiteral("popupEntry"), f.mnuWindow}};
    const QHash<QString, forms::OptionButton *> options = {
        {QStringLiteral("soundKind"), f.Option1},
        {QStringLiteral("messageBoxKind"), f.Option2},
        {QStringLiteral("popupKind"), f.Option3}};
    for (const QString &control : chosenBy) {
        if (entries.contains(control))
            entries.value(control)->trigger();
        else
            options.value(control)->click();
    }
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
    f.Text1->setText(minutes);
    f.Command2_Click();

    if (message.isEmpty()) {
        QVERIFY(desktop->boxes.isEmpty());
        QCOMPARE(f.Label3->caption(), minutes); // copied unchanged
        QCOMPARE(f.Label5->caption(), QStringLiteral("59"));
        QVERIFY(isRunning(f));
        return;
    }
    QCOMPARE(desktop->boxes.size(), 1);
    QCOMPARE(desktop->boxes[0].icon, forms::Desktop::Icon::Critical);
    QCOMPARE(desktop->boxes[0].title, QStringLiteral("Error"));
    QCOMPARE(desktop->boxes[0].text, message);
    // The user's own press brings it: Enter may dismiss it at once.
    QCOMPARE(desktop->boxes[0].arrival, forms::Desktop::Arrival::Answer);
    QCOMPARE(f.Label3->caption(), QStringLiteral("0"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("0"));
    QCOMPARE(f.Text1->text(), minutes);
    QVERIFY(isIdle(f));
}

void TestMainWindow::fileBeginGivesTheSameMessages()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Text1->setText(QStringLiteral("0"));
    f.mnuBegin->trigger();
    f.Text1->clear();
    f.mnuBegin->trigger();
    QCOMPARE(desktop->boxes.size(), 2);
    QCOMPARE(desktop->boxes[0].text, Zero);
    QCOMPARE(desktop->boxes[1].text, CheckTheBox);

    f.Text1->setText(QStringLiteral("3"));
    f.mnuBegin->trigger();
    QVERIFY(isRunning(f));
    QCOMPARE(f.Label3->caption(), QStringLiteral("3"));
}

void TestMainWindow::beginButtonByKeyboard()
{
    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowActive(&f));
    QTest::keyClick(&f, Qt::Key_B, Qt::AltModifier);
    QTRY_VERIFY(isRunning(f));
    QCOMPARE(f.Label3->caption(), QStringLiteral("10"));
    // Change now has the keyboard's Alt+C.
    QTest::keyClick(&f, Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(isIdle(f));
}

void TestMainWindow::oneMinuteCountdownSequence()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Text1->setText(QStringLiteral("1"));
    f.Command2_Click();
    QCOMPARE(f.Label3->caption(), QStringLiteral("1"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("59"));

    tick(f, 1);
    QCOMPARE(f.Label5->caption(), QStringLiteral("58"));
    tick(f, 58);
    QCOMPARE(f.Label3->caption(), QStringLiteral("1"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("0"));
    tick(f, 1);
    QCOMPARE(f.Label3->caption(), QStringLiteral("0"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("59"));
}

void TestMainWindow::displayKeepsTypedSpellingUntilFirstRollover()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Text1->setText(QStringLiteral("007"));
    f.Command2_Click();
    tick(f, 59);
    QCOMPARE(f.Label3->caption(), QStringLiteral("007"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("0"));
    tick(f, 1);
    QCOMPARE(f.Label3->caption(), QStringLiteral("6"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("59"));
}

void TestMainWindow::secondsRolloverFromAnyPath()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Label3->setCaption(QStringLiteral("4"));
    f.Label5->setCaption(QStringLiteral("-1"));
    QCOMPARE(f.Label3->caption(), QStringLiteral("3"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("59"));
}

void TestMainWindow::unreadableMinutesStandStill()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Label3->setCaption(QStringLiteral("x"));
    f.Label5->setCaption(QStringLiteral("0"));
    tick(f, 1);
    QCOMPARE(f.Label3->caption(), QStringLiteral("x"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("59"));
}

void TestMainWindow::changeFreezesTheDisplays()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Command2_Click();
    tick(f, 20);
    QCOMPARE(f.Label3->caption(), QStringLiteral("10"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("39"));

    f.Command3_Click();
    QVERIFY(isIdle(f));
    QCOMPARE(f.Label3->caption(), QStringLiteral("10"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("39"));

    // Begin then overwrites both displays.
    f.Text1->setText(QStringLiteral("2"));
    f.Command2_Click();
    QCOMPARE(f.Label3->caption(), QStringLiteral("2"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("59"));
}

void TestMainWindow::fileChangeWhenIdleChangesNothing()
{
    MainWindow &f = forms::form<MainWindow>();
    f.mnuChange->trigger();
    QVERIFY(isIdle(f));
    QCOMPARE(f.Label3->caption(), QStringLiteral("0"));
    QVERIFY(f.mnuChange->isEnabled());
    f.Command2_Click();
    f.mnuChange->trigger();
    QVERIFY(isIdle(f));
    QVERIFY(f.mnuChange->isEnabled());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
