// Numbers read back from the game's files and settings store: the whole-
// text reading of the coin store and the ranking scores, at both widths,
// and the lenient reading of slot.ini.

#include "settings/stored_number.h"

#include <QTest>

class TestStoredNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conversion_data();
    void conversion();
    void wholeTextAt32Bits_data();
    void wholeTextAt32Bits();
    void lenientReadsTheStart();
};

void TestStoredNumber::conversion_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint16>>("expected");
    using C = std::optional<qint16>;
    const C none;

    QTest::newRow("plain") << "150" << C(150);
    QTest::newRow("zero") << "0" << C(0);
    QTest::newRow("blanks around") << " \t150 \t" << C(150);
    QTest::newRow("leading zeros") << "00042" << C(42);
    QTest::newRow("plus sign") << "+5" << C(5);
    QTest::newRow("half to even down") << "12.5" << C(12);
    QTest::newRow("half to even up") << "13.5" << C(14);
    QTest::newRow("negative half") << "-12.5" << C(-12);
    QTest::newRow("fraction only") << ".5" << C(0);
    QTest::newRow("trailing point") << "5." << C(5);
    QTest::newRow("exponent") << "1e2" << C(100);
    QTest::newRow("exponent D with sign") << "2.5D+1" << C(25);
    QTest::newRow("negative exponent") << "1500E-1" << C(150);
    QTest::newRow("cap") << "32767" << C(32767);
    QTest::newRow("minimum") << "-32768" << C(-32768);
    QTest::newRow("minimum half") << "-32768.5" << C(-32768);
    QTest::newRow("above cap") << "32768" << none;
    QTest::newRow("rounds above cap") << "32767.5" << none;
    QTest::newRow("below minimum") << "-32769" << none;
    QTest::newRow("far out of range") << "1e99999" << none;
    QTest::newRow("empty") << "" << none;
    QTest::newRow("blanks only") << "   " << none;
    QTest::newRow("letters") << "abc" << none;
    QTest::newRow("digits then letters") << "12abc" << none;
    QTest::newRow("two points") << "1.2.3" << none;
    QTest::newRow("blank inside") << "1 2" << none;
    QTest::newRow("point alone") << "." << none;
    QTest::newRow("sign alone") << "-" << none;
    QTest::newRow("exponent without digits") << "1e" << none;
    QTest::newRow("exponent alone") << "e5" << none;
    QTest::newRow("hex") << "&HFF" << none;
    QTest::newRow("thousands separator") << "1,000" << none;
    QTest::newRow("full-width digits") << QString::fromUtf8("１２") << none;
    QTest::newRow("line feed after") << "12\n" << none;
}

void TestStoredNumber::conversion()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint16>, expected);
    QCOMPARE(storedInteger(text, NumberReading::WholeText), expected);
}

void TestStoredNumber::wholeTextAt32Bits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint32>>("expected");
    using L = std::optional<qint32>;
    QTest::newRow("a score") << "500" << L(500);
    QTest::newRow("beyond 16 bits") << "40000" << L(40000);
    QTest::newRow("negative") << "-5" << L(-5);
    QTest::newRow("leading zero") << "0150" << L(150);
    QTest::newRow("largest") << "2147483647" << L(2147483647);
    QTest::newRow("smallest") << "-2147483648" << L(-2147483647 - 1);
    QTest::newRow("half to even") << "2.5" << L(2);
    QTest::newRow("rounds beyond") << "2147483647.5" << L();
    QTest::newRow("beyond") << "2147483648" << L();
    QTest::newRow("empty") << "" << L();
    QTest::newRow("name, not score") << "QLX" << L();
    QTest::newRow("digits then text") << "300pts" << L();
    QTest::newRow("hex") << "&H10" << L();
}

void TestStoredNumber::wholeTextAt32Bits()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint32>, expected);
    QCOMPARE(storedLong(text, NumberReading::WholeText), expected);
}

void TestStoredNumber::lenientReadsTheStart()
{
    // What slot.ini's colours go through: the number at the start, blanks
    // skipped, hexadecimal allowed, no number read as 0.
    using L = std::optional<qint32>;
    QCOMPARE(storedLong(u"12abc", NumberReading::Lenient), L(12));
    QCOMPARE(storedLong(u" 2 55", NumberReading::Lenient), L(255));
    QCOMPARE(storedLong(u"&HFF", NumberReading::Lenient), L(255));
    QCOMPARE(storedLong(u"abc", NumberReading::Lenient), L(0));
    QCOMPARE(storedLong(u"1e400", NumberReading::Lenient), L());
    QCOMPARE(storedInteger(u"40000", NumberReading::Lenient), std::optional<qint16>());
    QCOMPARE(storedInteger(u"-32768.5", NumberReading::Lenient), std::optional<qint16>(-32768));
}

QTEST_APPLESS_MAIN(TestStoredNumber)
#include "test_stored_number.moc"
