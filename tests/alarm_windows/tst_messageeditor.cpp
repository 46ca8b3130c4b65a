#include "alarm_windows/alarmpopup.h"
#include "alarm_windows/messageeditor.h"
#include "countdown/mainwindow.h"
#include "forms/commandbutton.h"
#include "forms/geometry.h"
#include "forms/label.h"
#include "forms/multilinetextbox.h"
#include "forms/windows.h"
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
    f.Text1->setText(QStringLiteral("1"));
    f.Command2_Click();
    for (int i = 0; i < 60; ++i)
        f.Timer1_Timer();
}

// Stores a message the way the user does: through the editor's Ok.
void storeMessage(MainWindow &f, const QString &message)
{
    f.mnuMessage->trigger();
    forms::form<MessageEditor>().Text1->setText(message);
    forms::form<MessageEditor>().Command1->click();
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
    QCOMPARE(editor.Label1->caption(),
             QStringLiteral("This message will be displayed when the alarm goes off:"));
    QCOMPARE(editor.Text1->parentWidget(), editor.client());
    QCOMPARE(editor.Text1->geometry(), forms::rectFromTwips(120, 360, 4455, 2175));
    QVERIFY(!editor.Text1->isReadOnly());
    QCOMPARE(editor.Command1->text(), QStringLiteral("&Ok"));
    QCOMPARE(editor.Command2->text(), QStringLiteral("&Cancel"));
}

void TestMessageEditor::opensWithTheStoredMessageEachTime()
{
    MainWindow &f = forms::form<MainWindow>();
    f.Label6->setCaption(QStringLiteral("Drink water\r\nStretch"));
    f.mnuMessage->trigger();
    MessageEditor *editor = forms::loaded<MessageEditor>();
    QVERIFY(editor);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->Text1->text(), QStringLiteral("Drink water\r\nStretch"));
    QCOMPARE(editor->Text1->toPlainText(), QStringLiteral("Drink water\nStretch"));

    // Opening it again while it is open throws the unsaved edit away.
    editor->Text1->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor->Text1, QStringLiteral(" now"));
    QCOMPARE(editor->Text1->text(), QStringLiteral("Drink water\r\nStretch now"));
    f.mnuMessage->trigger();
    QCOMPARE(forms::loaded<MessageEditor>(), editor);
    QCOMPARE(editor->Text1->text(), QStringLiteral("Drink water\r\nStretch"));
    QCOMPARE(f.Label6->caption(), QStringLiteral("Drink water\r\nStretch"));
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
    f.Label6->setCaption(QStringLiteral("Old"));
    f.mnuMessage->trigger();
    MessageEditor &editor = forms::form<MessageEditor>();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    editor.Text1->clear();
    QTest::keyClicks(editor.Text1, QStringLiteral("Stand up"));
    QTest::keyClick(editor.Text1, Qt::Key_Return);
    QTest::keyClicks(editor.Text1, QStringLiteral("and stretch"));

    if (how == QStringLiteral("ok")) {
        editor.Command1->click();
    } else if (how == QStringLiteral("cancel")) {
        editor.Command2->click();
    } else {
        closeByWindowSystem(editor);
    }
    QVERIFY(!forms::loaded<MessageEditor>());
    QCOMPARE(f.Label6->caption(), stored);
    QVERIFY(desktop->boxes.isEmpty());
}

void TestMessageEditor::messageReachesThePopupAsPlainLines()
{
    MainWindow &f = forms::form<MainWindow>();
    storeMessage(f, QStringLiteral("<b>hi</b>\r\nline 2"));
    QCOMPARE(f.Label6->caption(), QStringLiteral("<b>hi</b>\r\nline 2"));
    raisePopupAlarm(f);
    AlarmPopup *popup = forms::loaded<AlarmPopup>();
    QVERIFY(popup);
    QCOMPARE(popup->Text1->toPlainText(), QStringLiteral("<b>hi</b>\nline 2"));
    QCOMPARE(popup->Text1->text(), QStringLiteral("<b>hi</b>\r\nline 2"));

    // A message stored while the pop-up is open waits for the next alarm.
    storeMessage(f, QStringLiteral("Next one"));
    QCOMPARE(f.Label6->caption(), QStringLiteral("Next one"));
    QCOMPARE(popup->Text1->text(), QStringLiteral("<b>hi</b>\r\nline 2"));
    f.Command3_Click();
    raisePopupAlarm(f);
    QCOMPARE(popup->Text1->text(), QStringLiteral("Next one"));
}

QTEST_MAIN(TestMessageEditor)
#include "tst_messageeditor.moc"
