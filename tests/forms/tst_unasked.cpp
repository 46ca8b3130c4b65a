#include "forms/alarm/arrival.h"
#include "forms/alarm/keyguard.h"
#include "forms/controls/commandbutton.h"
#include "forms/desktop/desktop.h"
#include "forms/placement/window.h"
#include "shell/texts.h"
#include "support/recordingdesktop.h"

#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(forms::Desktop::Arrival)

namespace {

// The guard's time, moved by the tests alone.
std::chrono::milliseconds guardNow{0};

// The window system's time as the alarm comes, where the desktop tells it: near the end of the
// 32-bit clock, so that the stamps of the keys after it wrap around.
constexpr quint32 ClockAtAlarm = 0xFFFFFE00;

struct Press
{
    std::chrono::milliseconds at; // handled, after the window opened
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    // Instead of a key: the user goes to another window ("leave") or back to the alarm ("back").
    QString move = {};
    // When the key was typed, after the window opened, by the window system's stamp; unstamped
    // where there is none.
    std::optional<qint32> typed = {};
};

// "0 x, 300 Space, 1000 alt+g, 1200 leave": a key, or a move, at each time, in milliseconds
// after the window opened; "1900/1135 Space": a key handled at 1900, stamped as typed at 1135.
// A script that starts "untold, " runs where the desktop does not tell the window system's time;
// one that starts "late 1500, " has the window come on screen 1500 ms after the program showed it.
QList<Press> presses(const QString &script)
{
    QList<Press> list;
    for (const QString &item : script.split(QStringLiteral(", "))) {
        if (item == QStringLiteral("untold") || item.startsWith(QStringLiteral("late ")))
            continue;
        const QStringList parts = item.split(QLatin1Char(' '));
        QString name = parts.at(1);
        if (name == QStringLiteral("leave") || name == QStringLiteral("back")) {
            list.append(
                {std::chrono::milliseconds(parts.at(0).toInt()), Qt::Key_unknown, {}, name});
            continue;
        }
        const QStringList times = parts.at(0).split(QLatin1Char('/'));
        std::optional<qint32> typed;
        if (times.size() > 1)
            typed = times.at(1).toInt();
        Qt::KeyboardModifiers modifiers;
        if (name.startsWith(QStringLiteral("alt+"))) {
            modifiers = Qt::AltModifier;
            name = name.mid(4);
        }
        const QKeySequence sequence = QKeySequence::fromString(name);
        list.append({std::chrono::milliseconds(times.at(0).toInt()),
                     Qt::Key(sequence[0].key()),
                     modifiers,
                     {},
                     typed});
    }
    return list;
}

// A key pressed and released as the window system delivers it, stamped `typed` on its clock: the
// shortcut check first, then the press and the release.
void typeStamped(QWidget &target, Qt::Key key, Qt::KeyboardModifiers modifiers, quint32 typed)
{
    QString text;
    if (const char ascii = QTest::keyToAscii(key); ascii != 0 && !(modifiers & Qt::AltModifier))
        text = QString(QChar::fromLatin1(ascii));
    const QPointer<QWidget> receiver(&target);
    if (qt_sendShortcutOverrideEvent(&target, typed, key, modifiers, text))
        return;
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        if (!receiver)
            return; // the key closed its window
        QKeyEvent event(type, key, modifiers, text);
        event.setTimestamp(typed);
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(receiver, &event);
    }
}

// The button "&Go" on a window whose guard stands against typing, first in its tab order.
forms::CommandButton *guardedGoButton(forms::Window &window)
{
    auto *button = new forms::CommandButton(QStringLiteral("&Go"), window.client());
    window.guardAgainstTyping();
    window.setTabOrder({button});
    return button;
}

void play(QWidget &target, std::chrono::milliseconds openedAt, const QList<Press> &keys)
{
    forms::Window elsewhere(QStringLiteral("Document"), 3000, 1500);
    for (const Press &press : keys) {
        guardNow = openedAt + press.at;
        if (press.typed) {
            typeStamped(target, press.key, press.modifiers,
                        ClockAtAlarm + static_cast<quint32>(*press.typed));
            continue;
        }
        if (press.move.isEmpty()) {
            QTest::keyClick(&target, press.key, press.modifiers);
            continue;
        }
        QWidget *to = press.move == QStringLiteral("leave") ? &elsewhere : target.window();
        to->show();
        to->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(to));
    }
}

// Records besides whether each window brought to the user's desktop was still minimised then.
class AlarmDesktop : public RecordingDesktop
{
public:
    void bringToCurrentDesktop(QWidget &window) override
    {
        RecordingDesktop::bringToCurrentDesktop(window);
        minimisedWhenBrought.append(window.isMinimized());
    }

    QList<bool> minimisedWhenBrought;
};

} // namespace

class TestUnasked : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void keysPressButtonsOnlyAfterTheGuard_data();
    void keysPressButtonsOnlyAfterTheGuard();
    void aClickWorksAtOnce();
    void showingAgainArmsAgain();
    void alarmBoxIsGuardedErrorBoxIsNot_data();
    void alarmBoxIsGuardedErrorBoxIsNot();
    void asksForAttentionOnlyWhenNotActive();
    void restoredByTheUserTakesKeysAtOnce();
    void comesToTheUsersDesktopWhenTheProgramShowsIt();

private:
    // The desktop tells the window system's time as the alarm comes, unless the script is "untold".
    void tellTimeUnless(const QString &script)
    {
        if (script.startsWith(QStringLiteral("untold")))
            desktop->windowClock.reset();
        else
            desktop->windowClock = ClockAtAlarm;
    }

    std::unique_ptr<AlarmDesktop> desktop;
};

void TestUnasked::initTestCase()
{
    forms::KeyGuard::setClock([] { return guardNow; });
}

void TestUnasked::init()
{
    failOnWarnings();
    desktop = std::make_unique<AlarmDesktop>();
    guardNow = 10s;
}

void TestUnasked::cleanup()
{
    desktop.reset();
}

void TestUnasked::keysPressButtonsOnlyAfterTheGuard_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("clicks");

    QTest::newRow("Enter at once") << "0 Return" << 0;
    QTest::newRow("blank at once") << "0 Space" << 0;
    QTest::newRow("keypad Enter just before a second") << "999 Enter" << 0;
    QTest::newRow("access key at once") << "200 alt+g" << 0;
    QTest::newRow("a letter, then Enter too soon after it") << "800 x, 1200 Return" << 0;
    QTest::newRow("Enter after a second") << "1000 Return" << 1;
    QTest::newRow("blank after a second") << "1000 Space" << 1;
    QTest::newRow("access key after a second") << "1000 alt+g" << 1;
    QTest::newRow("typing on, then a pause") << "0 a, 300 b, 600 Space, 900 c, 1200 Return, "
                                                "1500 d, 2000 Return"
                                             << 1;
    QTest::newRow("held down: every repeat is a key")
        << "100 Space, 400 Space, 700 Space, 1000 Space, 1300 Space, 1600 Space" << 0;
    QTest::newRow("after the guard every key works") << "1000 Return, 1100 Return" << 2;
    // The user, typing when the alarm came, went on in their own window, then came back to the
    // alarm and answered it at once.
    QTest::newRow("back after leaving: access key at once")
        << "700 x, 950 y, 1000 leave, 1100 back, 1100 alt+g" << 1;
    QTest::newRow("back after leaving: Enter at once")
        << "900 x, 1100 leave, 1200 back, 1200 Return" << 1;
    // The window system took the activation away and gave it back while the alarm arrived.
    QTest::newRow("arrival flap while typing on")
        << "0 leave, 100 back, 200 a, 400 Return, 700 Space" << 0;
    // The program was held up while the user typed on: the keys come in a burst, and only their
    // stamps tell when they were typed.
    QTest::newRow("typing on through a hold-up")
        << "0/0 a, 300/300 b, 600/600 c, 900/900 d, 1100/1100 x, 1900/1135 Space, "
           "1900/1170 Return, 1950/1205 Space"
        << 0;
    QTest::newRow("a pause the stamps tell, handled at once")
        << "0/0 a, 300/300 b, 700/700 x, 1100/1300 Return" << 1;
    QTest::newRow("access key after a pause the stamps tell")
        << "0/0 x, 700/300 y, 1000/900 alt+g" << 1;
    QTest::newRow("typed soon after the alarm came, handled a second later")
        << "1000/499 Return" << 0;
    QTest::newRow("typed half a second after the alarm came") << "1000/500 Return" << 1;
    QTest::newRow("typed before the alarm came, handled after it")
        << "1300/-40 Return, 1300/-5 Space" << 0;
    QTest::newRow("time untold: the first key by handling, the next by stamps")
        << "untold, 900/5000 x, 1600/5035 Return" << 0;
    QTest::newRow("stamps of a clock that stands still") << "800/0 x, 1400/0 Return" << 1;
    QTest::newRow("a key handed on again, without a stamp")
        << "0/0 a, 300/300 b, 1000/700 x, 1600 y, 1650/750 Return" << 0;
    // A busy machine put the window on screen well after the program showed it.
    QTest::newRow("on screen late: Enter at once") << "late 1500, 1600 Return" << 0;
    QTest::newRow("on screen late: typed soon after it came") << "late 1500, 2600/1900 Return" << 0;
    QTest::newRow("on screen late: Enter after the guard") << "late 1500, 2500/2000 Return" << 1;
}

void TestUnasked::keysPressButtonsOnlyAfterTheGuard()
{
    QFETCH(QString, keys);
    QFETCH(int, clicks);

    forms::Window window(QStringLiteral("Alarm"), 3000, 1500);
    auto *button = guardedGoButton(window);
    const std::chrono::milliseconds openedAt = guardNow;
    tellTimeUnless(keys);
    window.showWindow();
    // The window comes on screen as the events after its showing are handled.
    if (keys.startsWith(QStringLiteral("late "))) {
        const int late = keys.section(QLatin1Char(' '), 1, 1).chopped(1).toInt();
        guardNow = openedAt + std::chrono::milliseconds(late);
        if (desktop->windowClock)
            *desktop->windowClock += static_cast<quint32>(late);
    }
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicked(button, &QPushButton::clicked);

    play(*button, openedAt, presses(keys));
    // An access key presses its button a moment later: it is down at once.
    if (clicks == 0)
        QVERIFY(!button->isDown());
    QTRY_COMPARE(clicked.size(), clicks);
}

void TestUnasked::aClickWorksAtOnce()
{
    forms::Window window(QStringLiteral("Alarm"), 3000, 1500);
    auto *button = new forms::CommandButton(QStringLiteral("&Go"), window.client());
    window.guardAgainstTyping();
    window.showWindow();
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
}

void TestUnasked::showingAgainArmsAgain()
{
    forms::Window window(QStringLiteral("Alarm"), 3000, 1500);
    auto *button = guardedGoButton(window);
    window.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy clicked(button, &QPushButton::clicked);
    play(*button, guardNow, presses(QStringLiteral("1000 Return")));
    QCOMPARE(clicked.size(), 1);

    // The next alarm shows the open window again while the user types elsewhere.
    window.showWindow();
    play(*button, guardNow, presses(QStringLiteral("100 Return, 900 Space")));
    QCOMPARE(clicked.size(), 1);
    play(*button, guardNow, presses(QStringLiteral("500 Return")));
    QCOMPARE(clicked.size(), 2);
}

void TestUnasked::alarmBoxIsGuardedErrorBoxIsNot_data()
{
    QTest::addColumn<forms::Desktop::Arrival>("arrival");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("stillOpen");

    const auto unasked = forms::Desktop::Arrival::Unasked;
    const auto answer = forms::Desktop::Arrival::Answer;
    QTest::newRow("alarm, Enter at once") << unasked << "0 Return" << true;
    QTest::newRow("alarm, Esc at once") << unasked << "0 Escape" << true;
    QTest::newRow("alarm, a sentence")
        << unasked << "0 o, 100 k, 200 Space, 300 o, 400 Return" << true;
    QTest::newRow("alarm, Enter after the guard") << unasked << "1000 Return" << false;
    QTest::newRow("alarm, a sentence through a hold-up")
        << unasked
        << "0/0 o, 300/300 k, 600/600 Space, 900/900 o, 1100/1100 k, 1900/1135 Space, "
           "1900/1170 Return"
        << true;
    QTest::newRow("error, Enter at once") << answer << "0 Return" << false;
}

void TestUnasked::alarmBoxIsGuardedErrorBoxIsNot()
{
    QFETCH(forms::Desktop::Arrival, arrival);
    QFETCH(QString, keys);
    QFETCH(bool, stillOpen);

    const auto box = forms::SystemDesktop::createMessageBox(
        nullptr, forms::Desktop::Icon::Exclamation, texts::caption(),
        QStringLiteral("It has been 1 minute(s)."), arrival);
    QSignalSpy finished(box.get(), &QDialog::finished);
    const std::chrono::milliseconds openedAt = guardNow;
    tellTimeUnless(keys);
    box->show();
    QVERIFY(QTest::qWaitForWindowActive(box.get()));
    QWidget *focus = box->focusWidget() ? box->focusWidget() : box.get();
    play(*focus, openedAt, presses(keys));
    QCOMPARE(finished.isEmpty(), stillOpen);
}

void TestUnasked::asksForAttentionOnlyWhenNotActive()
{
    forms::Window alarm(QStringLiteral("Alarm"), 3000, 1500);
    alarm.guardAgainstTyping();
    auto *arrival = alarm.findChild<forms::AlarmArrival *>();
    QVERIFY(arrival);
    alarm.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&alarm));
    arrival->askForAttentionIfInactive();
    QVERIFY(desktop->attention.isEmpty());

    // The window system kept the focus on the program the user works in.
    forms::Window other(QStringLiteral("Document"), 3000, 1500);
    other.showWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    // The arrival's own check after showing may have asked already while the test waited.
    desktop->attention.clear();
    arrival->askForAttentionIfInactive();
    QCOMPARE(desktop->attention, QStringList{QStringLiteral("Alarm")});
}

void TestUnasked::restoredByTheUserTakesKeysAtOnce()
{
    forms::Window window(QStringLiteral("Alarm"), 3000, 1500);
    auto *button = guardedGoButton(window);
    window.showWindow();
    QSignalSpy clicked(button, &QPushButton::clicked);

    // Minutes later the user minimises the alarm and brings it back, or leaves its desktop and
    // comes back to it, and answers it at once.
    guardNow += 5min;
    window.setWindowState(Qt::WindowMinimized);
    window.setWindowState(Qt::WindowNoState);
    play(*button, guardNow, presses(QStringLiteral("0 Return")));
    QCOMPARE(clicked.size(), 1);
}

void TestUnasked::comesToTheUsersDesktopWhenTheProgramShowsIt()
{
    forms::Window alarm(QStringLiteral("Alarm"), 3000, 1500);
    alarm.guardAgainstTyping();
    forms::Window other(QStringLiteral("Other"), 3000, 1500);
    other.showWindow();
    alarm.showWindow();
    QCOMPARE(desktop->broughtToCurrentDesktop, QStringList{QStringLiteral("Alarm")});

    // The user minimises it and brings it back: it stays where the user has it.
    alarm.setWindowState(Qt::WindowMinimized);
    alarm.setWindowState(Qt::WindowNoState);
    QCOMPARE(desktop->broughtToCurrentDesktop.size(), 1);

    // The next alarm finds it minimised: it is brought to the user before it is restored, so
    // that restoring it does not take the user to the desktop it was on.
    alarm.setWindowState(Qt::WindowMinimized);
    alarm.showWindow();
    QCOMPARE(desktop->broughtToCurrentDesktop.size(), 2);
    QCOMPARE(desktop->minimisedWhenBrought.last(), true);
    QVERIFY(!alarm.isMinimized());

    // The alarm box comes to the user; an error box answers the user where the user is.
    for (const auto arrival : {forms::Desktop::Arrival::Unasked, forms::Desktop::Arrival::Answer}) {
        const auto box = forms::SystemDesktop::createMessageBox(
            nullptr, forms::Desktop::Icon::Exclamation, texts::caption(),
            QStringLiteral("It has been 1 minute(s)."), arrival);
        box->show();
    }
    QCOMPARE(desktop->broughtToCurrentDesktop,
             (QStringList{QStringLiteral("Alarm"), QStringLiteral("Alarm"), texts::caption()}));
}

QTEST_MAIN(TestUnasked)
#include "tst_unasked.moc"
