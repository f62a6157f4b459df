#include "billing/bytecount.h"

#include <QTest>

#include <limits>

class TestByteCount : public QObject {
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<qint64>("count");
        constexpr qint64 max = std::numeric_limits<qint64>::max();
        QTest::newRow("plain") << QByteArray("123456") << qint64(123456);
        QTest::newRow("zero") << QByteArray("0") << qint64(0);
        QTest::newRow("past 32 bits") << QByteArray("5400000000") << qint64(5400000000);
        QTest::newRow("largest") << QByteArray("9223372036854775807") << max;
        QTest::newRow("2^53 + 1, exact")
            << QByteArray("9007199254740993") << qint64(9007199254740993);
        QTest::newRow("one past the largest") << QByteArray("9223372036854775808") << qint64(0);
        QTest::newRow("far past the largest")
            << QByteArray("123456789012345678901234567890") << qint64(0);
        QTest::newRow("old -1") << QByteArray("-1") << qint64(4294967295);
        QTest::newRow("old -2^31") << QByteArray("-2147483648") << qint64(2147483648);
        QTest::newRow("below -2^31") << QByteArray("-2147483649") << qint64(0);
        QTest::newRow("far below") << QByteArray("-99999999999999999999") << qint64(0);
        QTest::newRow("minus zero") << QByteArray("-0") << qint64(0);
        QTest::newRow("plus sign") << QByteArray("+8") << qint64(8);
        QTest::newRow("leading blanks") << QByteArray(" \t\v\f\r\n12abc") << qint64(12);
        QTest::newRow("letter in eight") << QByteArray("1234x678") << qint64(1234);
        QTest::newRow("letter in the head of twelve") << QByteArray("12x456789012") << qint64(12);
        QTest::newRow("letter in the tail of sixteen")
            << QByteArray("1234567890123x56") << qint64(1234567890123);
        QTest::newRow("fraction cut") << QByteArray("3.75") << qint64(3);
        QTest::newRow("exponent cut") << QByteArray("1e3") << qint64(1);
        QTest::newRow("garbage") << QByteArray("abc") << qint64(0);
        QTest::newRow("sign only") << QByteArray("-") << qint64(0);
        QTest::newRow("blank after sign") << QByteArray("- 5") << qint64(0);
        QTest::newRow("empty") << QByteArray() << qint64(0);
    }
    void parse()
    {
        QFETCH(QByteArray, text);
        QFETCH(qint64, count);
        QCOMPARE(CByteCount::Parse(text), count);
    }

    void addHoldsAtTheTop_data()
    {
        QTest::addColumn<qint64>("a");
        QTest::addColumn<qint64>("b");
        QTest::addColumn<qint64>("sum");
        constexpr qint64 max = std::numeric_limits<qint64>::max();
        QTest::newRow("small") << qint64(2) << qint64(3) << qint64(5);
        QTest::newRow("past 32 bits") << qint64(4294967295) << qint64(1) << qint64(4294967296);
        QTest::newRow("to the top") << max - 1 << qint64(1) << max;
        QTest::newRow("past the top") << max << max << max;
    }
    void addHoldsAtTheTop()
    {
        QFETCH(qint64, a);
        QFETCH(qint64, b);
        QFETCH(qint64, sum);
        QCOMPARE(CByteCount::Add(a, b), sum);
    }
};

QTEST_APPLESS_MAIN(TestByteCount)
#include "tst_bytecount.moc"
