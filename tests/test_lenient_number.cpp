#include "settings/lenient_number.h"

#include <QTest>

#include <cmath>
#include <limits>

// Exact comparison; QCOMPARE on doubles would forgive small errors.
#define COMPARE_EXACT(actual, expected)                                                        \
    QVERIFY2((actual) == (expected),                                                           \
             qPrintable(QStringLiteral("got %1, expected %2")                                  \
                            .arg(actual, 0, 'g', 17)                                           \
                            .arg(expected, 0, 'g', 17)))

class TestLenientNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void val_data();
    void val();
    void valNeverReadsPastTheText();
    void valHugeInputs();
    void rounding_data();
    void rounding();
};

void TestLenientNumber::val_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    const double inf = std::numeric_limits<double>::infinity();

    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blanks only") << " \t\n" << 0.0;
    QTest::newRow("letters") << "abc" << 0.0;
    QTest::newRow("sign alone") << "+" << 0.0;
    QTest::newRow("digits then letters") << "12abc" << 12.0;
    QTest::newRow("negative") << "-7" << -7.0;
    QTest::newRow("blank in digits") << " 2 55" << 255.0;
    QTest::newRow("tab and line feed in digits") << "1\t2\n3" << 123.0;
    QTest::newRow("blank after sign") << "- 5" << -5.0;
    QTest::newRow("carriage return ends") << "12\r3" << 12.0;
    QTest::newRow("full-width digit") << QString::fromUtf8("１") << 0.0;
    QTest::newRow("comma ends") << "1,000" << 1.0;
    QTest::newRow("half") << "2.5" << 2.5;
    QTest::newRow("second point ends") << "1.2.3" << 1.2;
    QTest::newRow("leading point") << "-.5" << -0.5;
    QTest::newRow("trailing point") << "5." << 5.0;
    QTest::newRow("exponent") << "1e3" << 1000.0;
    QTest::newRow("exponent D") << "1d2" << 100.0;
    QTest::newRow("exponent with sign and blanks") << "2 5 E - 1" << 2.5;
    QTest::newRow("exponent without digits") << "1e" << 1.0;
    QTest::newRow("hex") << "&HFF" << 255.0;
    QTest::newRow("hex lower case, blanks") << "& h f f" << 255.0;
    QTest::newRow("hex 16-bit top bit") << "&HFFFF" << -1.0;
    QTest::newRow("hex 16-bit minimum") << "&H8000" << -32768.0;
    QTest::newRow("hex leading zeros") << "&H0000FFFF" << -1.0;
    QTest::newRow("hex beyond 16 bits") << "&H10000" << 65536.0;
    QTest::newRow("hex 32-bit minimum") << "&H80000000" << -2147483648.0;
    QTest::newRow("hex 32-bit top bit") << "&HFFFFFFFF" << -1.0;
    QTest::newRow("hex beyond 32 bits") << "&H100000000" << 4294967296.0;
    QTest::newRow("hex stops at non-digit") << "&HFG" << 15.0;
    QTest::newRow("hex without digits") << "&H" << 0.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&o78" << 7.0;
    QTest::newRow("unknown radix") << "&X1" << 0.0;
    QTest::newRow("sign before radix") << "-&H10" << 0.0;
    QTest::newRow("overflow") << "1e400" << inf;
    QTest::newRow("negative overflow") << "-1e400" << -inf;
    QTest::newRow("underflow") << "1e-400" << 0.0;
    QTest::newRow("largest double") << "1.7976931348623157e308" << 1.7976931348623157e308;
    QTest::newRow("smallest subnormal") << "4.9406564584124654e-324" << 4.9406564584124654e-324;
}

void TestLenientNumber::val()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    COMPARE_EXACT(basicVal(text), expected);
}

void TestLenientNumber::valNeverReadsPastTheText()
{
    // A view on part of a longer text ends where the view ends.
    const QString whole = QStringLiteral("12345");
    COMPARE_EXACT(basicVal(QStringView(whole).first(2)), 12.0);
    const QString hex = QStringLiteral("&HFFFF");
    COMPARE_EXACT(basicVal(QStringView(hex).first(4)), 255.0);
    COMPARE_EXACT(basicVal(QStringView(whole).first(0)), 0.0);
}

void TestLenientNumber::valHugeInputs()
{
    // A million digits: exact value 10^999999, infinite as a double.
    const QString big = QLatin1Char('1') + QString(999999, QLatin1Char('0'));
    QVERIFY(std::isinf(basicVal(big)));
    // Many leading and trailing zeros around a small value.
    const QString small = QStringLiteral("0.") + QString(500000, QLatin1Char('0'))
        + QStringLiteral("5e500001");
    COMPARE_EXACT(basicVal(small), 5.0);
    // More significant digits than a double holds still round correctly:
    // 1 + 2^-53 is exactly halfway and goes to even (1.0); anything above
    // halfway, however far down, goes up.
    const QString halfway = QStringLiteral("1.00000000000000011102230246251565404236316680908203125");
    COMPARE_EXACT(basicVal(halfway), 1.0);
    COMPARE_EXACT(basicVal(halfway + QString(2000, QLatin1Char('0')) + QLatin1Char('1')),
                  1.0000000000000002);
}

void TestLenientNumber::rounding_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<std::optional<qint32>>("asLong");
    QTest::addColumn<std::optional<qint16>>("asInteger");
    const auto none32 = std::optional<qint32>();
    const auto none16 = std::optional<qint16>();
    using L = std::optional<qint32>;
    using I = std::optional<qint16>;

    QTest::newRow("2.5") << 2.5 << L(2) << I(2);
    QTest::newRow("3.5") << 3.5 << L(4) << I(4);
    QTest::newRow("-0.5") << -0.5 << L(0) << I(0);
    QTest::newRow("-2.5") << -2.5 << L(-2) << I(-2);
    QTest::newRow("-3.5") << -3.5 << L(-4) << I(-4);
    QTest::newRow("just below half") << 2.4999999999999996 << L(2) << I(2);
    QTest::newRow("just above half") << 2.5000000000000004 << L(3) << I(3);
    QTest::newRow("16-bit max half") << 32767.5 << L(32768) << none16;
    QTest::newRow("16-bit min half") << -32768.5 << L(-32768) << I(-32768);
    QTest::newRow("32-bit max") << 2147483647.0 << L(2147483647) << none16;
    QTest::newRow("32-bit max half") << 2147483647.5 << none32 << none16;
    QTest::newRow("32-bit min half") << -2147483648.5 << L(-2147483647 - 1) << none16;
    QTest::newRow("below 32-bit") << -2147483648.6 << none32 << none16;
    QTest::newRow("huge") << 1e300 << none32 << none16;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << none32 << none16;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << none32 << none16;
}

void TestLenientNumber::rounding()
{
    QFETCH(double, value);
    QFETCH(std::optional<qint32>, asLong);
    QFETCH(std::optional<qint16>, asInteger);
    QCOMPARE(roundToLong(value), asLong);
    QCOMPARE(roundToInteger(value), asInteger);
}

QTEST_APPLESS_MAIN(TestLenientNumber)
#include "test_lenient_number.moc"
