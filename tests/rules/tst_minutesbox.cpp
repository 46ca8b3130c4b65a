#include "rules/minutesbox.h"

#include <QTest>

using minutesbox::Verdict;

Q_DECLARE_METATYPE(minutesbox::Verdict)

class TestMinutesBox : public QObject
{
    Q_OBJECT
private slots:
    void check_data();
    void check();
};

void TestMinutesBox::check_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Verdict>("verdict");

    QTest::newRow("10") << "10" << Verdict::Start;
    QTest::newRow("1") << "1" << Verdict::Start;
    QTest::newRow("9999") << "9999" << Verdict::Start;
    QTest::newRow("ends in 9") << "19" << Verdict::Start;
    QTest::newRow("007") << "007" << Verdict::Start;
    QTest::newRow("blank then 7") << " 7" << Verdict::Start;
    QTest::newRow("+5") << "+5" << Verdict::Start;
    QTest::newRow("1e1") << "1e1" << Verdict::Start;
    QTest::newRow("whole with decimals") << "2.00" << Verdict::Start;

    // The last character must be a digit.
    QTest::newRow("empty") << "" << Verdict::CheckTheBox;
    QTest::newRow("abc") << "abc" << Verdict::CheckTheBox;
    QTest::newRow("12a") << "12a" << Verdict::CheckTheBox;
    QTest::newRow("5.") << "5." << Verdict::CheckTheBox;
    QTest::newRow("trailing blank") << "5 " << Verdict::CheckTheBox;
    QTest::newRow("colon, just above 9") << "5:" << Verdict::CheckTheBox;
    QTest::newRow("slash, just below 0") << "5/" << Verdict::CheckTheBox;
    QTest::newRow("other script digit") << QString(QChar(0x0663)) << Verdict::CheckTheBox;

    // Ends in a digit but is not a number as a whole.
    QTest::newRow("1x5") << "1x5" << Verdict::CheckTheBox;
    QTest::newRow("1.2.3") << "1.2.3" << Verdict::CheckTheBox;
    QTest::newRow("--5") << "--5" << Verdict::CheckTheBox;
    QTest::newRow("hex") << "0x10" << Verdict::CheckTheBox;
    QTest::newRow("beyond double") << "1e999" << Verdict::CheckTheBox;

    // A number whose countdown would never read exactly "0".
    QTest::newRow("negative") << "-5" << Verdict::CheckTheBox;
    QTest::newRow("fraction") << "1.5" << Verdict::CheckTheBox;
    QTest::newRow("below one") << "0.5" << Verdict::CheckTheBox;
    QTest::newRow("beyond the longest") << "1e4" << Verdict::CheckTheBox;
    QTest::newRow("far beyond") << "9e99" << Verdict::CheckTheBox;

    QTest::newRow("0") << "0" << Verdict::Zero;
    QTest::newRow("00") << "00" << Verdict::Zero;
    QTest::newRow("000") << "000" << Verdict::Zero;
    QTest::newRow("0.0") << "0.0" << Verdict::Zero;
    QTest::newRow("-0") << "-0" << Verdict::Zero;
    QTest::newRow("0e5") << "0e5" << Verdict::Zero;
}

void TestMinutesBox::check()
{
    QFETCH(QString, text);
    QFETCH(Verdict, verdict);
    QCOMPARE(minutesbox::check(text), verdict);
}

QTEST_APPLESS_MAIN(TestMinutesBox)
#include "tst_minutesbox.moc"
