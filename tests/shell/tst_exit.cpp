#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/image.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/farewellwindow.h"
#include "shell/texts.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QWindow>

#include <memory>

using namespace std::chrono_literals;

namespace {

template <class T>
int instances()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += qobject_cast<T *>(w) != nullptr;
    return count;
}

// What the user sees of the main window: its displays, its box and which controls work.
QString mainState(const MainWindow &f)
{
    return QStringList({minutesLeft(f)->caption(), secondsLeft(f)->caption(), minutesBox(f)->text(),
                        QString::number(countdownOf(f)->isEnabled()),
                        QString::number(control<QPushButton>(f, "beginButton")->isEnabled()),
                        QString::number(control<QPushButton>(f, "changeButton")->isEnabled()),
                        QString::number(control<QAction>(f, "beginEntry")->isEnabled()),
                        QString::number(minutesBox(f)->isEnabled())})
        .join(QLatin1Char('/'));
}

} // namespace

class TestExit : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void exitSequence_data();
    void exitSequence();
    void farewellWindowAsDesigned();
    void farewellEndsTheProgram_data();
    void farewellEndsTheProgram();
    void windowSystemCloseOfMainWindowRunsNoExitSequence();

    void fileBeginAndChangeActAsTheirButtons();
    void fileHideMinimisesAndTheCountdownGoesOn();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestExit::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestExit::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestExit::exitSequence_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("fromMenu");
    for (const char *before : {"main only", "About", "advertisement closed", "pop-up and editor"}) {
        QTest::addRow("%s, Exit button", before) << QString::fromLatin1(before) << false;
        QTest::addRow("%s, File>Exit", before) << QString::fromLatin1(before) << true;
    }
}

void TestExit::exitSequence()
{
    QFETCH(QString, before);
    QFETCH(bool, fromMenu);

    MainWindow &main = forms::show<MainWindow>();
    QPointer<MainWindow> mainGuard(&main);
    QPointer<Advertisement> ad(forms::loaded<Advertisement>());
    QPointer<MessageEditor> editor;
    QPointer<AlarmPopup> popup;
    if (before == QStringLiteral("About"))
        press(main, "aboutEntry");
    if (before == QStringLiteral("advertisement closed"))
        control<QPushButton>(*ad, "closeButton")->click();
    if (before == QStringLiteral("pop-up and editor")) {
        popup = &forms::show<AlarmPopup>();
        press(main, "messageEntry");
        editor = forms::loaded<MessageEditor>();
        QTest::keyClicks(messageText(*editor), QStringLiteral("Walk around"));
    }

    if (fromMenu)
        press(main, "exitEntry");
    else
        QTest::mouseClick(control<QPushButton>(main, "exitButton"), Qt::LeftButton);

    FarewellWindow *farewell = forms::loaded<FarewellWindow>();
    QVERIFY(farewell);
    QVERIFY(farewell->isVisible());
    QVERIFY(!forms::loaded<MainWindow>());
    QVERIFY(!forms::loaded<AboutWindow>());
    // The windows that were loaded stay loaded, hidden; the farewell loads none only to hide it.
    const bool adLoaded = before != QStringLiteral("advertisement closed");
    const bool alarmLoaded = before == QStringLiteral("pop-up and editor");
    const QList<std::pair<forms::Window *, bool>> others = {
        {forms::loaded<Advertisement>(), adLoaded},
        {forms::loaded<MessageEditor>(), alarmLoaded},
        {forms::loaded<AlarmPopup>(), alarmLoaded}};
    for (const auto &[window, wasLoaded] : others) {
        QCOMPARE(window != nullptr, wasLoaded);
        if (window)
            QVERIFY2(!window->isVisible(), qPrintable(window->windowTitle()));
    }
    QCOMPARE(forms::loadedWindows().size(), 1 + int(adLoaded) + 2 * int(alarmLoaded));
    QCOMPARE(desktop->programEnds, 0);

    // Windows that were open stay the same windows, contents and all.
    if (adLoaded)
        QCOMPARE(forms::loaded<Advertisement>(), ad.data());
    if (editor) {
        QCOMPARE(forms::loaded<MessageEditor>(), editor.data());
        QCOMPARE(messageText(*editor)->text(), QStringLiteral("Walk around"));
        QCOMPARE(forms::loaded<AlarmPopup>(), popup.data());
    }

    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!mainGuard);
    QCOMPARE(instances<AboutWindow>(), 0);
    QCOMPARE(forms::loaded<FarewellWindow>(), farewell);
    QVERIFY(farewell->isVisible());
}

void TestExit::farewellWindowAsDesigned()
{
    FarewellWindow &farewell = forms::show<FarewellWindow>();
    QCOMPARE(farewell.windowTitle(), texts::caption());
    QVERIFY(farewell.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(farewell.client()->size(), QSize(346, 68)); // 5190 x 1020 twips
    QCOMPARE(farewell.cursor().shape(), Qt::WaitCursor);
    QCOMPARE(control<forms::Image>(farewell, "picture")->cursor().shape(), Qt::WaitCursor);
    QCOMPARE(countdownOf(farewell)->interval(), 2000ms);
    QVERIFY(countdownOf(farewell)->isEnabled());
}

void TestExit::farewellEndsTheProgram_data()
{
    QTest::addColumn<int>("how");
    QTest::newRow("tick handler") << 0;
    QTest::newRow("timer signal") << 1;
    QTest::newRow("click on the picture") << 2;
    // The exit sequence has hidden the other windows; a close must not leave them loaded with
    // nothing on screen.
    QTest::newRow("window system closes it") << 3;
}

void TestExit::farewellEndsTheProgram()
{
    QFETCH(int, how);

    MainWindow &main = forms::show<MainWindow>();
    press(main, "aboutEntry");
    press(main, "exitButton");
    FarewellWindow *farewell = forms::loaded<FarewellWindow>();
    QVERIFY(farewell);
    QCOMPARE(desktop->programEnds, 0);

    if (how == 0)
        tick(*farewell, 1);
    else if (how == 1)
        emit countdownOf(*farewell)->timer();
    else if (how == 2)
        QTest::mouseClick(control<forms::Image>(*farewell, "picture"), Qt::LeftButton);
    else {
        holdCountdowns(*farewell);
        QVERIFY(QTest::qWaitForWindowExposed(farewell));
        closeByWindowSystem(*farewell);
    }

    QVERIFY(forms::loadedWindows().isEmpty());
    QCOMPARE(desktop->programEnds, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(instances<forms::Window>(), 0);
    QCOMPARE(desktop->programEnds, 1);
}

void TestExit::windowSystemCloseOfMainWindowRunsNoExitSequence()
{
    MainWindow &main = forms::show<MainWindow>();
    press(main, "aboutEntry");
    AboutWindow *about = forms::loaded<AboutWindow>();
    Advertisement *ad = forms::loaded<Advertisement>();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(QTest::qWaitForWindowExposed(about));

    closeByWindowSystem(main);

    QVERIFY(!forms::loaded<MainWindow>());
    QVERIFY(!forms::loaded<FarewellWindow>());
    QCOMPARE(instances<FarewellWindow>(), 0);
    QCOMPARE(forms::loaded<AboutWindow>(), about);
    QVERIFY(about->isVisible());
    QCOMPARE(forms::loaded<Advertisement>(), ad);
    QVERIFY(ad->isVisible());
    QVERIFY(countdownOf(*ad)->isEnabled());
    QVERIFY(!forms::loaded<MessageEditor>());
    QVERIFY(!forms::loaded<AlarmPopup>());
    QCOMPARE(desktop->programEnds, 0);

    closeByWindowSystem(*about);
    QCOMPARE(forms::loadedWindows(), QList<forms::Window *>({ad}));
    QCOMPARE(desktop->programEnds, 0); // the advertisement keeps the program running

    tick(*ad, 15);
    QCOMPARE(desktop->programEnds, 1);
    QVERIFY(forms::loadedWindows().isEmpty());
    QCOMPARE(instances<FarewellWindow>(), 0);
}

void TestExit::fileBeginAndChangeActAsTheirButtons()
{
    MainWindow &main = forms::form<MainWindow>();
    const QString fresh = mainState(main);
    press(main, "changeEntry"); // idle: nothing to change
    QCOMPARE(mainState(main), fresh);

    for (const QString &minutes : {QStringLiteral("abc"), QString(), QStringLiteral("0")}) {
        desktop->boxes.clear();
        minutesBox(main)->setText(minutes);
        press(main, "beginButton");
        press(main, "beginEntry");
        QCOMPARE(desktop->boxes.size(), 2);
        const RecordingDesktop::Box &button = desktop->boxes[0];
        const RecordingDesktop::Box &menu = desktop->boxes[1];
        QCOMPARE(button.icon, forms::Desktop::Icon::Critical);
        QCOMPARE(button.title, QStringLiteral("Error"));
        QCOMPARE(menu.icon, button.icon);
        QCOMPARE(menu.title, button.title);
        QCOMPARE(menu.text, button.text);
        QVERIFY(!countdownOf(main)->isEnabled());
    }

    // Idle again after a Change, with the displays frozen where they stood.
    minutesBox(main)->setText(QStringLiteral("10"));
    press(main, "beginButton");
    tick(main, 20);
    press(main, "changeButton");
    const QString stopped = mainState(main);
    press(main, "changeEntry");
    QCOMPARE(mainState(main), stopped);
}

void TestExit::fileHideMinimisesAndTheCountdownGoesOn()
{
    MainWindow &main = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    press(main, "beginButton");
    tick(main, 2);

    press(main, "hideEntry");

    QVERIFY(main.isMinimized());
    QVERIFY(main.windowState() & Qt::WindowMinimized);
    QCOMPARE(forms::loaded<MainWindow>(), &main);
    QVERIFY(countdownOf(main)->isEnabled());
    QCOMPARE(secondsLeft(main)->caption(), QStringLiteral("57"));
    tick(main, 1);
    QCOMPARE(secondsLeft(main)->caption(), QStringLiteral("56"));
    QCOMPARE(minutesLeft(main)->caption(), QStringLiteral("10"));
}

QTEST_MAIN(TestExit)
#include "tst_exit.moc"
