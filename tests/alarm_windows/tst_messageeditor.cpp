#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/controls/commandbutton.h"
#include "forms/controls/label.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/placement/registry.h"
#include "forms/placement/twips.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

#include <memory>

namespace {

void raisePopupAlarm(MainWindow &f)
{
    minutesBox(f)->setText(QStringLiteral("1"));
    press(f, "beginButton");
    tick(f, 60);
}

// Stores a message the way the user does: through the editor's Ok.
void storeMessage(MainWindow &f, const QString &message)
{
    press(f, "messageEntry");
    MessageEditor &editor = forms::form<MessageEditor>();
    messageText(editor)->setText(message);
    press(editor, "okButton");
}

} // namespace

class TestMessageEditor : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void editorAsDesigned();
    void opensWithTheStoredMessageEachTime();
    void closingTheEditor_data();
    void closingTheEditor();
    void messageReachesThePopupAsPlainLines();

private:
    std::unique_ptr<RecordingDesktop> desktop;
};

void TestMessageEditor::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestMessageEditor::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

void TestMessageEditor::editorAsDesigned()
{
    MessageEditor &editor = forms::show<MessageEditor>();
    QVERIFY(QTest::qWaitForWindowExposed(&editor));
    QCOMPARE(editor.windowTitle(), QStringLiteral("Message"));
    QCOMPARE(editor.client()->size(), forms::sizeFromTwips(4680, 3105));
    QCOMPARE(editor.client()->mapToGlobal(QPoint(0, 0)), QPoint(130, 147));
    QCOMPARE(control<forms::Label>(editor, "prompt")->caption(),
             QStringLiteral("This message will be displayed when the alarm goes off:"));
    QCOMPARE(messageText(editor)->parentWidget(), editor.client());
    QCOMPARE(messageText(editor)->geometry(), forms::rectFromTwips(120, 360, 4455, 2175));
    QVERIFY(!messageText(editor)->isReadOnly());
    QCOMPARE(control<QPushButton>(editor, "okButton")->text(), QStringLiteral("&Ok"));
    QCOMPARE(control<QPushButton>(editor, "cancelButton")->text(), QStringLiteral("&Cancel"));
}

void TestMessageEditor::opensWithTheStoredMessageEachTime()
{
    MainWindow &f = forms::form<MainWindow>();
    f.setAlarmMessage(QStringLiteral("Drink water\r\nStretch"));
    press(f, "messageEntry");
    MessageEditor *editor = forms::loaded<MessageEditor>();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(messageText(*editor)->text(), QStringLiteral("Drink water\r\nStretch"));
    QCOMPARE(messageText(*editor)->toPlainText(), QStringLiteral("Drink water\nStretch"));

    // Opening it again while it is open throws the unsaved edit away.
    messageText(*editor)->moveCursor(QTextCursor::End);
    QTest::keyClicks(messageText(*editor), QStringLiteral(" now"));
    QCOMPARE(messageText(*editor)->text(), QStringLiteral("Drink water\r\nStretch now"));
    press(f, "messageEntry");
    QCOMPARE(forms::loaded<MessageEditor>(), editor);
    QCOMPARE(messageText(*editor)->text(), QStringLiteral("Drink water\r\nStretch"));
    QCOMPARE(f.alarmMessage(), QStringLiteral("Drink water\r\nStretch"));
}

void TestMessageEditor::closingTheEditor_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("stored");
    QTest::newRow("ok") << QStringLiteral("ok") << QStringLiteral("Stand up\r\nand stretch");
    QTest::newRow("cancel") << QStringLiteral("cancel") << QStringLiteral("Old");
    QTest::newRow("window system") << QStringLiteral("close") << QStringLiteral("Old");
}

void TestMessageEditor::closingTheEditor()
{
    QFETCH(QString, how);
    QFETCH(QString, stored);

    MainWindow &f = forms::form<MainWindow>();
    f.setAlarmMessage(QStringLiteral("Old"));
    press(f, "messageEntry");
    MessageEditor &editor = forms::form<MessageEditor>();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    messageText(editor)->clear();
    QTest::keyClicks(messageText(editor), QStringLiteral("Stand up"));
    QTest::keyClick(messageText(editor), Qt::Key_Return);
    QTest::keyClicks(messageText(editor), QStringLiteral("and stretch"));

    if (how == QStringLiteral("ok")) {
        press(editor, "okButton");
    } else if (how == QStringLiteral("cancel")) {
        press(editor, "cancelButton");
    } else {
        closeByWindowSystem(editor);
    }
    QVERIFY(!forms::loaded<MessageEditor>());
    QCOMPARE(f.alarmMessage(), stored);
    QVERIFY(desktop->boxes.isEmpty());
}

void TestMessageEditor::messageReachesThePopupAsPlainLines()
{
    MainWindow &f = forms::form<MainWindow>();
    storeMessage(f, QStringLiteral("<b>hi</b>\r\nline 2"));
    QCOMPARE(f.alarmMessage(), QStringLiteral("<b>hi</b>\r\nline 2"));
    raisePopupAlarm(f);
    AlarmPopup *popup = forms::loaded<AlarmPopup>();
    QVERIFY(popup);
    QCOMPARE(messageText(*popup)->toPlainText(), QStringLiteral("<b>hi</b>\nline 2"));
    QCOMPARE(messageText(*popup)->text(), QStringLiteral("<b>hi</b>\r\nline 2"));

    // A message stored while the pop-up is open waits for the next alarm.
    storeMessage(f, QStringLiteral("Next one"));
    QCOMPARE(f.alarmMessage(), QStringLiteral("Next one"));
    QCOMPARE(messageText(*popup)->text(), QStringLiteral("<b>hi</b>\r\nline 2"));
    press(f, "changeButton");
    raisePopupAlarm(f);
    QCOMPARE(messageText(*popup)->text(), QStringLiteral("Next one"));
}

QTEST_MAIN(TestMessageEditor)
#include "tst_messageeditor.moc"
