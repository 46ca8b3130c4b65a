#include "alarm_windows/alarmpopup.h"
#include "countdown/mainwindow.h"
#include "forms/commandbutton.h"
#include "forms/label.h"
#include "forms/multilinetextbox.h"
#include "forms/optionbutton.h"
#include "forms/timer.h"
#include "forms/windows.h"
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

forms::OptionButton *option(MainWindow &f, int kind)
{
    return QList<forms::OptionButton *>{f.Option1, f.Option2, f.Option3}.at(kind);
}

QAction *entry(MainWindow &f, int kind)
{
    return QList<QAction *>{f.mnuSnd, f.mnuMsgBox, f.mnuWindow}.at(kind);
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
    f.Label6->setCaption(QStringLiteral("Time to stretch"));
    f.Text1->setText(minutes);
    f.Command2_Click();
    QStringList displaysInBox;
    desktop->whileBoxOpen = [&] {
        displaysInBox.append(f.Label3->caption() + QStringLiteral("/") + f.Label5->caption());
    };

    // Sound and message box come again with no user action; the pop-up stops the countdown.
    for (int round = 1; round <= (kind == Popup ? 1 : 2); ++round) {
        tick(f, 60 * minutes.toInt() - 1);
        QCOMPARE(f.Label3->caption(), QStringLiteral("1"));
        QCOMPARE(f.Label5->caption(), QStringLiteral("0"));
        QCOMPARE(desktop->beeps + desktop->boxes.size(), round - 1);
        QVERIFY(!forms::loaded<AlarmPopup>());

        tick(f, 1);
        QVERIFY(settingsOpen(f, false));
        QCOMPARE(f.Label5->caption(), QStringLiteral("59"));
        QCOMPARE(desktop->beeps, kind == Sound ? round : 0);
        QCOMPARE(desktop->boxes.size(), kind == MessageBox ? round : 0);
        QCOMPARE(f.Timer1->isEnabled(), kind != Popup);
        QCOMPARE(f.Label3->caption(), kind == Popup ? QStringLiteral("0") : minutes);
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
        QCOMPARE(popup->Text1->text(), QStringLiteral("Time to stretch"));
    }
}

void TestAlarms::ticksInsideTheMessageBoxOpenNoOtherBox()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Option2->setValue(true);
    f.Text1->setText(QStringLiteral("1"));
    f.Command2_Click();

    // The user leaves the first box open for 130 seconds, past two more due minutes.
    int opened = 0;
    QString inFirstBox;
    desktop->whileBoxOpen = [&] {
        if (++opened > 1)
            return;
        tick(f, 130);
        inFirstBox = QString::number(desktop->boxes.size()) + QStringLiteral(" box, seconds ")
                     + f.Label5->caption();
    };
    tick(f, 60);
    QCOMPARE(inFirstBox, QStringLiteral("1 box, seconds 49"));
    QCOMPARE(desktop->boxes.size(), 1);
    QCOMPARE(f.Label3->caption(), QStringLiteral("1"));
    QCOMPARE(f.Label5->caption(), QStringLiteral("49"));
    QVERIFY(f.Timer1->isEnabled());

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
    f.Text1->setText(QStringLiteral("1"));
    f.Command2_Click();
    tick(f, 60);
    QVERIFY(forms::loaded<AlarmPopup>());
    f.Command3_Click();
    option(f, kind)->setValue(true);
    f.Text1->setText(QStringLiteral("2"));
    forms::loaded<AlarmPopup>()->Command1->click();
    QVERIFY(f.Timer1->isEnabled());
    f.Text1->setText(typed);

    tick(f, 120);
    QCOMPARE(desktop->beeps + desktop->boxes.size(), 1);
    QCOMPARE(f.Label3->caption(), next);
    QCOMPARE(f.Text1->text(), typed);
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
    QVERIFY(f.Timer1->isEnabled());
}

void TestAlarms::laterPopupAlarmReshowsTheOnePopup()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Label6->setCaption(QStringLiteral("First"));
    f.Text1->setText(QStringLiteral("1"));
    f.Command2_Click();
    tick(f, 60);
    QPointer<AlarmPopup> popup = forms::loaded<AlarmPopup>();
    QVERIFY(popup);
    popup->hide();

    // The pop-up is left loaded; a new countdown reaches its alarm.
    f.Command3_Click();
    f.Label6->setCaption(QStringLiteral("Second"));
    f.Command2_Click();
    tick(f, 60);
    QCOMPARE(forms::loaded<AlarmPopup>(), popup.data());
    QVERIFY(popup->isVisible());
    QCOMPARE(popup->Text1->text(), QStringLiteral("Second"));
    QVERIFY(!f.Timer1->isEnabled());
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
    const QList<QObject *> choices = {f.Option1, f.Option2,   f.Option3,
                                      f.mnuSnd,  f.mnuMsgBox, f.mnuWindow};
    auto enabled = [&] {
        return std::count_if(choices.begin(), choices.end(),
                             [](QObject *c) { return c->property("enabled").toBool(); });
    };
    f.Command2_Click();
    QCOMPARE(enabled(), 0);
    f.mnuSnd->trigger(); // a disabled entry does nothing
    QCOMPARE(alarmKindShown(f), alarmKindShownFor(Popup));
    f.Command3_Click();
    QCOMPARE(enabled(), 6);
}

QTEST_MAIN(TestAlarms)
#include "tst_alarms.moc"
