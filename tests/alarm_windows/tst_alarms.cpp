#include "alarm_windows/alarmpopup.h"
#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/controls/optionbutton.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "shell/texts.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include <memory>

namespace {

enum Kind { Sound, MessageBox, Popup };

const char *const Options[] = {"soundKind", "messageBoxKind", "popupKind"};
const char *const Entries[] = {"soundEntry", "messageBoxEntry", "popupEntry"};

forms::OptionButton *option(MainWindow &f, int kind)
{
    return control<forms::OptionButton>(f, Options[kind]);
}

QAction *entry(MainWindow &f, int kind)
{
    return control<QAction>(f, Entries[kind]);
}

} // namespace

class TestAlarms : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void alarmComesOnItsTick_data();
    void alarmComesOnItsTick();
    void ticksInsideTheMessageBoxOpenNoOtherBox();
    void boxEditedWhileResumedCountdownRuns_data();
    void boxEditedWhileResumedCountdownRuns();
    void laterPopupAlarmReshowsTheOnePopup();
    void choosingTheKind_data();
    void choosingTheKind();
    void kindIsLockedDuringCountdown();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestAlarms::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestAlarms::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestAlarms::alarmComesOnItsTick_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("minutes");
    QTest::newRow("sound, 1 minute") << int(Sound) << QStringLiteral("1");
    QTest::newRow("sound, 3 minutes") << int(Sound) << QStringLiteral("3");
    QTest::newRow("message box, 1 minute") << int(MessageBox) << QStringLiteral("1");
    QTest::newRow("message box, typed 02") << int(MessageBox) << QStringLiteral("02");
    QTest::newRow("pop-up, 1 minute") << int(Popup) << QStringLiteral("1");
    QTest::newRow("pop-up, 2 minutes") << int(Popup) << QStringLiteral("2");
}

void TestAlarms::alarmComesOnItsTick()
{
    QFETCH(int, kind);
    QFETCH(QString, minutes);

    MainWindow &f = forms::form<MainWindow>();
    option(f, kind)->setValue(true);
    f.setAlarmMessage(QStringLiteral("Time to stretch"));
    minutesBox(f)->setText(minutes);
    press(f, "beginButton");
    QStringList displaysInBox;
    desktop->whileBoxOpen = [&] {
        displaysInBox.append(minutesLeft(f)->caption() + QStringLiteral("/")
                             + secondsLeft(f)->caption());
    };

    // Sound and message box come again with no user action; the pop-up stops the countdown.
    for (int round = 1; round <= (kind == Popup ? 1 : 2); ++round) {
        tick(f, 60 * minutes.toInt() - 1);
        QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("1"));
        QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("0"));
        QCOMPARE(desktop->beeps + desktop->boxes.size(), round - 1);
        QVERIFY(!forms::loaded<AlarmPopup>());

        tick(f, 1);
        QVERIFY(settingsOpen(f, false));
        QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("59"));
        QCOMPARE(desktop->beeps, kind == Sound ? round : 0);
        QCOMPARE(desktop->boxes.size(), kind == MessageBox ? round : 0);
        QCOMPARE(countdownOf(f)->isEnabled(), kind != Popup);
        QCOMPARE(minutesLeft(f)->caption(), kind == Popup ? QStringLiteral("0") : minutes);
    }
    const QString boxText =
        QStringLiteral("It has been %1 minute(s).\r\n\r\nYour next break will be "
                       "in %1 minute(s).\r\n\r\nClick OK to continue the "
                       "countdown for your next break.")
            .arg(minutes);
    for (const RecordingDesktop::Box &box : std::as_const(desktop->boxes)) {
        QCOMPARE(box.icon, forms::Desktop::Icon::Exclamation);
        QCOMPARE(box.title, texts::caption());
        QCOMPARE(box.text, boxText);
        QCOMPARE(box.arrival, forms::Desktop::Arrival::Unasked);
    }
    QCOMPARE(displaysInBox, QStringList(desktop->boxes.size(), QStringLiteral("0/59")));

    AlarmPopup *popup = forms::loaded<AlarmPopup>();
    QCOMPARE(popup != nullptr, kind == Popup);
    if (popup) {
        QVERIFY(popup->isVisible());
        QCOMPARE(messageText(*popup)->text(), QStringLiteral("Time to stretch"));
    }
}

void TestAlarms::ticksInsideTheMessageBoxOpenNoOtherBox()
{
    MainWindow &f = forms::form<MainWindow>();
    option(f, MessageBox)->setValue(true);
    minutesBox(f)->setText(QStringLiteral("1"));
    press(f, "beginButton");

    // The user leaves the first box open for 130 seconds, past two more due minutes.
    int opened = 0;
    QString inFirstBox;
    desktop->whileBoxOpen = [&] {
        if (++opened > 1)
            return;
        tick(f, 130);
        inFirstBox = QString::number(desktop->boxes.size()) + QStringLiteral(" box, seconds ")
                     + secondsLeft(f)->caption();
    };
    tick(f, 60);
    QCOMPARE(inFirstBox, QStringLiteral("1 box, seconds 49"));
    QCOMPARE(desktop->boxes.size(), 1);
    QCOMPARE(minutesLeft(f)->caption(), QStringLiteral("1"));
    QCOMPARE(secondsLeft(f)->caption(), QStringLiteral("49"));
    QVERIFY(countdownOf(f)->isEnabled());

    // The seconds went on inside the box, so the next alarm keeps the cadence.
    tick(f, 49);
    QCOMPARE(desktop->boxes.size(), 1);
    tick(f, 1);
    QCOMPARE(desktop->boxes.size(), 2);
}

void TestAlarms::boxEditedWhileResumedCountdownRuns_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("next");
    for (const int kind : {Sound, MessageBox}) {
        const char *name = kind == Sound ? "sound" : "message box";
        const auto row = [&](const char *typed, const char *next) {
            QTest::addRow("%s, %s", name, *typed ? typed : "empty")
                << kind << QString::fromLatin1(typed) << QString::fromLatin1(next);
        };
        // A box that passes Begin's checks gives the next length; anything else leaves the
        // countdown at the length it ran.
        row("3", "3");
        row("0", "2");
        row("abc", "2");
        row("", "2");
        row("-5", "2");
        row("2.5", "2");
        row("1e4", "2");
    }
}

void TestAlarms::boxEditedWhileResumedCountdownRuns()
{
    QFETCH(int, kind);
    QFETCH(QString, typed);
    QFETCH(QString, next);

    // A pop-up alarm, Change, another kind, Continue with 2 minutes: the countdown runs in the
    // idle layout with the minutes box open to editing.
    MainWindow &f = forms::form<MainWindow>();
    minutesBox(f)->setText(QStringLiteral("1"));
    press(f, "beginButton");
    tick(f, 60);
    QVERIFY(forms::loaded<AlarmPopup>());
    press(f, "changeButton");
    option(f, kind)->setValue(true);
    minutesBox(f)->setText(QStringLiteral("2"));
    press(*forms::loaded<AlarmPopup>(), "continueButton");
    QVERIFY(countdownOf(f)->isEnabled());
    minutesBox(f)->setText(typed);

    tick(f, 120);
    QCOMPARE(desktop->beeps + desktop->boxes.size(), 1);
    QCOMPARE(minutesLeft(f)->caption(), next);
    QCOMPARE(minutesBox(f)->text(), typed);
    if (kind == MessageBox) {
        QCOMPARE(desktop->boxes[0].text,
                 QStringLiteral("It has been 2 minute(s).\r\n\r\nYour next break will be in %1 "
                                "minute(s).\r\n\r\nClick OK to continue the countdown for your "
                                "next break.")
                     .arg(next));
    }

    // One alarm a countdown, never one a second, and never none.
    tick(f, 60 * next.toInt() - 1);
    QCOMPARE(desktop->beeps + desktop->boxes.size(), 1);
    tick(f, 1);
    QCOMPARE(desktop->beeps + desktop->boxes.size(), 2);
    QVERIFY(countdownOf(f)->isEnabled());
}

void TestAlarms::laterPopupAlarmReshowsTheOnePopup()
{
    MainWindow &f = forms::form<MainWindow>();
    f.setAlarmMessage(QStringLiteral("First"));
    minutesBox(f)->setText(QStringLiteral("1"));
    press(f, "beginButton");
    tick(f, 60);
    QPointer<AlarmPopup> popup = forms::loaded<AlarmPopup>();
    QVERIFY(popup);
    popup->hide();

    // The pop-up is left loaded; a new countdown reaches its alarm.
    press(f, "changeButton");
    f.setAlarmMessage(QStringLiteral("Second"));
    press(f, "beginButton");
    tick(f, 60);
    QCOMPARE(forms::loaded<AlarmPopup>(), popup.data());
    QVERIFY(popup->isVisible());
    QCOMPARE(messageText(*popup)->text(), QStringLiteral("Second"));
    QVERIFY(!countdownOf(f)->isEnabled());
}

void TestAlarms::choosingTheKind_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("how");
    const QStringList kinds = {QStringLiteral("sound"), QStringLiteral("box"),
                               QStringLiteral("pop-up")};
    for (const QString &how :
         {QStringLiteral("menu"), QStringLiteral("click"), QStringLiteral("code")}) {
        for (int from : {Sound, MessageBox, Popup}) {
            for (int to : {Sound, MessageBox, Popup}) {
                const QString name =
                    kinds[from] + QStringLiteral(" to ") + kinds[to] + QStringLiteral(" by ") + how;
                QTest::newRow(qPrintable(name)) << from << to << how;
            }
        }
    }
}

void TestAlarms::choosingTheKind()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, how);

    MainWindow &f = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(&f));
    option(f, from)->setValue(true); // from pop-up: the state the program starts in
    QCOMPARE(alarmKindShown(f), alarmKindShownFor(from));
    if (how == QStringLiteral("menu")) {
        entry(f, to)->trigger(); // toggles the entry before its handler runs
    } else if (how == QStringLiteral("click")) {
        QWidget *button = option(f, to); // on the round indicator at its left
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    } else {
        option(f, to)->setValue(true);
    }
    QCOMPARE(alarmKindShown(f), alarmKindShownFor(to));
}

void TestAlarms::kindIsLockedDuringCountdown()
{
    MainWindow &f = forms::form<MainWindow>();
    QList<QObject *> choices;
    for (const int kind : {Sound, MessageBox, Popup})
        choices << option(f, kind) << entry(f, kind);
    auto enabled = [&] {
        return std::count_if(choices.begin(), choices.end(),
                             [](QObject *c) { return c->property("enabled").toBool(); });
    };
    press(f, "beginButton");
    QCOMPARE(enabled(), 0);
    press(f, "soundEntry"); // a disabled entry does nothing
    QCOMPARE(alarmKindShown(f), alarmKindShownFor(Popup));
    press(f, "changeButton");
    QCOMPARE(enabled(), 6);
}

QTEST_MAIN(TestAlarms)
#include "tst_alarms.moc"
