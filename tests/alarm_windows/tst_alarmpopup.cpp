#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/controls/optionbutton.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

// The countdown stopped at its pop-up alarm, the window still in the running layout.
bool alarmPending(const MainWindow &f)
{
    return !countdownOf(f)->isEnabled() && settingsOpen(f, false)
           && minutesLeft(f)->caption() == QStringLiteral("0")
           && secondsLeft(f)->caption() == QStringLiteral("59");
}

// Counts the minutes box's countdown down to its pop-up alarm.
AlarmPopup *raiseAlarm(MainWindow &f, const QString &minutes)
{
    minutesBox(f)->setText(minutes);
    press(f, "beginButton");
    tick(f, 60 * minutes.toInt());
    return forms::loaded<AlarmPopup>();
}

} // namespace

class TestAlarmPopup : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void popupAsDesignedWithLockedText();
    void continueChecksAndResumes_data();
    void continueChecksAndResumes();
    void stopGivesTheIdleLayout();
    void windowSystemCloseLeavesTheAlarmPending();
    void buttonsWithMainWindowClosed_data();
    void buttonsWithMainWindowClosed();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestAlarmPopup::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestAlarmPopup::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestAlarmPopup::popupAsDesignedWithLockedText()
{
    MainWindow &f = forms::form<MainWindow>();
    f.setAlarmMessage(QStringLiteral("Look away\r\nfrom the screen"));
    AlarmPopup *popup = raiseAlarm(f, QStringLiteral("1"));
    QVERIFY(popup);
    QVERIFY(QTest::qWaitForWindowActive(popup));
    QCOMPARE(popup->windowTitle(), QStringLiteral("Window Popup"));
    QCOMPARE(popup->client()->size(), forms::sizeFromTwips(4680, 2865));
    QCOMPARE(messageText(*popup)->parentWidget(), popup->client());
    QCOMPARE(messageText(*popup)->geometry(), forms::rectFromTwips(120, 120, 4455, 2175));
    QCOMPARE(messageText(*popup)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    auto *continueButton = control<QPushButton>(*popup, "continueButton");
    auto *stopButton = control<QPushButton>(*popup, "stopButton");
    QCOMPARE(continueButton->text(), QStringLiteral("&Continue Countdown"));
    QCOMPARE(continueButton->geometry(), forms::rectFromTwips(2640, 2400, 1935, 375));
    QCOMPARE(stopButton->text(), QStringLiteral("&Stop"));
    QCOMPARE(stopButton->geometry(), forms::rectFromTwips(1560, 2400, 975, 375));
    QVERIFY(!continueButton->isDefault() && !stopButton->isDefault());
    QTRY_COMPARE(QApplication::focusWidget(), messageText(*popup));

    // The text refuses every edit but can be selected and copied.
    forms::MultiLineTextBox *box = messageText(*popup);
    QTest::keyClicks(box, QStringLiteral("xy"));
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Delete);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    box->paste();
    QCOMPARE(box->text(), QStringLiteral("Look away\r\nfrom the screen"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Look away\nfrom the screen"));
}

void TestAlarmPopup::continueChecksAndResumes_data()
{
    QTest::addColumn<bool>("changeFirst");
    QTest::addColumn<QString>("minutes");
    QTest::addColumn<QString>("error");
    const QString checkTheBox = QStringLiteral("Please check the minutes box and try again!");
    QTest::newRow("running, 02") << false << QStringLiteral("02") << QString();
    QTest::newRow("after Change, 5") << true << QStringLiteral("5") << QString();
    QTest::newRow("after Change, 0")
        << true << QStringLiteral("0")
        << QStringLiteral("You can not put a zero in the minutes box!");
    QTest::newRow("after Change, abc") << true << QStringLiteral("abc") << checkTheBox;
    QTest::newRow("after Change, empty") << true << QString() << checkTheBox;
    QTest::newRow("after Change, -5") << true << QStringLiteral("-5") << checkTheBox;
    QTest::newRow("after Change, 1e4") << true << QStringLiteral("1e4") << checkTheBox;
}

void TestAlarmPopup::continueChecksAndResumes()
{
    QFETCH(bool, changeFirst);
    QFETCH(QString, minutes);
    QFETCH(QString, error);

    MainWindow &f = forms::form<MainWindow>();
    AlarmPopup *popup = raiseAlarm(f, changeFirst ? QStringLiteral("1") : minutes);
    QVERIFY(popup);
    QVERIFY(alarmPending(f));
    if (changeFirst) {
        press(f, "changeButton");
        minutesBox(f)->setText(minutes);
    }
    secondsLeft(f)->setCaption(QStringLiteral("30"));
    press(*popup, "continueButton");

    // Continue never touches the layout or the seconds.
    QVERIFY(settingsOpen(f, changeFirst));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("30"));
    QCOMPARE(forms::loaded<AlarmPopup>(), error.isEmpty() ? nullptr : popup);
    QCOMPARE(countdownOf(f)->isEnabled(), error.isEmpty());
    QCOMPARE(minutesLeft(f)->caption(), error.isEmpty() ? minutes : QStringLiteral("0"));
    QCOMPARE(desktop->boxes.size(), error.isEmpty() ? 0 : 1);
    if (!error.isEmpty()) {
        QCOMPARE(desktop->boxes[0].icon, forms::Desktop::Icon::Critical);
        QCOMPARE(desktop->boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(desktop->boxes[0].text, error);
        // The error answers the pop-up's button: it belongs to the pop-up, not to the main
        // window, which may be minimised.
        QCOMPARE(desktop->boxes[0].owner, popup);
    }
}

void TestAlarmPopup::stopGivesTheIdleLayout()
{
    MainWindow &f = forms::form<MainWindow>();
    f.setAlarmMessage(QStringLiteral("Walk"));
    AlarmPopup *popup = raiseAlarm(f, QStringLiteral("1"));
    QVERIFY(popup);
    press(*popup, "stopButton");

    QVERIFY(!forms::loaded<AlarmPopup>());
    QVERIFY(!countdownOf(f)->isEnabled());
    QVERIFY(settingsOpen(f, true));
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("0"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("0"));
    QVERIFY(control<forms::OptionButton>(f, "popupKind")->value()
            && control<QAction>(f, "popupEntry")->isChecked()
            && control<QAction>(f, "messageEntry")->isEnabled());
    QCOMPARE(f.alarmMessage(), QStringLiteral("Walk"));
    QVERIFY(desktop->boxes.isEmpty());
}

void TestAlarmPopup::windowSystemCloseLeavesTheAlarmPending()
{
    MainWindow &f = forms::form<MainWindow>();
    AlarmPopup *popup = raiseAlarm(f, QStringLiteral("1"));
    QVERIFY(popup);
    QVERIFY(QTest::qWaitForWindowExposed(popup));
    closeByWindowSystem(*popup);

    QVERIFY(!forms::loaded<AlarmPopup>());
    QVERIFY(alarmPending(f));
    press(f, "changeButton");
    QVERIFY(settingsOpen(f, true));
    QVERIFY(!countdownOf(f)->isEnabled());
}

void TestAlarmPopup::buttonsWithMainWindowClosed_data()
{
    QTest::addColumn<bool>("stop");
    QTest::addColumn<bool>("editorOpen");
    QTest::newRow("continue, last window") << false << false;
    QTest::newRow("stop, last window") << true << false;
    QTest::newRow("continue, editor open") << false << true;
    QTest::newRow("stop, editor open") << true << true;
}

void TestAlarmPopup::buttonsWithMainWindowClosed()
{
    QFETCH(bool, stop);
    QFETCH(bool, editorOpen);

    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    AlarmPopup *popup = raiseAlarm(f, QStringLiteral("1"));
    QVERIFY(popup);
    MessageEditor *editor = editorOpen ? &forms::show<MessageEditor>() : nullptr;
    closeByWindowSystem(f);
    QVERIFY(!forms::loaded<MainWindow>());
    for (forms::Window *window : forms::loadedWindows()) { // only the alarm's windows remain
        if (window != popup && window != editor)
            forms::unload(*window);
    }
    QCOMPARE(desktop->programEnds, 0);

    press(*popup, stop ? "stopButton" : "continueButton");
    QVERIFY(!forms::loaded<AlarmPopup>());
    QVERIFY(!forms::loaded<MainWindow>());
    QVERIFY(desktop->boxes.isEmpty());
    QCOMPARE(desktop->programEnds, editorOpen ? 0 : 1);
    if (!editor)
        return;

    // The editor's Ok has nowhere to store the message either.
    messageText(*editor)->setText(QStringLiteral("Unsaved"));
    press(*editor, "okButton");
    QVERIFY(!forms::loaded<MessageEditor>());
    QVERIFY(!forms::loaded<MainWindow>());
    QCOMPARE(desktop->programEnds, 1);
}

QTEST_MAIN(TestAlarmPopup)
#include "tst_alarmpopup.moc"
