#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/farewellwindow.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <memory>

// Every way a window can be opened and unloaded, repeated: the windows, their timers and the
// memory they held must all go again.
enum class Way {
    PopupContinue,
    PopupStop,
    EditorOk,
    EditorCancel,
    AboutOk,
    AdClose,
    AdCountsOut,
    CloseMain,
    CloseAbout,
    CloseFarewell,
    CloseAd,
    CloseEditor,
    ClosePopup,
    ExitSequence
};
Q_DECLARE_METATYPE(Way)

namespace {

constexpr int WarmUp = 50;
constexpr int Batch = 50;
// Resident growth allowed after the warm-up: allocator slack. A window that outlives its cycle
// holds tens of kilobytes, so leaking one per cycle would overrun this many times over.
constexpr long RssAllowanceKiB = 2 * 1024;

// What a lost window would leave behind: top-level widgets (hidden ones and pop-up menus
// included), timers under them (window timers and any QTimer), the enabled window timers, and
// the loaded windows.
QList<int> census()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    int timers = 0;
    int running = 0;
    for (QWidget *w : windows) {
        const auto windowTimers = w->findChildren<forms::Timer *>();
        timers += int(windowTimers.size() + w->findChildren<QTimer *>().size());
        for (const forms::Timer *t : windowTimers)
            running += t->isEnabled();
    }
    return {int(windows.size()), timers, running, int(forms::loadedWindows().size())};
}

// VmRSS in KiB, or -1 where /proc is missing.
long residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// AddressSanitizer keeps freed memory in quarantine (256 MB by default), so under it resident
// size measures the quarantine, not the program; it finds lost memory itself at exit.
#ifdef __SANITIZE_ADDRESS__
constexpr bool MeasuresResidentMemory = false;
#else
constexpr bool MeasuresResidentMemory = true;
#endif

// Between two user actions the event loop runs: it delivers the posted and window-system events
// the windows raised and deletes the windows unloaded. A cycle takes milliseconds, well under the
// timers' intervals of a second or more, so no tick falls due here.
void returnToEventLoop()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What the window system sends for Alt+F4 or the close box.
template <class T>
void closeByWindowSystem(T *window)
{
    QVERIFY(window);
    // The event loop delivers the window's exposure before the user can reach its close box.
    QCoreApplication::processEvents();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    closeByWindowSystem(static_cast<QWidget &>(*window));
    QVERIFY(!forms::loaded<T>());
}

// Shows a window with its own countdown stopped: the steady clock must play no part here.
template <class T>
T &showHeld()
{
    T &window = forms::show<T>();
    holdCountdowns(window);
    return window;
}

// The advertisement, kept loaded as the program's other window.
void holdAdvertisement()
{
    showHeld<Advertisement>();
}

} // namespace

class TestLifecycle : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void churnLeavesNothingBehind_data();
    void churnLeavesNothingBehind();

private:
    void setUp(Way way);
    void cycle(Way way, int done);

    std::unique_ptr<RecordingDesktop> desktop;
};

void TestLifecycle::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestLifecycle::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestLifecycle::setUp(Way way)
{
    if (way == Way::ExitSequence)
        return;
    if (way == Way::CloseMain)
        return holdAdvertisement();
    // The main window stays hidden: loaded all the same, and not repainted at every cycle.
    MainWindow &main = forms::form<MainWindow>();
    minutesBox(main)->setText(QStringLiteral("1"));
    if (way == Way::CloseFarewell)
        return holdAdvertisement();
    control<QPushButton>(*forms::loaded<Advertisement>(), "closeButton")->click();
    if (way == Way::PopupContinue)
        press(main, "beginButton");
}

void TestLifecycle::cycle(Way way, int done)
{
    MainWindow *main = forms::loaded<MainWindow>();
    switch (way) {
    case Way::PopupContinue:
    case Way::PopupStop: {
        const bool stop = way == Way::PopupStop;
        if (stop)
            press(*main, "beginButton");
        tick(*main, 60);
        AlarmPopup *popup = forms::loaded<AlarmPopup>();
        QVERIFY(popup);
        press(*popup, stop ? "stopButton" : "continueButton");
        QVERIFY(!forms::loaded<AlarmPopup>());
        QCOMPARE(countdownOf(*main)->isEnabled(), !stop);
        break;
    }
    case Way::EditorOk:
    case Way::EditorCancel: {
        press(*main, "messageEntry");
        MessageEditor *editor = forms::loaded<MessageEditor>();
        QVERIFY(editor);
        messageText(*editor)->setText(QString::number(done));
        const bool ok = way == Way::EditorOk;
        press(*editor, ok ? "okButton" : "cancelButton");
        QVERIFY(!forms::loaded<MessageEditor>());
        QCOMPARE(main->alarmMessage(), ok ? QString::number(done) : QString());
        break;
    }
    case Way::AboutOk:
        press(*main, "aboutEntry");
        QVERIFY(forms::loaded<AboutWindow>());
        control<QPushButton>(*forms::loaded<AboutWindow>(), "okButton")->click();
        QVERIFY(!forms::loaded<AboutWindow>());
        break;
    case Way::AdClose:
    case Way::AdCountsOut: {
        Advertisement &ad = forms::show<Advertisement>();
        if (way == Way::AdClose)
            control<QPushButton>(ad, "closeButton")->click();
        else
            tick(ad, 15);
        QVERIFY(!forms::loaded<Advertisement>());
        break;
    }
    case Way::CloseMain:
        closeByWindowSystem(&forms::show<MainWindow>());
        QVERIFY(forms::loaded<Advertisement>());
        break;
    case Way::CloseAbout:
        press(*main, "aboutEntry");
        closeByWindowSystem(forms::loaded<AboutWindow>());
        break;
    case Way::CloseFarewell:
        // The farewell window belongs to the exit sequence: however it goes, the program ends.
        closeByWindowSystem(&showHeld<FarewellWindow>());
        QVERIFY(forms::loadedWindows().isEmpty());
        QCOMPARE(desktop->programEnds, done + 1);
        setUp(way);
        return;
    case Way::CloseAd:
        closeByWindowSystem(&showHeld<Advertisement>());
        break;
    case Way::CloseEditor:
        press(*main, "messageEntry");
        closeByWindowSystem(forms::loaded<MessageEditor>());
        break;
    case Way::ClosePopup:
        // The user closes the alarm instead of answering it, then takes back the settings.
        press(*main, "beginButton");
        tick(*main, 60);
        closeByWindowSystem(forms::loaded<AlarmPopup>());
        QVERIFY(!countdownOf(*main)->isEnabled());
        press(*main, "changeButton");
        QVERIFY(control<QPushButton>(*main, "beginButton")->isEnabled());
        break;
    case Way::ExitSequence:
        press(forms::show<MainWindow>(), "exitButton");
        QVERIFY(forms::loaded<FarewellWindow>());
        QVERIFY(!forms::loaded<MainWindow>());
        tick(*forms::loaded<FarewellWindow>(), 1);
        QVERIFY(forms::loadedWindows().isEmpty());
        QCOMPARE(desktop->programEnds, done + 1);
        return;
    }
    QCOMPARE(desktop->programEnds, 0);
}

void TestLifecycle::churnLeavesNothingBehind_data()
{
    QTest::addColumn<Way>("way");
    QTest::addColumn<int>("cycles");
    // A window closed by the window system must first be exposed, so each of those cycles paints
    // it, and each cycle of the exit sequence builds three windows: several times the cost of
    // the other cycles, up to 15 ms under AddressSanitizer. Four hundred cycles, seven batches
    // of fifty past the warm-up, keep the whole run near twenty seconds there.
    constexpr int Cycles = 1000;
    constexpr int PaintedCycles = 400;
    QTest::newRow("pop-up, Continue Countdown") << Way::PopupContinue << Cycles;
    QTest::newRow("pop-up, Stop") << Way::PopupStop << Cycles;
    QTest::newRow("editor, Ok") << Way::EditorOk << Cycles;
    QTest::newRow("editor, Cancel") << Way::EditorCancel << Cycles;
    QTest::newRow("About, Ok") << Way::AboutOk << Cycles;
    QTest::newRow("advertisement, Close") << Way::AdClose << Cycles;
    QTest::newRow("advertisement, counted out") << Way::AdCountsOut << Cycles;
    QTest::newRow("window system closes main") << Way::CloseMain << PaintedCycles;
    QTest::newRow("window system closes About") << Way::CloseAbout << PaintedCycles;
    QTest::newRow("window system closes farewell") << Way::CloseFarewell << PaintedCycles;
    QTest::newRow("window system closes advertisement") << Way::CloseAd << PaintedCycles;
    QTest::newRow("window system closes editor") << Way::CloseEditor << PaintedCycles;
    QTest::newRow("window system closes pop-up") << Way::ClosePopup << PaintedCycles;
    QTest::newRow("exit sequence") << Way::ExitSequence << PaintedCycles;
}

void TestLifecycle::churnLeavesNothingBehind()
{
    QFETCH(Way, way);
    QFETCH(int, cycles);

    setUp(way);
    QVERIFY(!QTest::currentTestFailed());
    int done = 0;
    const auto runBatch = [&](int size) {
        for (const int end = done + size; done < end && !QTest::currentTestFailed(); ++done) {
            cycle(way, done);
            returnToEventLoop();
        }
    };

    runBatch(WarmUp);
    QVERIFY(!QTest::currentTestFailed());
    const QList<int> base = census();
    const long baseRss = residentKiB();
    while (done < cycles) {
        runBatch(std::min(Batch, cycles - done));
        const QString ran = QStringLiteral("stopped after %1 cycles").arg(done);
        QVERIFY2(!QTest::currentTestFailed(), qPrintable(ran));
        QCOMPARE(census(), base);
        if (MeasuresResidentMemory && baseRss >= 0) {
            const long growth = residentKiB() - baseRss;
            QVERIFY2(growth <= RssAllowanceKiB,
                     qPrintable(QStringLiteral("resident memory grew by %1 KiB in %2 cycles")
                                    .arg(growth)
                                    .arg(done - WarmUp)));
        }
    }
    QCOMPARE(done, cycles);
}

QTEST_MAIN(TestLifecycle)
#include "tst_lifecycle.moc"
