#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/controls/image.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/controls/optionbutton.h"
#include "forms/placement/registry.h"
#include "shell/aboutwindow.h"
#include "shell/advertisement.h"
#include "shell/farewellwindow.h"
#include "shell/links.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <QtGui/qpa/qwindowsysteminterface.h>

#include <functional>

namespace {

using Control = std::function<QWidget *()>;

// The control of the window, created if need be, named `name`.
template <class Window>
QWidget *in(const char *name)
{
    return control<QWidget>(forms::form<Window>(), name);
}

// The controls whose names or descriptions the windows set; each row's control is looked up
// when the row runs, so its window is created then.
const QList<std::pair<const char *, Control>> &controls()
{
    static const QList<std::pair<const char *, Control>> table = {
        {"minutes box", [] { return in<MainWindow>("minutesBox"); }},
        {"sound option", [] { return in<MainWindow>("soundKind"); }},
        {"message box option", [] { return in<MainWindow>("messageBoxKind"); }},
        {"pop-up option", [] { return in<MainWindow>("popupKind"); }},
        {"minutes display", [] { return in<MainWindow>("minutesLeft"); }},
        {"seconds display", [] { return in<MainWindow>("secondsLeft"); }},
        {"editor's box", [] { return in<MessageEditor>("messageText"); }},
        {"pop-up's box", [] { return in<AlarmPopup>("messageText"); }},
        {"close countdown", [] { return in<Advertisement>("secondsLeft"); }},
        {"banner", [] { return in<Advertisement>("banner"); }},
        {"About picture", [] { return in<AboutWindow>("picture"); }},
        {"farewell picture", [] { return in<FarewellWindow>("picture"); }},
        {"invitation", [] { return in<Advertisement>("invitation"); }},
        {"e-mail address", [] { return in<AboutWindow>("mailAddress"); }},
        {"messenger number", [] { return in<AboutWindow>("messengerNumber"); }},
    };
    return table;
}

QWidget *control(const QString &row)
{
    for (const auto &[name, find] : controls()) {
        if (row == QLatin1String(name))
            return find();
    }
    return nullptr;
}

QList<std::pair<QObject *, QAccessible::Event>> events;

void recordEvent(QAccessibleEvent *event)
{
    events.append({event->object(), event->type()});
}

} // namespace

// Everything runs with assistive technology listening, as under a screen reader.
class TestAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        m_previousHandler = QAccessible::installUpdateHandler(recordEvent);
        // Qt tells the listeners only while the platform says assistive technology is there,
        // and the offscreen platform is told so only through its private interface.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        QVERIFY(QAccessible::isActive());
    }
    void cleanupTestCase()
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(m_previousHandler);
    }
    void init() { failOnWarnings(); }
    void cleanup() { unloadAllWindows(); }

    void namesAndDescriptions_data();
    void namesAndDescriptions();
    void pressActionClicksLikeTheMouse_data();
    void pressActionClicksLikeTheMouse();
    void captionChangeIsAnnounced();
    void alarmFocusIsAnnouncedLast();
    void popupIsDescribedByItsWholeMessage();

private:
    RecordingDesktop m_desktop;
    QAccessible::UpdateHandler m_previousHandler = nullptr;
};

void TestAccessibility::namesAndDescriptions_data()
{
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    // An empty expected name or description means any text but none.
    auto row = [](const char *control, QAccessible::Role role, const char *name,
                  const char *description) {
        QTest::newRow(control) << role << QString::fromUtf8(name) << QString::fromUtf8(description);
    };
    row("minutes box", QAccessible::EditableText, "Minutes:", "");
    row("sound option", QAccessible::RadioButton, "Make a sound", "");
    row("message box option", QAccessible::RadioButton, "Message Box", "");
    row("pop-up option", QAccessible::RadioButton, "Window Popup (best)", "");
    row("minutes display", QAccessible::StaticText, "0", "Minutes left");
    row("seconds display", QAccessible::StaticText, "0", "Seconds left");
    row("editor's box", QAccessible::EditableText,
        "This message will be displayed when the alarm goes off:", "");
    row("pop-up's box", QAccessible::EditableText, "Alarm message", "");
    row("close countdown", QAccessible::StaticText, "15", "");
    row("banner", QAccessible::Graphic, "", "");
    row("About picture", QAccessible::Graphic, "", "");
    row("farewell picture", QAccessible::Graphic, "", "");
}

void TestAccessibility::namesAndDescriptions()
{
    QFETCH(QAccessible::Role, role);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QAccessibleInterface *read =
        QAccessible::queryAccessibleInterface(control(QString::fromUtf8(QTest::currentDataTag())));
    QVERIFY(read);
    QCOMPARE(read->role(), role);
    const QString readName = read->text(QAccessible::Name);
    QVERIFY(!readName.contains(u'&'));
    if (name.isEmpty())
        QVERIFY(!readName.isEmpty());
    else
        QCOMPARE(readName, name);
    if (!description.isEmpty())
        QCOMPARE(read->text(QAccessible::Description), description);
    else if (role == QAccessible::Graphic)
        QVERIFY(!read->text(QAccessible::Description).isEmpty());
}

void TestAccessibility::pressActionClicksLikeTheMouse_data()
{
    QTest::addColumn<QAccessible::Role>("role");
    QTest::addColumn<QStringList>("links");
    QTest::newRow("invitation") << QAccessible::Link << QStringList{links::ReferralLink};
    QTest::newRow("banner") << QAccessible::Graphic << QStringList{links::ReferralLink};
    QTest::newRow("e-mail address") << QAccessible::Link << QStringList{links::MailLink};
    QTest::newRow("messenger number") << QAccessible::StaticText << QStringList{};
}

void TestAccessibility::pressActionClicksLikeTheMouse()
{
    QFETCH(QAccessible::Role, role);
    QFETCH(QStringList, links);
    QWidget *clickable = control(QString::fromUtf8(QTest::currentDataTag()));
    QAccessibleInterface *read = QAccessible::queryAccessibleInterface(clickable);
    QCOMPARE(read->role(), role);
    QAccessibleActionInterface *actions = read->actionInterface();
    QVERIFY(actions);
    QCOMPARE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()),
             !links.isEmpty());
    actions->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(m_desktop.links, links);
    // A press is no focus: the tab order keeps the label out.
    QCOMPARE(clickable->focusPolicy(), Qt::NoFocus);
    m_desktop.links.clear();
}

void TestAccessibility::captionChangeIsAnnounced()
{
    forms::Label *seconds = secondsLeft(forms::form<MainWindow>());
    events.clear();
    seconds->setCaption(QStringLiteral("59"));
    QCOMPARE(events.count({seconds, QAccessible::NameChanged}), 1);
    QCOMPARE(QAccessible::queryAccessibleInterface(seconds)->text(QAccessible::Name),
             QStringLiteral("59"));
}

void TestAccessibility::alarmFocusIsAnnouncedLast()
{
    // The pop-up activated, deactivated and activated again, as a screen reader once saw it
    // before it read nothing of the message: each time the pop-up becomes active, what a screen
    // reader hears after Qt is done with the activation is where the focus is.
    AlarmPopup &popup = forms::show<AlarmPopup>();
    MessageEditor &editor = forms::show<MessageEditor>();
    QVERIFY(QTest::qWaitForWindowExposed(&popup));
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    // The editor takes the activation away in between.
    for (QWidget *active : {static_cast<QWidget *>(&popup), static_cast<QWidget *>(&editor),
                            static_cast<QWidget *>(&popup)}) {
        QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
            active->windowHandle(), Qt::ActiveWindowFocusReason);
        QCOMPARE(QApplication::activeWindow(), active);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus && focus->window() == active);
        events.clear();
        if (active == &popup)
            QTRY_VERIFY(events.contains({focus, QAccessible::Focus}));
    }
}

void TestAccessibility::popupIsDescribedByItsWholeMessage()
{
    // At each alarm the main window shows the pop-up and then hands it the message. A screen
    // reader reads a window's description as the window comes, and the message box only from the
    // line the caret is on: the description is the whole message, and the next alarm's replaces
    // it in the pop-up left open.
    MainWindow &main = forms::form<MainWindow>();
    minutesBox(main)->setText(QStringLiteral("1"));
    for (const char *message : {"Look away\r\nfrom the screen", "Second"}) {
        main.setAlarmMessage(QString::fromUtf8(message));
        press(main, "beginButton");
        tick(main, 60);
        AlarmPopup *popup = forms::loaded<AlarmPopup>();
        QVERIFY(popup && popup->isVisible());
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(popup);
        QCOMPARE(read->text(QAccessible::Name), QStringLiteral("Window Popup"));
        QCOMPARE(read->text(QAccessible::Description),
                 QString::fromUtf8(message).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        press(main, "changeButton");
    }
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
