#include "forms/controls/commandbutton.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace std::chrono_literals;

namespace {

// A window with a text box, a timer that runs from creation, and a button that unloads the
// window from inside its own click handler, then carries on as a handler may.
class Probe : public forms::Window
{
    Q_OBJECT
public:
    Probe() : forms::Window(QStringLiteral("Probe"), 3000, 1500)
    {
        ++created;
        box = new QLineEdit(client());
        closeButton = new forms::CommandButton(QStringLiteral("&Close"), client());
        closeButton->move(0, 40);
        connect(closeButton, &QPushButton::clicked, this, &Probe::unloadItself);
        timer = new forms::Timer(1000ms, this);
        timer->setEnabled(true);
    }
    ~Probe() override { ++destroyed; }

    void unloadItself()
    {
        forms::unload(*this);
        ++handlerReturned;
    }

    QLineEdit *box;
    forms::CommandButton *closeButton;
    forms::Timer *timer;

    static inline int created = 0;
    static inline int destroyed = 0;
    static inline int loads = 0;
    static inline int handlerReturned = 0;

protected:
    void whenLoaded() override { ++loads; }
};

class Other : public forms::Window
{
    Q_OBJECT
public:
    Other() : forms::Window(QStringLiteral("Other"), 1500, 1500) { }
};

} // namespace

class TestRegistry : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void createdAndLoadedOnFirstReference();
    void showDisplaysWithoutWaiting();
    void hideHidesOnlyALoadedWindow();
    void unloadFromInsideOwnHandler();
    void unloadDiscardsControlsContents();
    void unloadOfUnloadedWindowIsHarmless();
    void programEndsWhenLastLoadedWindowIsUnloaded();
    void windowSystemCloseUnloadsAndRunsNoHandler();
    void unloadAllDestroysEveryWindowAndStopsTimers();
    void placesClientAreaAtItsTwipsPosition();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestRegistry::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
    Probe::created = Probe::destroyed = Probe::loads = Probe::handlerReturned = 0;
}

void TestRegistry::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestRegistry::createdAndLoadedOnFirstReference()
{
    QVERIFY(!forms::loaded<Probe>());
    Probe &first = forms::form<Probe>();
    QCOMPARE(Probe::created, 1);
    QCOMPARE(Probe::loads, 1);
    QVERIFY(!first.isVisible());

    QCOMPARE(&forms::form<Probe>(), &first);
    QCOMPARE(&forms::show<Probe>(), &first);
    QCOMPARE(Probe::created, 1);
    QCOMPARE(Probe::loads, 1);
    QCOMPARE(forms::loadedWindows().size(), 1);
}

void TestRegistry::showDisplaysWithoutWaiting()
{
    Probe &probe = forms::show<Probe>();
    QVERIFY(probe.isVisible());
    probe.showMinimized();
    forms::show<Probe>();
    QVERIFY(!probe.isMinimized());
}

void TestRegistry::hideHidesOnlyALoadedWindow()
{
    // A window that is not loaded is not created to be hidden.
    forms::hide<Probe>();
    QVERIFY(!forms::loaded<Probe>());
    QCOMPARE(Probe::created, 0);

    Probe &probe = forms::form<Probe>();
    QCOMPARE(Probe::loads, 1);
    QVERIFY(!probe.isVisible());
    // Its timers run as for a visible window.
    QVERIFY(probe.timer->isEnabled());

    forms::show<Probe>();
    forms::hide<Probe>();
    QVERIFY(!probe.isVisible());
    QCOMPARE(Probe::created, 1);
}

void TestRegistry::unloadFromInsideOwnHandler()
{
    Probe &probe = forms::show<Probe>();
    forms::show<Other>();
    QPointer<Probe> guard(&probe);
    QTest::mouseClick(probe.closeButton, Qt::LeftButton);

    QCOMPARE(Probe::handlerReturned, 1);
    QVERIFY(!forms::loaded<Probe>());
    QVERIFY(guard);
    QVERIFY(!guard->isVisible());
    QVERIFY(!guard->timer->isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
    QCOMPARE(Probe::destroyed, 1);
    QCOMPARE(desktop->programEnds, 0);

    // A later reference creates a fresh window, loaded again.
    forms::form<Probe>();
    QCOMPARE(Probe::created, 2);
    QCOMPARE(Probe::loads, 2);
}

void TestRegistry::unloadDiscardsControlsContents()
{
    forms::show<Probe>().box->setText(QStringLiteral("typed"));
    forms::unload<Probe>();
    QCOMPARE(forms::form<Probe>().box->text(), QString());
}

void TestRegistry::unloadOfUnloadedWindowIsHarmless()
{
    forms::show<Other>();
    forms::unload<Probe>();
    QVERIFY(!forms::loaded<Probe>());
    QCOMPARE(desktop->programEnds, 0);
}

void TestRegistry::programEndsWhenLastLoadedWindowIsUnloaded()
{
    forms::show<Probe>();
    forms::form<Other>();

    forms::unload<Probe>();
    QCOMPARE(desktop->programEnds, 0); // a hidden window still counts as loaded
    forms::unload<Other>();
    QCOMPARE(desktop->programEnds, 1);
}

void TestRegistry::windowSystemCloseUnloadsAndRunsNoHandler()
{
    Probe &probe = forms::show<Probe>();
    forms::show<Other>();
    QVERIFY(QTest::qWaitForWindowExposed(&probe));
    QPointer<Probe> guard(&probe);

    // What the window system sends for Alt+F4 or the close box.
    closeByWindowSystem(probe);

    QVERIFY(!forms::loaded<Probe>());
    QCOMPARE(Probe::handlerReturned, 0);
    QVERIFY(forms::loaded<Other>());
    QCOMPARE(desktop->programEnds, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
}

void TestRegistry::unloadAllDestroysEveryWindowAndStopsTimers()
{
    QPointer<Probe> shown(&forms::show<Probe>());
    QPointer<Other> hidden(&forms::form<Other>());

    forms::unloadAll();

    QCOMPARE(desktop->programEnds, 1);
    QVERIFY(forms::loadedWindows().isEmpty());
    QVERIFY(!shown->isVisible());
    QVERIFY(!shown->timer->isEnabled());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!shown);
    QVERIFY(!hidden);
}

void TestRegistry::placesClientAreaAtItsTwipsPosition()
{
    Probe &probe = forms::form<Probe>();
    probe.placeClientAtTwips(1260, 1650);
    probe.show();
    QCOMPARE(probe.mapToGlobal(probe.client()->pos()), QPoint(84, 110));
    QCOMPARE(probe.client()->size(), QSize(200, 100));
}

QTEST_MAIN(TestRegistry)
#include "tst_registry.moc"
