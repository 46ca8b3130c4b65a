#include "forms/desktop/desktop.h"
#include "shell/links.h"
#include "support/recordingdesktop.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

Q_DECLARE_METATYPE(forms::Desktop::Icon)

// The real desktop's message boxes and links, as far as they can run without a person.
class TestDesktop : public QObject
{
    Q_OBJECT
private slots:
    void init() { failOnWarnings(); }

    void messageBoxShowsTextAsTyped_data();
    void messageBoxShowsTextAsTyped();
    void linkWithNoHandlerIsSilent();
    void boxGoesWithItsOwner();
};

void TestDesktop::messageBoxShowsTextAsTyped_data()
{
    QTest::addColumn<forms::Desktop::Icon>("icon");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");

    QTest::newRow("line breaks") << forms::Desktop::Icon::Exclamation
                                 << "It has been <b>5</b> minute(s).\r\n\r\nNext."
                                 << "It has been <b>5</b> minute(s).\n\nNext.";
    QTest::newRow("markup") << forms::Desktop::Icon::Critical << "<img src=x>&amp;"
                            << "<img src=x>&amp;";
}

void TestDesktop::messageBoxShowsTextAsTyped()
{
    QFETCH(forms::Desktop::Icon, icon);
    QFETCH(QString, text);
    QFETCH(QString, shown);

    const auto box =
        forms::SystemDesktop::createMessageBox(nullptr, icon, QStringLiteral("Error"), text);
    QCOMPARE(box->textFormat(), Qt::PlainText);
    QCOMPARE(box->text(), shown);
    QCOMPARE(box->standardButtons(), QMessageBox::Ok);
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    QCOMPARE(box->icon(),
             icon == forms::Desktop::Icon::Critical ? QMessageBox::Critical : QMessageBox::Warning);
}

void TestDesktop::linkWithNoHandlerIsSilent()
{
    // No program takes the link: on Linux the offscreen platform opens no links at all, and on
    // Windows the shell finds no mail program (the test's Wine prefix has none). The program says
    // nothing to the user.
    forms::SystemDesktop desktop;
    forms::Desktop::install(&desktop);
#ifndef Q_OS_WIN
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("openUrl|not support|Unable")));
#endif
    links::openMailLink();
    forms::Desktop::install(nullptr);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestDesktop::boxGoesWithItsOwner()
{
    // A click queued before the box came (an access key animates its button for a moment) runs
    // while the box is open and may unload the window the box belongs to: the box goes with it,
    // and the program goes on.
    forms::SystemDesktop desktop;
    auto *owner = new QWidget;
    owner->show();
    const QPointer<QWidget> ownerAlive(owner);
    QTimer::singleShot(0, owner, [owner] { owner->deleteLater(); });
    desktop.messageBox(owner, forms::Desktop::Icon::Critical, QStringLiteral("Error"),
                       QStringLiteral("Please check the number of minutes."),
                       forms::Desktop::Arrival::Answer);
    QVERIFY(!ownerAlive);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
