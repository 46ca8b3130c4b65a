#include "alarm_windows/messageeditor.h"
#include "forms/controls/multilinetextbox.h"
#include "forms/placement/registry.h"
#include "rules/textlimit.h"
#include "support/drive.h"
#include "support/recordingdesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTest>

#include <memory>

namespace {

const QString Emoji = QStringLiteral("\U0001F600"); // one surrogate pair

QString as(qsizetype count)
{
    return QString(count, QLatin1Char('a'));
}

void selectLast(QPlainTextEdit *box, int positions)
{
    QTextCursor cursor = box->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, positions);
    box->setTextCursor(cursor);
}

} // namespace

class TestTextLimit : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void countedLength_data();
    void countedLength();
    void fit_data();
    void fit();

    void typingStopsAtTheLimit();
    void keyNeedsRoom_data();
    void keyNeedsRoom();
    void insertingTakesWhatFits_data();
    void insertingTakesWhatFits();

private:
    // The message editor's box, shown and focused, holding `text` with the cursor at its end.
    forms::MultiLineTextBox *editorBox(const QString &text);

    std::unique_ptr<RecordingDesktop> desktop;
};

void TestTextLimit::init()
{
    failOnWarnings();
    desktop = std::make_unique<RecordingDesktop>();
}

void TestTextLimit::cleanup()
{
    unloadAllWindows();
    desktop.reset();
}

forms::MultiLineTextBox *TestTextLimit::editorBox(const QString &text)
{
    MessageEditor &editor = forms::show<MessageEditor>();
    if (!QTest::qWaitForWindowActive(&editor))
        return nullptr;
    forms::MultiLineTextBox *box = messageText(editor);
    box->setText(text);
    box->setFocus();
    box->moveCursor(QTextCursor::End);
    return box;
}

void TestTextLimit::countedLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("counted");
    const auto row = [](const char *name, const QString &text, qsizetype counted) {
        QTest::newRow(name) << text << counted;
    };
    row("empty", QString(), 0);
    row("plain", QStringLiteral("abc"), 3);
    row("CR LF", QStringLiteral("a\r\nb"), 4);
    row("lone LF", QStringLiteral("a\nb"), 4);
    row("lone CR", QStringLiteral("a\rb"), 4);
    row("LF then CR is two breaks", QStringLiteral("\n\r"), 4);
    row("CR before CR LF", QStringLiteral("\r\r\n"), 4);
    row("paragraph separator", QStringLiteral("a\u2029b"), 4);
    row("surrogate pair", Emoji, 2);
}

void TestTextLimit::countedLength()
{
    QFETCH(QString, text);
    QFETCH(qsizetype, counted);
    QCOMPARE(forms::textlimit::countedLength(text), counted);
}

void TestTextLimit::fit_data()
{
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<qsizetype>("room");
    QTest::addColumn<QString>("fitting");
    const auto row = [](const char *name, const QString &inserted, qsizetype room,
                        const QString &fitting) {
        QTest::newRow(name) << inserted << room << fitting;
    };
    row("no room", QStringLiteral("abc"), 0, QString());
    row("nothing in no room", QString(), 0, QString());
    row("room exactly filled", QStringLiteral("abc"), 3, QStringLiteral("abc"));
    row("room to spare", QStringLiteral("abc"), 9, QStringLiteral("abc"));
    row("cut", QStringLiteral("abc"), 2, QStringLiteral("ab"));
    row("CR LF not split", QStringLiteral("a\r\nb"), 2, QStringLiteral("a"));
    row("CR LF exactly", QStringLiteral("a\r\nb"), 3, QStringLiteral("a\r\n"));
    row("lone LF needs two", QStringLiteral("\n"), 1, QString());
    row("paragraph separator needs two", QStringLiteral("a\u2029"), 2, QStringLiteral("a"));
    row("second break cut", QStringLiteral("\n\n"), 3, QStringLiteral("\n"));
    row("pair not split", QStringLiteral("a") + Emoji, 2, QStringLiteral("a"));
    row("pair kept", QStringLiteral("a") + Emoji + QStringLiteral("b"), 3,
        QStringLiteral("a") + Emoji);
}

void TestTextLimit::fit()
{
    QFETCH(QString, inserted);
    QFETCH(qsizetype, room);
    QFETCH(QString, fitting);
    QCOMPARE(forms::textlimit::fit(inserted, room), fitting);
}

void TestTextLimit::typingStopsAtTheLimit()
{
    forms::MultiLineTextBox *box = editorBox(as(495));
    QVERIFY(box);
    QTest::keyClicks(box, QStringLiteral("bcdefgh"));
    QCOMPARE(box->text(), as(495) + QStringLiteral("bcdef"));

    // A selection's room is free for what replaces it; the next key is refused again.
    selectLast(box, 3);
    QTest::keyClicks(box, QStringLiteral("xyzw"));
    QCOMPARE(box->text(), as(495) + QStringLiteral("bcxyz"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), as(495) + QStringLiteral("bcxy"));
}

void TestTextLimit::keyNeedsRoom_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("inserted");
    const auto row = [](const char *name, int length, int key, Qt::KeyboardModifiers modifiers,
                        const QString &typed, bool taken) {
        const QString inserted = taken ? typed : QString();
        QTest::newRow(name) << length << key << modifiers << typed << inserted;
    };
    const QString crLf = QStringLiteral("\r\n");
    row("letter, no room", 500, Qt::Key_Z, {}, QStringLiteral("z"), false);
    row("Enter, room 1", 499, Qt::Key_Return, {}, crLf, false);
    row("Enter, room 2", 498, Qt::Key_Return, {}, crLf, true);
    row("Shift+Enter, room 1", 499, Qt::Key_Return, Qt::ShiftModifier, crLf, false);
    row("Shift+Enter, room 2", 498, Qt::Key_Return, Qt::ShiftModifier, crLf, true);
    // Besides printable characters Qt's text boxes take a surrogate pair (an emoji on a keyboard
    // layout that has one) and a format character such as the zero-width joiner.
    row("emoji, room 2", 498, Qt::Key_unknown, {}, Emoji, true);
    row("emoji, room 1", 499, Qt::Key_unknown, {}, Emoji, false);
    row("joiner, room 1", 499, Qt::Key_unknown, {}, QStringLiteral("\u200D"), true);
    row("joiner, no room", 500, Qt::Key_unknown, {}, QStringLiteral("\u200D"), false);
}

void TestTextLimit::keyNeedsRoom()
{
    QFETCH(int, length);
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, typed);
    QFETCH(QString, inserted);

    forms::MultiLineTextBox *box = editorBox(as(length));
    QVERIFY(box);
    const QString text = key == Qt::Key_Return ? QStringLiteral("\r") : typed;
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QCoreApplication::sendEvent(box, &press);
    QVERIFY(box->text().startsWith(as(length)));
    QCOMPARE(box->text().sliced(length), inserted);
}

void TestTextLimit::insertingTakesWhatFits_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("selected"); // positions selected back from the end
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<bool>("byInputMethod");
    QTest::addColumn<QString>("after");
    const auto row = [](const char *name, const QString &before, int selected,
                        const QString &inserted, bool byInputMethod, const QString &after) {
        QTest::newRow(name) << before << selected << inserted << byInputMethod << after;
    };
    const QString digits = QStringLiteral("0123456789");
    row("paste, whole", as(490), 0, digits, false, as(490) + digits);
    row("paste, cut", as(495), 0, digits, false, as(495) + QStringLiteral("01234"));
    row("paste, CR LF not split", as(498), 0, QStringLiteral("x\r\ny"), false,
        as(498) + QStringLiteral("x"));
    row("paste, lone CR is a break", QString(), 0, QStringLiteral("a\rb"), false,
        QStringLiteral("a\r\nb"));
    row("paste, over selection", as(500), 10, digits + QStringLiteral("AB"), false,
        as(490) + digits);
    row("paste, over selected break", as(497) + QStringLiteral("\r\nb"), 2, QStringLiteral("xyz1"),
        false, as(497) + QStringLiteral("xyz"));
    row("input method, cut", as(497), 0, QStringLiteral("abcdef"), true,
        as(497) + QStringLiteral("abc"));
    row("input method, over selection", as(500), 4, QStringLiteral("wxyz!"), true,
        as(496) + QStringLiteral("wxyz"));
}

void TestTextLimit::insertingTakesWhatFits()
{
    QFETCH(QString, before);
    QFETCH(int, selected);
    QFETCH(QString, inserted);
    QFETCH(bool, byInputMethod);
    QFETCH(QString, after);

    forms::MultiLineTextBox *box = editorBox(before);
    QVERIFY(box);
    selectLast(box, selected);
    if (byInputMethod) {
        QInputMethodEvent commit;
        commit.setCommitString(inserted);
        QCoreApplication::sendEvent(box, &commit);
    } else {
        QApplication::clipboard()->setText(inserted);
        box->paste();
    }
    QCOMPARE(box->text(), after);
}

QTEST_MAIN(TestTextLimit)
#include "tst_textlimit.moc"
