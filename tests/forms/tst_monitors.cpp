#include "alarm_windows/alarmpopup.h"
#include "countdown/mainwindow.h"
#include "forms/desktop/desktop.h"
#include "forms/placement/registry.h"
#include "rules/desk.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "support/recordingdesktop.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <qpa/qplatformnativeinterface.h>

#include <memory>

using Rects = QList<QRect>;
using OptionalRect = std::optional<QRect>;
using OptionalPoint = std::optional<QPoint>;

namespace {

// Lays out the offscreen platform's monitors: (name, rectangle) pairs. The platform adds new
// monitors in the order of their names, and the first one there is the primary.
void layOut(const QList<std::pair<QString, QRect>> &monitors)
{
    QJsonArray screens;
    for (const auto &[name, rect] : monitors) {
        screens.append(QJsonObject{{QStringLiteral("name"), name},
                                   {QStringLiteral("x"), rect.x()},
                                   {QStringLiteral("y"), rect.y()},
                                   {QStringLiteral("width"), rect.width()},
                                   {QStringLiteral("height"), rect.height()}});
    }
    QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
    using Configure = void (*)(const QJsonObject &, QPlatformNativeInterface *);
    auto configure = reinterpret_cast<Configure>(
        native->nativeResourceForIntegration(QByteArrayLiteral("setConfiguration")));
    QVERIFY(configure);
    configure(QJsonObject{{QStringLiteral("screens"), screens}}, native);
    QCoreApplication::processEvents();
}

QScreen *screenNamed(const QString &name)
{
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

// Whether the window's frame stands in the middle of the area, to a pixel's rounding.
bool centredOn(const QWidget &window, const QRect &area)
{
    const QPoint off = window.frameGeometry().center() - area.center();
    return qAbs(off.x()) <= 1 && qAbs(off.y()) <= 1;
}

const QString Primary = QStringLiteral("a-primary");
const QString Other = QStringLiteral("b-other");

} // namespace

class TestMonitors : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void userMonitor_data();
    void userMonitor();
    void reachable_data();
    void reachable();

    void windowsStandOnThePrimaryAlarmsComeToTheUser_data();
    void windowsStandOnThePrimaryAlarmsComeToTheUser();
    // Takes the primary monitor away for good: last.
    void aMonitorGoingAwayLeavesNoWindowOutOfReach();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestMonitors::initTestCase()
{
    forms::prepareApplication(*qApp);
}

void TestMonitors::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestMonitors::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestMonitors::userMonitor_data()
{
    QTest::addColumn<Rects>("monitors");
    QTest::addColumn<int>("primary");
    QTest::addColumn<OptionalRect>("focused");
    QTest::addColumn<OptionalPoint>("pointer");
    QTest::addColumn<int>("expected");

    // The primary right of a smaller monitor at the screen's origin.
    const Rects desk{QRect(1024, 0, 1600, 1200), QRect(0, 0, 1024, 768)};
    const OptionalRect none;
    const OptionalPoint nowhere;
    QTest::newRow("one monitor") << Rects{QRect(0, 0, 1024, 768)} << 0
                                 << OptionalRect(QRect(10, 10, 300, 200))
                                 << OptionalPoint(QPoint(5, 5)) << 0;
    QTest::newRow("focused window on the other")
        << desk << 0 << OptionalRect(QRect(0, 0, 1024, 768)) << OptionalPoint(QPoint(1500, 600))
        << 1;
    QTest::newRow("focused window on the primary, pointer on the other")
        << desk << 0 << OptionalRect(QRect(1100, 40, 600, 400)) << OptionalPoint(QPoint(30, 30))
        << 0;
    QTest::newRow("focused window across both, most on the other")
        << desk << 0 << OptionalRect(QRect(500, 100, 700, 300)) << nowhere << 1;
    QTest::newRow("focused window across both, most on the primary")
        << desk << 0 << OptionalRect(QRect(900, 100, 700, 300)) << nowhere << 0;
    QTest::newRow("no focused window: the pointer's")
        << desk << 0 << none << OptionalPoint(QPoint(1023, 767)) << 1;
    QTest::newRow("focused window on no monitor: the pointer's")
        << desk << 0 << OptionalRect(QRect(100, 900, 300, 200)) << OptionalPoint(QPoint(0, 0)) << 1;
    QTest::newRow("pointer on no monitor: the primary")
        << desk << 0 << none << OptionalPoint(QPoint(500, 1000)) << 0;
    QTest::newRow("nothing told: the primary, listed second")
        << Rects{QRect(0, 0, 1024, 768), QRect(1024, 0, 1600, 1200)} << 1 << none << nowhere << 1;
    QTest::newRow("primary unknown: the first") << desk << -1 << none << nowhere << 0;
}

void TestMonitors::userMonitor()
{
    QFETCH(Rects, monitors);
    QFETCH(int, primary);
    QFETCH(OptionalRect, focused);
    QFETCH(OptionalPoint, pointer);
    QFETCH(int, expected);
    QCOMPARE(desk::userMonitor(monitors, primary, focused, pointer), expected);
}

void TestMonitors::reachable_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<bool>("expected");

    QTest::newRow("on the primary") << QRect(1100, 100, 300, 200) << true;
    QTest::newRow("on the gap below the smaller monitor") << QRect(100, 900, 300, 200) << false;
    QTest::newRow("title bar just inside the smaller monitor") << QRect(100, 744, 300, 200) << true;
    QTest::newRow("title bar a pixel too low") << QRect(100, 745, 300, 200) << false;
    QTest::newRow("a corner of the title bar across the edge")
        << QRect(-280, 100, 300, 200) << false;
    QTest::newRow("left of every monitor") << QRect(-400, 100, 300, 200) << false;
}

void TestMonitors::reachable()
{
    QFETCH(QRect, frame);
    QFETCH(bool, expected);
    QCOMPARE(desk::reachable(frame, {QRect(1024, 0, 1600, 1200), QRect(0, 0, 1024, 768)}),
             expected);
}

void TestMonitors::windowsStandOnThePrimaryAlarmsComeToTheUser_data()
{
    QTest::addColumn<QRect>("primary");
    QTest::addColumn<QRect>("other");

    QTest::newRow("right of a smaller one") << QRect(1024, 0, 1600, 1200) << QRect(0, 0, 1024, 768);
    QTest::newRow("left of a larger one") << QRect(0, 0, 1280, 1024) << QRect(1280, 0, 1920, 1080);
    QTest::newRow("below a smaller one") << QRect(0, 768, 1600, 1200) << QRect(0, 0, 1024, 768);
    QTest::newRow("above one further left")
        << QRect(300, 0, 1920, 1080) << QRect(0, 1080, 1366, 768);
    QTest::newRow("one monitor") << QRect(0, 0, 1024, 768) << QRect();
}

void TestMonitors::windowsStandOnThePrimaryAlarmsComeToTheUser()
{
    QFETCH(QRect, primary);
    QFETCH(QRect, other);
    QList<std::pair<QString, QRect>> desk{{Primary, primary}};
    if (other.isValid())
        desk.append({Other, other});
    layOut(desk);
    QCOMPARE(QGuiApplication::primaryScreen()->name(), Primary);
    QScreen *otherScreen = screenNamed(Other);

    // The main window and the advertisement stand at their places counted from the primary's
    // corner, About in the primary's middle.
    MainWindow &f = forms::show<MainWindow>();
    QCOMPARE(f.client()->mapToGlobal(QPoint(0, 0)), primary.topLeft() + QPoint(84, 110));
    Advertisement *advertisement = forms::loaded<Advertisement>();
    QVERIFY(advertisement && advertisement->isVisible());
    QCOMPARE(advertisement->client()->mapToGlobal(QPoint(0, 0)),
             primary.topLeft() + QPoint(80, 411));
    AboutWindow &about = forms::show<AboutWindow>();
    QVERIFY(centredOn(about, QGuiApplication::primaryScreen()->availableGeometry()));
    forms::unload(about);

    // The user works on the other monitor: the alarms come there, in its middle.
    desktop->userWorksOn = otherScreen;
    AlarmPopup &popup = forms::show<AlarmPopup>();
    std::unique_ptr<QMessageBox> box = forms::SystemDesktop::createMessageBox(
        nullptr, forms::Desktop::Icon::Exclamation, QStringLiteral("Kelto Zelbo Break"),
        QStringLiteral("It has been 1 minute(s)."), forms::Desktop::Arrival::Unasked);
    box->show();
    if (!otherScreen) {
        // With one monitor the pop-up goes where the window system puts a new window.
        QVERIFY(!popup.testAttribute(Qt::WA_Moved));
        return;
    }
    QVERIFY(centredOn(popup, other));
    QVERIFY(centredOn(*box, other));
    box->hide();

    // Shown again while it is open, the pop-up follows the user to the primary.
    desktop->userWorksOn = QGuiApplication::primaryScreen();
    forms::show<AlarmPopup>();
    QVERIFY(centredOn(popup, primary));
    // And stays where it is when it is on the user's monitor already.
    popup.move(popup.pos() + QPoint(40, 30));
    const QPoint moved = popup.pos();
    forms::show<AlarmPopup>();
    QCOMPARE(popup.pos(), moved);
}

void TestMonitors::aMonitorGoingAwayLeavesNoWindowOutOfReach()
{
    const QRect smaller(0, 0, 1024, 768);
    layOut({{Primary, QRect(1024, 0, 1600, 1200)}, {Other, smaller}});
    MainWindow &f = forms::show<MainWindow>();
    std::unique_ptr<QMessageBox> box = forms::SystemDesktop::createMessageBox(
        nullptr, forms::Desktop::Icon::Exclamation, QStringLiteral("Kelto Zelbo Break"),
        QStringLiteral("It has been 1 minute(s)."), forms::Desktop::Arrival::Unasked);
    box->show();
    QVERIFY(QGuiApplication::primaryScreen()->geometry().contains(box->geometry()));
    const QPoint advertisementAt = forms::form<Advertisement>().pos();

    // The primary is unplugged: the one left is the primary now, and the windows that stood on
    // the old one come to their places on it.
    layOut({{Other, smaller}});
    QCOMPARE(QGuiApplication::primaryScreen()->geometry(), smaller);
    QTRY_COMPARE(f.client()->mapToGlobal(QPoint(0, 0)), QPoint(84, 110));
    QVERIFY(desk::reachable(box->frameGeometry(), {smaller}));
    QVERIFY(desk::reachable(forms::form<Advertisement>().frameGeometry(), {smaller}));
    QVERIFY(forms::form<Advertisement>().pos() != advertisementAt);

    // The next alarm comes on the monitor that exists, where the window system puts it.
    desktop->userWorksOn = nullptr;
    QVERIFY(desk::reachable(forms::show<AlarmPopup>().frameGeometry(), {smaller}));

    // Window managers pull a window that went with its monitor to the edge of another, where only
    // its title bar's corner shows: it comes to its place as well.
    layOut({{Primary, QRect(1024, 0, 1600, 1200)}, {Other, smaller}});
    f.move(smaller.right() - 28, 100);
    layOut({{Other, smaller}});
    QTRY_COMPARE(f.client()->mapToGlobal(QPoint(0, 0)), QPoint(84, 110));

    // A monitor plugged in takes nothing away from where it is.
    f.move(f.pos() + QPoint(20, 10));
    const QPoint mainAt = f.pos();
    layOut({{Other, smaller}, {QStringLiteral("c-new"), QRect(1024, 0, 1920, 1080)}});
    QCoreApplication::processEvents();
    QCOMPARE(f.pos(), mainAt);
    // Nor does a change of monitors move a window the user put across two of them.
    f.move(1024 - 100, 200);
    const QPoint acrossAt = f.pos();
    layOut({{Other, smaller}, {QStringLiteral("c-new"), QRect(1024, 0, 1600, 1200)}});
    QCoreApplication::processEvents();
    QCOMPARE(f.pos(), acrossAt);
}

QTEST_MAIN(TestMonitors)
#include "tst_monitors.moc"
