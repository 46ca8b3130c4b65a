#include "alarm_windows/alarmpopup.h"
#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "rules/counter.h"
#include "shell/advertisement.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <memory>

// Countdowns run for days, tick by tick: the ticks are delivered here by firing the windows'
// countdown timers, each firing standing for one second of the steady clock.
class TestLongRun : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void longestCountdownAlarmsOnItsLastTick();
    void repeatingAlarmsKeepTheirCadence_data();
    void repeatingAlarmsKeepTheirCadence();
    void countersWriteOnlyCanonicalCaptions_data();
    void countersWriteOnlyCanonicalCaptions();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestLongRun::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestLongRun::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestLongRun::longestCountdownAlarmsOnItsLastTick()
{
    constexpr int Ticks = 9999 * 60;
    MainWindow &main = forms::form<MainWindow>();
    minutesBox(main)->setText(QStringLiteral("9999"));
    press(main, "beginButton"); // the pop-up is the kind a fresh window has
    forms::Timer *countdown = countdownOf(main);
    QVERIFY(countdown->isEnabled());

    // The pop-up stops the countdown as it appears: the first tick that finds either is the
    // alarm's.
    QElapsedTimer clock;
    clock.start();
    int alarmTick = 0;
    for (int t = 1; t <= Ticks && alarmTick == 0; ++t) {
        emit countdown->timer();
        if (!countdown->isEnabled() || forms::loaded<AlarmPopup>())
            alarmTick = t;
    }
    const qint64 elapsed = clock.elapsed();

    QCOMPARE(alarmTick, Ticks);
    QVERIFY(forms::loaded<AlarmPopup>() && forms::loaded<AlarmPopup>()->isVisible());
    QVERIFY(!countdown->isEnabled());
    QCOMPARE(minutesLeft(main)->caption(), QStringLiteral("0"));
    QCOMPARE(secondsLeft(main)->caption(), QStringLiteral("59"));

    const int minutes = Ticks / 60;
    qInfo("9999-minute countdown: %d ticks, %d s simulated = %d d %d h %d min, run in %lld ms",
          Ticks, Ticks, minutes / (24 * 60), minutes / 60 % 24, minutes % 60, elapsed);
}

void TestLongRun::repeatingAlarmsKeepTheirCadence_data()
{
    QTest::addColumn<bool>("messageBox");
    QTest::addColumn<int>("minutes");
    for (const int minutes : {1, 7}) {
        QTest::addRow("sound, %d min", minutes) << false << minutes;
        QTest::addRow("message box, %d min", minutes) << true << minutes;
    }
}

// The sound and the message box give their alarm and start the next period themselves, with
// nobody at the keyboard: the k-th alarm falls on tick 60·T·k, and nothing falls in between.
void TestLongRun::repeatingAlarmsKeepTheirCadence()
{
    QFETCH(bool, messageBox);
    QFETCH(int, minutes);

    MainWindow &main = forms::form<MainWindow>();
    press(main, messageBox ? "messageBoxEntry" : "soundEntry");
    minutesBox(main)->setText(QString::number(minutes));
    press(main, "beginButton");

    const int period = 60 * minutes;
    QList<int> expected;
    for (int k = 1; k <= 10; ++k)
        expected.append(k * period);

    QList<int> alarmTicks;
    forms::Timer *countdown = countdownOf(main);
    // Up to the tick before an eleventh alarm would be due.
    for (int t = 1; t < 11 * period; ++t) {
        emit countdown->timer();
        if (desktop->beeps + desktop->boxes.size() != alarmTicks.size())
            alarmTicks.append(t);
    }

    QCOMPARE(alarmTicks, expected);
    QCOMPARE(desktop->boxes.size(), messageBox ? 10 : 0);
    QVERIFY(countdown->isEnabled());
    QVERIFY(!forms::loaded<AlarmPopup>());
}

void TestLongRun::countersWriteOnlyCanonicalCaptions_data()
{
    QTest::addColumn<bool>("messageBox");
    QTest::addColumn<QString>("box");
    QTest::newRow("sound, 3 min") << false << QStringLiteral("3");
    QTest::newRow("message box, 12 min") << true << QStringLiteral("12");
}

// Each counter is a caption read as a number and written back one lower. Whatever the count
// reaches, the caption written is the number's plain spelling, read back unchanged.
void TestLongRun::countersWriteOnlyCanonicalCaptions()
{
    QFETCH(bool, messageBox);
    QFETCH(QString, box);

    MainWindow &main = forms::form<MainWindow>();
    Advertisement *ad = forms::loaded<Advertisement>();
    QVERIFY(ad);
    forms::Label *adSeconds = control<forms::Label>(*ad, "secondsLeft");
    QCOMPARE(adSeconds->caption(), QStringLiteral("15"));

    QObject watcher; // the connections end with this test
    QHash<forms::Label *, int> writes;
    QStringList offending;
    // A handler runs nested in the setter, so a caption replaced by a nested write (the "-1"
    // that becomes "59") is read as its replacement; every caption that stays is checked.
    const QList<std::pair<forms::Label *, QString>> counters = {
        {adSeconds, QStringLiteral("Advertisement.secondsLeft")},
        {minutesLeft(main), QStringLiteral("MainWindow.minutesLeft")},
        {secondsLeft(main), QStringLiteral("MainWindow.secondsLeft")}};
    for (const auto &[label, name] : counters) {
        connect(label, &forms::Label::changed, &watcher, [&, label = label, name = name] {
            ++writes[label];
            const QString caption = label->caption();
            const std::optional<double> value = counter::readNumber(caption);
            if (!value || counter::canonicalText(*value) != caption)
                offending.append(name + QLatin1Char('=') + caption);
        });
    }

    tick(*ad, 15);
    QVERIFY(!forms::loaded<Advertisement>());
    QCOMPARE(writes.value(adSeconds), 15);

    press(main, messageBox ? "messageBoxEntry" : "soundEntry");
    minutesBox(main)->setText(box);
    press(main, "beginButton");
    // Three whole periods and most of a fourth: every minute, every second, every alarm.
    const int minutes = box.toInt();
    const int ticks = 4 * 60 * minutes - 7;
    tick(main, ticks);

    QVERIFY2(offending.isEmpty(), qPrintable(offending.join(QStringLiteral(", "))));
    // Each minute writes "-1" and "59" besides its sixty seconds.
    QCOMPARE(writes.value(secondsLeft(main)), 1 + ticks + ticks / 60);
    QVERIFY(writes.value(minutesLeft(main)) >= 4 * minutes);
    QCOMPARE(desktop->beeps + desktop->boxes.size(), 3);
}

QTEST_MAIN(TestLongRun)
#include "tst_longrun.moc"
