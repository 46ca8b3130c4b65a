#include "rules/counter.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestCounter : public QObject
{
    Q_OBJECT
private slots:
    void readNumber_data();
    void readNumber();
    void decrement_data();
    void decrement();
    void canonicalText_data();
    void canonicalText();
    void countsWholeNumbersDownToZeroExactly();
};

void TestCounter::readNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<double>("value");

    QTest::newRow("plain") << "10" << true << 10.0;
    QTest::newRow("leading zeros") << "007" << true << 7.0;
    QTest::newRow("blanks around") << " 7 " << true << 7.0;
    QTest::newRow("tab") << "\t7" << true << 7.0;
    QTest::newRow("plus") << "+5" << true << 5.0;
    QTest::newRow("minus") << "-5" << true << -5.0;
    QTest::newRow("decimal") << "1.5" << true << 1.5;
    QTest::newRow("point first") << ".5" << true << 0.5;
    QTest::newRow("point last") << "5." << true << 5.0;
    QTest::newRow("exponent") << "1e1" << true << 10.0;
    QTest::newRow("exponent upper signed") << "25E-1" << true << 2.5;
    QTest::newRow("minus zero") << "-0" << true << 0.0;
    QTest::newRow("zero point zero") << "0.0" << true << 0.0;
    QTest::newRow("large") << "1e300" << true << 1e300;

    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << "   " << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("letter inside") << "1x5" << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("two signs") << "--5" << false << 0.0;
    QTest::newRow("sign alone") << "-" << false << 0.0;
    QTest::newRow("point alone") << "." << false << 0.0;
    QTest::newRow("exponent without digits") << "1e" << false << 0.0;
    QTest::newRow("exponent alone") << "e5" << false << 0.0;
    QTest::newRow("blank inside") << "1 5" << false << 0.0;
    QTest::newRow("comma decimal") << "1,5" << false << 0.0;
    QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
    QTest::newRow("beyond double") << "1e999" << false << 0.0;
    QTest::newRow("infinity word") << "inf" << false << 0.0;
    QTest::newRow("not a number word") << "nan" << false << 0.0;
    QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << false << 0.0;
    QTest::newRow("fullwidth digit") << QString(QChar(0xFF17)) << false << 0.0;
}

void TestCounter::readNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, readable);
    QFETCH(double, value);

    const std::optional<double> read = counter::readNumber(text);
    QCOMPARE(read.has_value(), readable);
    if (readable)
        QCOMPARE(*read, value);
}

void TestCounter::decrement_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("next");
    // One row a line: clang-format would break between the two texts of each.
    // clang-format off

    QTest::newRow("59") << "59" << "58";
    QTest::newRow("zero to minus one") << "0" << "-1";
    QTest::newRow("10") << "10" << "9";
    QTest::newRow("007") << "007" << "6";
    QTest::newRow("blank then 7") << " 7" << "6";
    QTest::newRow("1.5") << "1.5" << "0.5";
    QTest::newRow("1e1") << "1e1" << "9";
    QTest::newRow("below zero") << "-1" << "-2";
    QTest::newRow("zero written otherwise") << "0.0" << "-1";
    QTest::newRow("plus sign") << "+5" << "4";
    QTest::newRow("one to zero") << "1" << "0";
    QTest::newRow("fraction below zero") << "0.3" << "-0.7";
    QTest::newRow("longest countdown") << "9999" << "9998";
    QTest::newRow("large, no exponent") << "1e20" << "100000000000000000000";
    QTest::newRow("quarter") << "1.25" << "0.25";
    QTest::newRow("half below zero") << "0.5" << "-0.5";

    // A caption that cannot be read stands still rather than jump to some number.
    QTest::newRow("empty stands still") << "" << "";
    QTest::newRow("letters stand still") << "abc" << "abc";
    QTest::newRow("partly numeric stands still") << "1x5" << "1x5";
    // clang-format on
}

void TestCounter::decrement()
{
    QFETCH(QString, caption);
    QFETCH(QString, next);
    QCOMPARE(counter::decrement(caption), next);
}

void TestCounter::canonicalText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("whole") << 58.0 << "58";
    QTest::newRow("negative") << -2.0 << "-2";
    QTest::newRow("tenth") << 0.1 << "0.1";
    QTest::newRow("rounded to fifteen digits") << 0.1 + 0.2 << "0.3";
    QTest::newRow("tiny") << 1.5e-7 << "0.00000015";
    QTest::newRow("trailing zeros of a whole number kept") << 1200.0 << "1200";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "0";
}

void TestCounter::canonicalText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(counter::canonicalText(value), text);
}

void TestCounter::countsWholeNumbersDownToZeroExactly()
{
    // Whatever its spelling, a whole number counts down through canonical texts and reaches the
    // exact text "0" that the end tests look for.
    for (const QString &start : {QStringLiteral("25"), QStringLiteral("007"), QStringLiteral(" 12"),
                                 QStringLiteral("3e1")}) {
        QString caption = start;
        int steps = 0;
        while (caption != QStringLiteral("0") && steps < 100) {
            caption = counter::decrement(caption);
            ++steps;
            QCOMPARE(caption, counter::canonicalText(*counter::readNumber(caption)));
        }
        QCOMPARE(steps, static_cast<int>(*counter::readNumber(start)));
    }
}

QTEST_APPLESS_MAIN(TestCounter)
#include "tst_counter.moc"
