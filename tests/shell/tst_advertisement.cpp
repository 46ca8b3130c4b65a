#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/contrast.h"
#include "forms/controls/image.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/farewellwindow.h"
#include "shell/links.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <algorithm>
#include <memory>

using namespace std::chrono_literals;

namespace {

// The advertisement the main window's load brought up.
Advertisement *advertisementOfMainWindow()
{
    forms::form<MainWindow>();
    return forms::loaded<Advertisement>();
}

bool anyFarewellWindowExists()
{
    const auto windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](QWidget *w) { return qobject_cast<FarewellWindow *>(w) != nullptr; });
}

forms::Label *secondsLeft(const Advertisement &ad)
{
    return control<forms::Label>(ad, "secondsLeft");
}

// Gives the application other colours, as the desktop's style does when it changes. The windows
// take them from an event Qt posts.
void setStyleColours(const QPalette &colours)
{
    QApplication::setPalette(colours);
    QCoreApplication::processEvents();
}

} // namespace

class TestAdvertisement : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void comesUpWithTheMainWindow();
    void countsDownAndUnloadsItself_data();
    void countsDownAndUnloadsItself();
    void closeButtonUnloadsAtOnce();
    void clicksOpenTheReferralLink_data();
    void clicksOpenTheReferralLink();
    void mainWindowLoadedAgainBringsTheSameAdvertisement();
    void programEndsWhenTheAdvertisementIsTheLastWindow_data();
    void programEndsWhenTheAdvertisementIsTheLastWindow();
    void designedColoursStayReadableInEveryStyle_data();
    void designedColoursStayReadableInEveryStyle();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestAdvertisement::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestAdvertisement::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestAdvertisement::comesUpWithTheMainWindow()
{
    QVERIFY(!forms::loaded<Advertisement>());
    MainWindow &main = forms::form<MainWindow>();
    Advertisement *ad = forms::loaded<Advertisement>();
    QVERIFY(ad);
    QVERIFY(ad->isVisible());
    QVERIFY(!main.isVisible());
    // Read before the event loop runs, in which the advertisement's one-second timer ticks.
    QCOMPARE(secondsLeft(*ad)->caption(), QStringLiteral("15"));
    QVERIFY(QTest::qWaitForWindowExposed(ad));

    QCOMPARE(ad->windowTitle(), QStringLiteral("Advertisement"));
    QVERIFY(ad->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(ad->client()->size(), forms::sizeFromTwips(7275, 1920));
    QCOMPARE(ad->client()->mapToGlobal(QPoint(0, 0)), QPoint(80, 411));
    // The seconds in bold dark red, the invitation underlined in blue like a link.
    const forms::Label *seconds = secondsLeft(*ad);
    const auto *invitation = control<forms::Label>(*ad, "invitation");
    QVERIFY(seconds->font().bold() && !seconds->font().underline());
    QCOMPARE(seconds->palette().color(QPalette::WindowText), QColor(192, 0, 0));
    QVERIFY(invitation->font().underline() && !invitation->font().bold());
    QCOMPARE(invitation->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(countdownOf(*ad)->isEnabled());
    QCOMPARE(countdownOf(*ad)->interval(), 1000ms);
}

void TestAdvertisement::countsDownAndUnloadsItself_data()
{
    QTest::addColumn<bool>("bySignal");
    QTest::newRow("tick handler") << false;
    QTest::newRow("timer signal") << true;
}

void TestAdvertisement::countsDownAndUnloadsItself()
{
    QFETCH(bool, bySignal);

    Advertisement *ad = advertisementOfMainWindow();
    QPointer<Advertisement> guard(ad);
    QStringList captions;
    forms::Label *seconds = secondsLeft(*ad);
    forms::Timer *countdown = countdownOf(*ad);
    connect(seconds, &forms::Label::changed, seconds, [&] { captions.append(seconds->caption()); });

    int returned = 0;
    for (int i = 0; i < 15; ++i) {
        QCOMPARE(forms::loaded<Advertisement>(), ad);
        if (bySignal)
            emit countdown->timer();
        else
            tick(*ad, 1);
        ++returned;
    }

    QCOMPARE(returned, 15);
    QStringList expected;
    for (int n = 14; n >= 0; --n)
        expected.append(QString::number(n));
    QCOMPARE(captions, expected);
    QVERIFY(!forms::loaded<Advertisement>());
    QVERIFY(guard);
    QVERIFY(!guard->isVisible());
    QVERIFY(!countdown->isEnabled());
    QCOMPARE(desktop->programEnds, 0); // the main window is still loaded

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
    QVERIFY(forms::loaded<MainWindow>());
    QCOMPARE(desktop->programEnds, 0);
}

void TestAdvertisement::closeButtonUnloadsAtOnce()
{
    Advertisement *ad = advertisementOfMainWindow();
    QPointer<Advertisement> guard(ad);
    QSignalSpy ticks(countdownOf(*ad), &forms::Timer::timer);

    QTest::mouseClick(control<QPushButton>(*ad, "closeButton"), Qt::LeftButton);

    QVERIFY(!forms::loaded<Advertisement>());
    QVERIFY(!guard->isVisible());
    QVERIFY(!countdownOf(*guard)->isEnabled());
    QCOMPARE(secondsLeft(*guard)->caption(), QStringLiteral("15"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!guard);
    QCOMPARE(ticks.size(), 0);
    QVERIFY(forms::loaded<MainWindow>());
    QCOMPARE(desktop->programEnds, 0);
}

void TestAdvertisement::clicksOpenTheReferralLink_data()
{
    QTest::addColumn<bool>("onBanner");
    QTest::newRow("banner") << true;
    QTest::newRow("invitation") << false;
}

void TestAdvertisement::clicksOpenTheReferralLink()
{
    QFETCH(bool, onBanner);

    QVERIFY(links::ReferralLink.startsWith(
        QStringLiteral("http://www.rudirivezodo.example/home.asp?refid=")));
    Advertisement *ad = advertisementOfMainWindow();
    auto *target = control<forms::Label>(*ad, onBanner ? "banner" : "invitation");
    tick(*ad, 3);

    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(desktop->links, QStringList(links::ReferralLink));
    QCOMPARE(forms::loaded<Advertisement>(), ad);
    QVERIFY(ad->isVisible());
    QVERIFY(countdownOf(*ad)->isEnabled());

    QTest::mouseClick(target, Qt::LeftButton);
    QCOMPARE(desktop->links, QStringList({links::ReferralLink, links::ReferralLink}));

    // The count goes on from where it was.
    QCOMPARE(secondsLeft(*ad)->caption(), QStringLiteral("12"));
    tick(*ad, 1);
    QCOMPARE(secondsLeft(*ad)->caption(), QStringLiteral("11"));
}

void TestAdvertisement::mainWindowLoadedAgainBringsTheSameAdvertisement()
{
    Advertisement *ad = advertisementOfMainWindow();
    tick(*ad, 3);
    forms::form<AboutWindow>(); // keeps the program running while neither of the two is loaded
    ad->hide();

    forms::unload<MainWindow>();
    forms::form<MainWindow>();
    QCOMPARE(forms::loaded<Advertisement>(), ad);
    QVERIFY(ad->isVisible());
    QCOMPARE(secondsLeft(*ad)->caption(), QStringLiteral("12"));

    control<QPushButton>(*ad, "closeButton")->click();
    forms::unload<MainWindow>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    forms::form<MainWindow>();
    Advertisement *fresh = forms::loaded<Advertisement>();
    QVERIFY(fresh);
    QVERIFY(fresh->isVisible());
    QCOMPARE(secondsLeft(*fresh)->caption(), QStringLiteral("15"));
    QVERIFY(countdownOf(*fresh)->isEnabled());
    QCOMPARE(desktop->programEnds, 0);
}

void TestAdvertisement::programEndsWhenTheAdvertisementIsTheLastWindow_data()
{
    QTest::addColumn<bool>("countedOut");
    QTest::newRow("counted out") << true;
    QTest::newRow("Close button") << false;
}

void TestAdvertisement::programEndsWhenTheAdvertisementIsTheLastWindow()
{
    QFETCH(bool, countedOut);

    MainWindow &main = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    Advertisement *ad = forms::loaded<Advertisement>();
    closeByWindowSystem(main);
    QCOMPARE(forms::loadedWindows(), QList<forms::Window *>({ad}));
    QCOMPARE(desktop->programEnds, 0);

    if (countedOut)
        tick(*ad, 15);
    else
        control<QPushButton>(*ad, "closeButton")->click();

    QCOMPARE(desktop->programEnds, 1);
    QVERIFY(forms::loadedWindows().isEmpty());
    QVERIFY(!forms::loaded<FarewellWindow>());
    QVERIFY(!anyFarewellWindowExists());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(desktop->programEnds, 1);
}

void TestAdvertisement::designedColoursStayReadableInEveryStyle_data()
{
    // The coloured texts of the advertisement and of About: which, and as designed.
    QTest::addColumn<int>("which");
    QTest::addColumn<QColor>("designed");
    QTest::newRow("count") << 0 << QColor(192, 0, 0);
    QTest::newRow("invitation, a link") << 1 << QColor(0, 0, 255);
    QTest::newRow("About's e-mail address, a link") << 2 << QColor(0, 0, 255);
}

void TestAdvertisement::designedColoursStayReadableInEveryStyle()
{
    QFETCH(int, which);
    QFETCH(QColor, designed);
    const QPalette light = QApplication::palette();
    const auto restore = qScopeGuard([&] { setStyleColours(light); });
    // A dark style whose own link colour is readable and blue, in which the window opens.
    const QColor lightBlue(138, 180, 248);
    QPalette dark = light;
    dark.setColor(QPalette::Window, QColor(50, 50, 50));
    dark.setColor(QPalette::Link, lightBlue);
    setStyleColours(dark);

    Advertisement *ad = advertisementOfMainWindow();
    forms::Label *label = which == 0 ? secondsLeft(*ad)
                          : which == 1
                              ? control<forms::Label>(*ad, "invitation")
                              : control<forms::Label>(forms::show<AboutWindow>(), "mailAddress");
    auto shown = [&] { return label->palette().color(QPalette::WindowText); };
    auto readableOfItsHue = [&] {
        return shown().hslHue() == designed.hslHue()
               && forms::contrast::ratio(shown(), QColor(50, 50, 50)) >= 4.5;
    };
    QVERIFY2(which == 0 ? readableOfItsHue() : shown() == lightBlue, qPrintable(shown().name()));

    // The style changes while the window is open: to a light one, then to GNOME's dark style as
    // Qt takes it from the GTK platform theme, whose link colour is unreadable on it too.
    setStyleColours(light);
    QCOMPARE(shown(), designed);
    dark.setColor(QPalette::Link, QColor(48, 140, 198));
    setStyleColours(dark);
    QVERIFY2(readableOfItsHue(), qPrintable(shown().name()));
}

QTEST_MAIN(TestAdvertisement)
#include "tst_advertisement.moc"
