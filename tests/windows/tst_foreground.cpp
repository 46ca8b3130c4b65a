// On Qt's windows platform, as on Windows: the desktop brings a window to the front with the
// keyboard focus, and tells Qt to take the foreground even from another program, so that an alarm
// does not wait unseen behind a flashing task-bar button.
#include "forms/desktop/desktop.h"
#include "forms/placement/window.h"

#include <QApplication>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>

#include <qt_windows.h>

using QNativeInterface::Private::QWindowsApplication;

namespace {

HWND handle(QWidget &window)
{
    return reinterpret_cast<HWND>(window.winId());
}

} // namespace

class TestForeground : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY2(qGuiApp->nativeInterface<QWindowsApplication>(), "not on Qt's windows platform");
    }
    // Each case starts from Qt's own behaviour, which only flashes a background program's button.
    void init()
    {
        qGuiApp->nativeInterface<QWindowsApplication>()->setWindowActivationBehavior(
            QWindowsApplication::DefaultActivateWindow);
    }

    void alarmTakesTheFrontFromAnotherWindow_data();
    void alarmTakesTheFrontFromAnotherWindow();
};

void TestForeground::alarmTakesTheFrontFromAnotherWindow_data()
{
    QTest::addColumn<bool>("minimised");
    QTest::newRow("shown") << false;
    QTest::newRow("minimised") << true;
}

void TestForeground::alarmTakesTheFrontFromAnotherWindow()
{
    QFETCH(bool, minimised);

    // The window the user works in.
    QWidget work;
    work.setWindowTitle(QStringLiteral("Work"));
    work.resize(300, 200);
    work.show();
    work.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&work));

    forms::Window alarm(QStringLiteral("Alarm"), 3000, 1500);
    if (minimised) {
        alarm.showMinimized();
        QTRY_VERIFY(IsIconic(handle(alarm)));
        work.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&work));
    }
    alarm.showWindow();

    QVERIFY(QTest::qWaitForWindowActive(&alarm));
    QVERIFY(!alarm.isMinimized());
    QTRY_COMPARE(GetForegroundWindow(), handle(alarm));
    QCOMPARE(qGuiApp->nativeInterface<QWindowsApplication>()->windowActivationBehavior(),
             QWindowsApplication::AlwaysActivateWindow);
}

QTEST_MAIN(TestForeground)
#include "tst_foreground.moc"
