#include "settings/ansi.h"

#include <QTest>

#include <atomic>
#include <thread>

class TestAnsi : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void encodesShiftJis();
    void roundTrip();
    void unencodableBecomesQuestionMark();
    void undecodableBecomesReplacement_data();
    void undecodableBecomesReplacement();
    void threadsDoNotDisturbEachOther();
};

void TestAnsi::encodesShiftJis()
{
    QCOMPARE(toAnsi(u"1位"), QByteArray("\x31\x88\xCA"));
    QCOMPARE(toAnsi(u"ｱﾟ"), QByteArray("\xB1\xDF"));        // half-width katakana
    QCOMPARE(toAnsi(u"\\~"), QByteArray("\\~"));            // ASCII stays ASCII
    QCOMPARE(toAnsi(u"～①"), QByteArray("\x81\x60\x87\x40")); // code page 932 forms
}

void TestAnsi::roundTrip()
{
    const QString text = QStringLiteral("スコアランキング 1位..5位 ABC-.9 りんご テレビ 電話 家 地球 "
                                        "ちょう 時計 ｶﾅ \\ ~ ～①Ⅰ");
    QCOMPARE(fromAnsi(toAnsi(text)), text);
    QByteArray all;
    for (int b = 0; b < 0x80; ++b)
        all += char(b);
    QCOMPARE(toAnsi(fromAnsi(all)), all);
}

void TestAnsi::unencodableBecomesQuestionMark()
{
    QCOMPARE(toAnsi(u"aéb"), QByteArray("a?b"));
    QCOMPARE(toAnsi(QString::fromUtf8("x\xF0\x9F\x98\x80y")), QByteArray("x?y")); // one per code point
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00, 0};
    QCOMPARE(toAnsi(QStringView(lone)), QByteArray("a?b?"));
}

void TestAnsi::undecodableBecomesReplacement_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cut after a lead byte") << QByteArray("\x31\x88") << QStringLiteral("1\uFFFD");
    QTest::newRow("lead byte and a non-trail") << QByteArray("\x88\x20z") << QStringLiteral("\uFFFD z");
    QTest::newRow("bytes of no character") << QByteArray("\x80\xA0\xFD\xFE\xFF")
                                           << QString(5, QChar(0xFFFD));
    QTest::newRow("unassigned pair") << QByteArray("\x85\x40!") << QStringLiteral("\uFFFD!");
    QTest::newRow("real SUB byte") << QByteArray("\x1A") << QStringLiteral("\x1A");
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << QStringView(u"a\0b", 3).toString();
}

void TestAnsi::undecodableBecomesReplacement()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QCOMPARE(fromAnsi(bytes), expected);
}

void TestAnsi::threadsDoNotDisturbEachOther()
{
    std::atomic<int> wrong{0};
    auto work = [&wrong](const QString &text, const QByteArray &bytes) {
        for (int i = 0; i < 2000; ++i) {
            if (toAnsi(text) != bytes || fromAnsi(bytes) != text)
                ++wrong;
        }
    };
    std::thread a(work, QStringLiteral("1位テーブル"), toAnsi(u"1位テーブル"));
    std::thread b(work, QStringLiteral("線の色外枠"), toAnsi(u"線の色外枠"));
    a.join();
    b.join();
    QCOMPARE(wrong.load(), 0);
}

QTEST_APPLESS_MAIN(TestAnsi)
#include "test_ansi.moc"
