#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/image.h"
#include "forms/controls/timer.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "kzb_version.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/links.h"
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

namespace {

int aboutWindowsInExistence()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += qobject_cast<AboutWindow *>(w) != nullptr;
    return count;
}

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void showsTheProgramAndItsMaker();
    void clicksOnTheLabels_data();
    void clicksOnTheLabels();
    void helpAboutOpensOneWindow();
    void okLeavesARunningCountdownAlone();
    void okAfterTheMainWindowWasClosed_data();
    void okAfterTheMainWindowWasClosed();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestAboutWindow::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestAboutWindow::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestAboutWindow::showsTheProgramAndItsMaker()
{
    AboutWindow &about = forms::show<AboutWindow>();
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.client()->size(), forms::sizeFromTwips(5955, 2385));
    QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(control<forms::Label>(about, "version")->caption(),
             QStringLiteral("Version: " KZB_VERSION_SHORT));
    QCOMPARE(control<forms::Label>(about, "mailAddress")->caption(), links::MailAddress);
    QCOMPARE(links::MailLink, QStringLiteral("mailto:") + links::MailAddress);
}

void TestAboutWindow::clicksOnTheLabels_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("links");
    QTest::newRow("mail address") << QStringLiteral("mailAddress") << QStringList(links::MailLink);
    QTest::newRow("messenger") << QStringLiteral("messengerNumber") << QStringList();
    QTest::newRow("picture") << QStringLiteral("picture") << QStringList();
}

void TestAboutWindow::clicksOnTheLabels()
{
    QFETCH(QString, label);
    QFETCH(QStringList, links);

    AboutWindow &about = forms::show<AboutWindow>();
    QTest::mouseClick(control<forms::Label>(about, qPrintable(label)), Qt::LeftButton);

    QCOMPARE(desktop->links, links);
    QCOMPARE(forms::loaded<AboutWindow>(), &about);
    QVERIFY(about.isVisible());
}

void TestAboutWindow::helpAboutOpensOneWindow()
{
    MainWindow &main = forms::show<MainWindow>();
    press(main, "aboutEntry");
    AboutWindow *about = forms::loaded<AboutWindow>();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    press(main, "aboutEntry");
    QCOMPARE(forms::loaded<AboutWindow>(), about);
    QCOMPARE(aboutWindowsInExistence(), 1);
}

void TestAboutWindow::okLeavesARunningCountdownAlone()
{
    MainWindow &main = forms::show<MainWindow>();
    press(main, "beginButton");
    tick(main, 5);
    press(main, "aboutEntry");
    press(main, "hideEntry");
    QVERIFY(main.isMinimized());

    QTest::mouseClick(control<QPushButton>(*forms::loaded<AboutWindow>(), "okButton"),
                      Qt::LeftButton);

    QVERIFY(!forms::loaded<AboutWindow>());
    QCOMPARE(forms::loaded<MainWindow>(), &main);
    QVERIFY(main.isVisible());
    QVERIFY(!main.isMinimized());
    QVERIFY(countdownOf(main)->isEnabled());
    QVERIFY(control<QPushButton>(main, "changeButton")->isEnabled());
    QVERIFY(!control<QPushButton>(main, "beginButton")->isEnabled());
    QCOMPARE(minutesLeft(main)->caption(), QStringLiteral("10"));
    QCOMPARE(secondsLeft(main)->caption(), QStringLiteral("54"));
}

void TestAboutWindow::okAfterTheMainWindowWasClosed_data()
{
    QTest::addColumn<bool>("adClosed");
    QTest::newRow("advertisement still counting") << false;
    QTest::newRow("advertisement closed") << true;
}

void TestAboutWindow::okAfterTheMainWindowWasClosed()
{
    QFETCH(bool, adClosed);

    MainWindow &old = forms::show<MainWindow>();
    QVERIFY(QTest::qWaitForWindowExposed(&old));
    QPointer<MainWindow> oldGuard(&old);
    QPointer<Advertisement> ad(forms::loaded<Advertisement>());
    minutesBox(old)->setText(QStringLiteral("25"));
    press(old, "beginButton");
    tick(old, 3);
    tick(*ad, 3);
    if (adClosed)
        control<QPushButton>(*ad, "closeButton")->click();
    press(old, "aboutEntry");
    AboutWindow *about = forms::loaded<AboutWindow>();

    closeByWindowSystem(old);
    QVERIFY(!forms::loaded<MainWindow>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!oldGuard);
    QCOMPARE(!ad, adClosed);
    const QString adCount = ad ? control<forms::Label>(*ad, "secondsLeft")->caption() : QString();

    control<QPushButton>(*about, "okButton")->click();

    QVERIFY(!forms::loaded<AboutWindow>());
    MainWindow *fresh = forms::loaded<MainWindow>();
    QVERIFY(fresh);
    QVERIFY(fresh->isVisible());
    QCOMPARE(minutesLeft(*fresh)->caption(), QStringLiteral("0"));
    QCOMPARE(secondsLeft(*fresh)->caption(), QStringLiteral("0"));
    QCOMPARE(minutesBox(*fresh)->text(), QStringLiteral("10"));
    QVERIFY(!countdownOf(*fresh)->isEnabled());
    QVERIFY(control<QPushButton>(*fresh, "beginButton")->isEnabled());
    QVERIFY(!control<QPushButton>(*fresh, "changeButton")->isEnabled());

    Advertisement *shown = forms::loaded<Advertisement>();
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QVERIFY(countdownOf(*shown)->isEnabled());
    const QString shownCount = control<forms::Label>(*shown, "secondsLeft")->caption();
    if (adClosed) {
        QCOMPARE(shownCount, QStringLiteral("15"));
    } else {
        QCOMPARE(shown, ad.data());
        QCOMPARE(shownCount, adCount);
        QCOMPARE(adCount, QStringLiteral("12"));
    }
    QCOMPARE(desktop->programEnds, 0);
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"
