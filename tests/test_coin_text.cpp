#include "game/coin_text.h"

#include <QTest>

class TestCoinText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void conversion_data();
    void conversion();
};

void TestCoinText::conversion_data()
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

void TestCoinText::conversion()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint16>, expected);
    QCOMPARE(coinFromStoredText(text), expected);
}

QTEST_APPLESS_MAIN(TestCoinText)
#include "test_coin_text.moc"
