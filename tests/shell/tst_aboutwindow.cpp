#include "countdown/mainwindow.h"
#include "forms/commandbutton.h"
#include "forms/geometry.h"
#include "forms/image.h"
#include "forms/timer.h"
#include "forms/windows.h"
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
        count += qobject_cast<Form2 *>(w) != nullptr;
    return count;
}

} // namespace

class TestForm2 : public QObject
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

void TestForm2::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestForm2::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestForm2::showsTheProgramAndItsMaker()
{
    Form2 &about = forms::show<Form2>();
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.client()->size(), forms::sizeFromTwips(5955, 2385));
    QVERIFY(!(about.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(about.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(about.Label7->caption(), QStringLiteral("Version: " KZB_VERSION_SHORT));
    QCOMPARE(about.Label2->caption(), Module1::MailAddress);
    QCOMPARE(Module1::MailLink, QStringLiteral("mailto:") + Module1::MailAddress);
}

void TestForm2::clicksOnTheLabels_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("links");
    QTest::newRow("mail address") << QStringLiteral("Label2") << QStringList(Module1::MailLink);
    QTest::newRow("messenger") << QStringLiteral("Label6") << QStringList();
    QTest::newRow("picture") << QStringLiteral("Image1") << QStringList();
}

void TestForm2::clicksOnTheLabels()
{
    QFETCH(QString, label);
    QFETCH(QStringList, links);

    Form2 &about = forms::show<Form2>();
    const QHash<QString, forms::Label *> labels = {{QStringLiteral("Label2"), about.Label2},
                                                   {QStringLiteral("Label6"), about.Label6},
                                                   {QStringLiteral("Image1"), about.Image1}};
    QTest::mouseClick(labels.value(label), Qt::LeftButton);

    QCOMPARE(desktop->links, links);
    QCOMPARE(forms::loaded<Form2>(), &about);
    QVERIFY(about.isVisible());
}

void TestForm2::helpAboutOpensOneWindow()
{
    Form1 &main = forms::show<Form1>();
    main.mnuAbout->trigger();
    Form2 *about = forms::loaded<Form2>();
    QVERIFY(about);
    QVERIFY(about->isVisible());
    main.mnuAbout_Click();
    QCOMPARE(forms::loaded<Form2>(), about);
    QCOMPARE(aboutWindowsInExistence(), 1);
}

void TestForm2::okLeavesARunningCountdownAlone()
{
    Form1 &main = forms::show<Form1>();
    main.Command2_Click();
    tick(main, 5);
    main.mnuAbout->trigger();
    main.mnuHide->trigger();
    QVERIFY(main.isMinimized());

    QTest::mouseClick(forms::loaded<Form2>()->Command1, Qt::LeftButton);

    QVERIFY(!forms::loaded<Form2>());
    QCOMPARE(forms::loaded<Form1>(), &main);
    QVERIFY(main.isVisible());
    QVERIFY(!main.isMinimized());
    QVERIFY(main.Timer1->isEnabled());
    QVERIFY(main.Command3->isEnabled());
    QVERIFY(!main.Command2->isEnabled());
    QCOMPARE(main.Label3->caption(), QStringLiteral("10"));
    QCOMPARE(main.Label5->caption(), QStringLiteral("54"));
}

void TestForm2::okAfterTheMainWindowWasClosed_data()
{
    QTest::addColumn<bool>("adClosed");
    QTest::newRow("advertisement still counting") << false;
    QTest::newRow("advertisement closed") << true;
}

void TestForm2::okAfterTheMainWindowWasClosed()
{
    QFETCH(bool, adClosed);

    Form1 &old = forms::show<Form1>();
    QVERIFY(QTest::qWaitForWindowExposed(&old));
    QPointer<Form1> oldGuard(&old);
    QPointer<Form4> ad(forms::loaded<Form4>());
    old.Text1->setText(QStringLiteral("25"));
    old.Command2_Click();
    tick(old, 3);
    for (int i = 0; i < 3; ++i)
        ad->Timer1_Timer();
    if (adClosed)
        ad->Command1_Click();
    old.mnuAbout->trigger();
    Form2 *about = forms::loaded<Form2>();

    closeByWindowSystem(old);
    QVERIFY(!forms::loaded<Form1>());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!oldGuard);
    QCOMPARE(!ad, adClosed);
    const QString adCount = ad ? ad->Label4->caption() : QString();

    about->Command1_Click();

    QVERIFY(!forms::loaded<Form2>());
    Form1 *fresh = forms::loaded<Form1>();
    QVERIFY(fresh);
    QVERIFY(fresh->isVisible());
    QCOMPARE(fresh->Label3->caption(), QStringLiteral("0"));
    QCOMPARE(fresh->Label5->caption(), QStringLiteral("0"));
    QCOMPARE(fresh->Text1->text(), QStringLiteral("10"));
    QVERIFY(!fresh->Timer1->isEnabled());
    QVERIFY(fresh->Command2->isEnabled());
    QVERIFY(!fresh->Command3->isEnabled());

    Form4 *shown = forms::loaded<Form4>();
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QVERIFY(shown->Timer1->isEnabled());
    if (adClosed) {
        QCOMPARE(shown->Label4->caption(), QStringLiteral("15"));
    } else {
        QCOMPARE(shown, ad.data());
        QCOMPARE(shown->Label4->caption(), adCount);
        QCOMPARE(adCount, QStringLiteral("12"));
    }
    QCOMPARE(desktop->programEnds, 0);
}

QTEST_MAIN(TestForm2)
#include "tst_aboutwindow.moc"
