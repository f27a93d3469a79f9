#include "helpers.h"
#include "ranking/profile_file.h"

#include <QTest>

#include <map>
#include <random>

namespace {

const char *const kRanking = "[1位]\r\nname=QLX\r\nscore=500\r\n[2位]\r\nname=TIV\r\nscore=400\r\n"
                             "[3位]\r\nname=AAA\r\nscore=300\r\n[4位]\r\nname=RIN\r\nscore=200\r\n"
                             "[5位]\r\nname=GO-\r\nscore=100\r\n";

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void read_data();
    void read();
    void readLimit();
    void readLongLines();
    void write_data();
    void write();
    void writeRefusesNamesThatWouldNotReadBack_data();
    void writeRefusesNamesThatWouldNotReadBack();
    void writeStopsValueAtLineBreak();
    void writesThenReadsAgree();
};

void TestProfileFile::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("def");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("ranking name") << sj(kRanking) << sj("1位") << QByteArray("name") << QByteArray() << QByteArray("QLX");
    QTest::newRow("key in other case") << sj(kRanking) << sj("2位") << QByteArray("NaMe") << QByteArray() << QByteArray("TIV");
    QTest::newRow("section in other case") << QByteArray("[Abc]\r\nk=1") << QByteArray("aBC") << QByteArray("k") << QByteArray() << QByteArray("1");
    QTest::newRow("passed names trimmed") << QByteArray("[s]\r\nk=1") << QByteArray(" s\t") << QByteArray("\tk ") << QByteArray() << QByteArray("1");
    QTest::newRow("missing key") << sj(kRanking) << sj("1位") << QByteArray("rank") << QByteArray("d") << QByteArray("d");
    QTest::newRow("missing section") << sj(kRanking) << sj("6位") << QByteArray("name") << QByteArray("d") << QByteArray("d");
    QTest::newRow("empty file") << QByteArray() << sj("1位") << QByteArray("name") << QByteArray("d") << QByteArray("d");
    QTest::newRow("default loses trailing blanks") << QByteArray() << QByteArray("s") << QByteArray("k") << QByteArray(" d \t") << QByteArray(" d");
    QTest::newRow("empty value is no default") << QByteArray("[s]\r\nname=\r\n") << QByteArray("s") << QByteArray("name") << QByteArray("d") << QByteArray();
    QTest::newRow("UTF-8 headers do not match") << QByteArray(kRanking) << sj("1位") << QByteArray("name") << QByteArray("d") << QByteArray("d");
    QTest::newRow("BOM hides the first header") << QByteArray("\xEF\xBB\xBF[s]\r\nk=1\r\n") << QByteArray("s") << QByteArray("k") << QByteArray("d") << QByteArray("d");
    QTest::newRow("BOM leaves later headers") << QByteArray("\xEF\xBB\xBF[s]\r\nk=1\r\n[t]\r\nk=2") << QByteArray("t") << QByteArray("k") << QByteArray() << QByteArray("2");
    QTest::newRow("comment lines") << QByteArray("[s]\r\n;k=1\r\n \t; k=2\r\nk=3") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("3");
    QTest::newRow("commented header") << QByteArray(";[t]\r\nk=1") << QByteArray("t") << QByteArray("k") << QByteArray("d") << QByteArray("d");
    QTest::newRow("blanks and tabs") << QByteArray(" \t[ s ]\t\r\n \t k \t=\t v w \t\r\n") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("v w");
    QTest::newRow("text after header") << QByteArray("[s] x]\r\nk=1") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("1");
    QTest::newRow("header without bracket") << QByteArray("[s \r\nk=1") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("1");
    QTest::newRow("line without equals") << QByteArray("[s]\r\nk\r\nk=2") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("2");
    QTest::newRow("equals in value") << QByteArray("[s]\r\nk=a=b") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("a=b");
    QTest::newRow("blank key name") << QByteArray("[s]\r\n=1\r\n") << QByteArray("s") << QByteArray("") << QByteArray("d") << QByteArray("d");
    QTest::newRow("first section wins") << QByteArray("[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("1");
    QTest::newRow("duplicate section unseen") << QByteArray("[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3") << QByteArray("s") << QByteArray("j") << QByteArray("d") << QByteArray("d");
    QTest::newRow("first key wins") << QByteArray("[s]\r\nk=1\r\nK=2") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("1");
    QTest::newRow("key before any header") << QByteArray("k=0\r\n[s]\r\nj=1") << QByteArray("s") << QByteArray("k") << QByteArray("d") << QByteArray("d");
    QTest::newRow("key of the next section") << QByteArray("[s]\r\nj=1\r\n[t]\r\nk=2") << QByteArray("s") << QByteArray("k") << QByteArray("d") << QByteArray("d");
    QTest::newRow("LF line ends") << QByteArray("[s]\nk=1\n[t]\nk=2\n") << QByteArray("t") << QByteArray("k") << QByteArray() << QByteArray("2");
    QTest::newRow("CR line ends") << QByteArray("[s]\rk=1\r[t]\rk=2") << QByteArray("t") << QByteArray("k") << QByteArray() << QByteArray("2");
    QTest::newRow("quotes") << QByteArray("[s]\r\nk=\"abc\"") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("abc");
    QTest::newRow("single quotes") << QByteArray("[s]\r\nk='abc'") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("abc");
    QTest::newRow("quotes keep blanks") << QByteArray("[s]\r\nk= \" a \" ") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray(" a ");
    QTest::newRow("unmatched quotes") << QByteArray("[s]\r\nk=\"abc'") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("\"abc'");
    QTest::newRow("one quote char") << QByteArray("[s]\r\nk=\"") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("\"");
    QTest::newRow("empty quotes") << QByteArray("[s]\r\nk=''") << QByteArray("s") << QByteArray("k") << QByteArray("d") << QByteArray();
    QTest::newRow("one pair only") << QByteArray("[s]\r\nk=\"\"x\"\"") << QByteArray("s") << QByteArray("k") << QByteArray() << QByteArray("\"x\"");
    // 0x83 0x41 and 0x83 0x61 differ only in a trail byte that looks like a letter.
    QTest::newRow("double-byte not case-folded") << sj("[ヂ]\r\nk=1") << sj("ア") << QByteArray("k") << QByteArray("d") << QByteArray("d");
    // ゾ is 0x83 0x5D: its trail byte is ']'.
    QTest::newRow("bracket as trail byte") << sj("[ゾ]\r\nk=1") << sj("ゾ") << QByteArray("k") << QByteArray() << QByteArray("1");
    QTest::newRow("NUL bytes are ordinary") << QByteArray("[s\0]\r\nk=a\0b", 11) << QByteArray("s\0", 2) << QByteArray("k") << QByteArray() << QByteArray("a\0b", 3);
}

void TestProfileFile::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, def);
    QFETCH(QByteArray, expected);
    QCOMPARE(profileRead(file, section, key, def), expected);
}

void TestProfileFile::readLimit()
{
    const QByteArray x400(400, 'x');
    QCOMPARE(profileRead("[s]\r\nk=" + x400, "s", "k", ""), QByteArray(319, 'x'));
    QCOMPARE(profileRead("[s]\r\nk=\"" + x400 + "\"", "s", "k", ""), QByteArray(319, 'x'));
    QCOMPARE(profileRead("", "s", "k", x400), QByteArray(319, 'x'));
    // A double-byte character is never cut in two.
    const QByteArray kanji = sj("位").repeated(200);
    QCOMPARE(profileRead("[s]\r\nk=A" + kanji, "s", "k", ""), "A" + kanji.left(318));
    QCOMPARE(profileRead("[s]\r\nk=" + kanji, "s", "k", ""), kanji.left(318));
}

void TestProfileFile::readLongLines()
{
    const QByteArray mega(1 << 20, 'v');
    const QByteArray file = ";" + mega + "\r\n[" + mega + "\r\n" + mega + "\r\n[s]\r\nk=" + mega + "\r\nj=2";
    QCOMPARE(profileRead(file, "s", "k", ""), QByteArray(319, 'v'));
    QCOMPARE(profileRead(file, "s", "j", ""), QByteArray("2"));
    QCOMPARE(profileRead(file, mega, "k", "d"), QByteArray("d"));
    const QByteArray written = profileWrite(file, "s", "k", "1");
    QCOMPARE(written.size(), file.size() - mega.size() + 1);
    QCOMPARE(profileRead(written, "s", "k", ""), QByteArray("1"));
}

void TestProfileFile::write_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("score into a rank with only a name")
        << sj("[2位]\r\nname=TIV\r\nscore=400\r\n[3位]\r\nname=AAA\r\n[4位]\nname=RIN\nscore=200")
        << sj("3位") << QByteArray("score") << QByteArray("150")
        << sj("[2位]\r\nname=TIV\r\nscore=400\r\n[3位]\r\nname=AAA\r\nscore=150\r\n[4位]\nname=RIN\nscore=200");
    QTest::newRow("replace keeps spelling, layout and line end")
        << QByteArray("[s]\n NAME = old \tx\nk2=1\n") << QByteArray("S") << QByteArray("name") << QByteArray("new")
        << QByteArray("[s]\n NAME =new\nk2=1\n");
    QTest::newRow("replace on a last line without line end")
        << QByteArray("[s]\r\nk=1") << QByteArray("s") << QByteArray("k") << QByteArray("22")
        << QByteArray("[s]\r\nk=22");
    QTest::newRow("replace the first of duplicate keys")
        << QByteArray("[s]\r\nk=1\r\nk=2\r\n") << QByteArray("s") << QByteArray("k") << QByteArray("3")
        << QByteArray("[s]\r\nk=3\r\nk=2\r\n");
    QTest::newRow("insert before closing blank and comment lines")
        << sj("[1位]\r\nname=A\r\n\r\n;note\r\n[2位]\r\nname=B\r\n") << sj("1位") << QByteArray("score") << QByteArray("150")
        << sj("[1位]\r\nname=A\r\nscore=150\r\n\r\n;note\r\n[2位]\r\nname=B\r\n");
    QTest::newRow("insert after a line without equals")
        << QByteArray("[s]\r\nk=1\r\njunk\r\n\r\n") << QByteArray("s") << QByteArray("j") << QByteArray("2")
        << QByteArray("[s]\r\nk=1\r\njunk\r\nj=2\r\n\r\n");
    QTest::newRow("insert after a header alone")
        << QByteArray("[s]\n\n[t]\n") << QByteArray("s") << QByteArray("k") << QByteArray("v")
        << QByteArray("[s]\nk=v\r\n\n[t]\n");
    QTest::newRow("insert after a header without line end")
        << QByteArray("[s]") << QByteArray("s") << QByteArray("k") << QByteArray("v")
        << QByteArray("[s]\r\nk=v\r\n");
    QTest::newRow("insert after a key without line end")
        << QByteArray("[s]\r\na=1") << QByteArray("s") << QByteArray("k") << QByteArray("v")
        << QByteArray("[s]\r\na=1\r\nk=v\r\n");
    QTest::newRow("insert into the first of duplicate sections")
        << QByteArray("[s]\r\nk=1\r\n[s]\r\nj=2\r\n") << QByteArray("s") << QByteArray("j") << QByteArray("3")
        << QByteArray("[s]\r\nk=1\r\nj=3\r\n[s]\r\nj=2\r\n");
    QTest::newRow("append section") << QByteArray("[s]\r\na=1\r\n") << QByteArray("t") << QByteArray("k") << QByteArray("v")
                                    << QByteArray("[s]\r\na=1\r\n[t]\r\nk=v\r\n");
    QTest::newRow("append section after a last line without end")
        << QByteArray("[s]\r\na=1") << QByteArray("t") << QByteArray("k") << QByteArray("v")
        << QByteArray("[s]\r\na=1\r\n[t]\r\nk=v\r\n");
    QTest::newRow("append section after LF") << QByteArray("[s]\na=1\n") << QByteArray("t") << QByteArray("k") << QByteArray("v")
                                             << QByteArray("[s]\na=1\n[t]\r\nk=v\r\n");
    QTest::newRow("append behind a BOM") << QByteArray("\xEF\xBB\xBF[s]\r\nk=1\r\n") << QByteArray("s") << QByteArray("k") << QByteArray("2")
                                         << QByteArray("\xEF\xBB\xBF[s]\r\nk=1\r\n[s]\r\nk=2\r\n");
    QTest::newRow("double-byte not case-folded") << sj("[ヂ]\r\nk=1\r\n") << sj("ア") << QByteArray("k") << QByteArray("2")
                                                 << sj("[ヂ]\r\nk=1\r\n[ア]\r\nk=2\r\n");
    QTest::newRow("new file") << QByteArray() << sj("1位") << QByteArray("name") << QByteArray("ABC")
                              << QByteArray("[\x31\x88\xCA]\r\nname=ABC\r\n");
    QTest::newRow("empty value") << QByteArray("[s]\r\nname=ABC\r\n") << QByteArray("s") << QByteArray("name") << QByteArray()
                                 << QByteArray("[s]\r\nname=\r\n");
    QTest::newRow("names trimmed") << QByteArray() << QByteArray(" s ") << QByteArray("\tk ") << QByteArray(" v ")
                                   << QByteArray("[s]\r\nk= v \r\n");
}

void TestProfileFile::write()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, expected);
    const QByteArray written = profileWrite(file, section, key, value);
    QCOMPARE(written, expected);
    QCOMPARE(profileRead(written, section, key, "unread"), profileRead("[s]\r\nk=" + value, "s", "k", ""));
}

void TestProfileFile::writeRefusesNamesThatWouldNotReadBack_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::newRow("empty key") << QByteArray("s") << QByteArray(" ");
    QTest::newRow("equals in key") << QByteArray("s") << QByteArray("a=b");
    QTest::newRow("comment key") << QByteArray("s") << QByteArray(";k");
    QTest::newRow("header key") << QByteArray("s") << QByteArray("[k");
    QTest::newRow("line break in key") << QByteArray("s") << QByteArray("k\r\nx");
    QTest::newRow("empty section") << QByteArray("") << QByteArray("k");
    QTest::newRow("bracket in section") << QByteArray("s]") << QByteArray("k");
    QTest::newRow("line break in section") << QByteArray("s\nx") << QByteArray("k");
    // "[3\x88]" would read as a header without ']': 0x88 takes it as its
    // trail byte.
    QTest::newRow("section ending in a lead byte") << QByteArray("3\x88") << QByteArray("k");
}

void TestProfileFile::writeRefusesNamesThatWouldNotReadBack()
{
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    const QByteArray file("[s]\r\nk=1\r\n");
    QCOMPARE(profileWrite(file, section, key, "v"), file);
}

void TestProfileFile::writeStopsValueAtLineBreak()
{
    const QByteArray file("[s]\r\nk=1\r\n");
    for (const QByteArray &evil : {QByteArray("a\r\n[x]\r\nevil=1"), QByteArray("a\n[x]"), QByteArray("a\r[x]")}) {
        const QByteArray written = profileWrite(file, "s", "k", evil);
        QCOMPARE(written, QByteArray("[s]\r\nk=a\r\n"));
        QCOMPARE(profileRead(written, "x", "evil", "none"), QByteArray("none"));
    }
}

void TestProfileFile::writesThenReadsAgree()
{
    // A messy file, many writes in a fixed pseudo-random order: every value
    // written reads back, and the parts never written stay byte for byte.
    const QByteArray tail = sj("[Abc]\n;keep\r\n[1位]\r\nname=OLD\r\n");
    QByteArray file = sj("; ranking\r\n\r\n[1位]\nname=QLX\r\n\r\n;c\r\n[ABC]\rx=1\r[2位]\r\nscore=1") + "\r\n" + tail;
    const QList<QByteArray> sections{sj("1位"), sj("2位"), sj("3位"), "abc", "ABC", "x"};
    const QList<QByteArray> keys{"name", "score", "NAME", "x"};
    std::map<std::pair<QByteArray, QByteArray>, QByteArray> model; // lower-case names
    std::mt19937 random(4711);
    for (int i = 0; i < 300; ++i) {
        const QByteArray s = sections[random() % sections.size()];
        const QByteArray k = keys[random() % keys.size()];
        const QByteArray v = QByteArray::number(int(random() % 1000)).repeated(int(random() % 3));
        file = profileWrite(file, s, k, v);
        model[{s.toLower(), k.toLower()}] = v;
        for (const auto &[name, value] : model)
            QCOMPARE(profileRead(file, name.first, name.second, "missing"), value);
    }
    // Sections that were missing went to the end, behind the untouched tail.
    const qsizetype at = file.indexOf(tail);
    QVERIFY(at > 0);
    QVERIFY(file.size() == at + tail.size() || file.at(at + tail.size()) == '[');
    QVERIFY(file.startsWith("; ranking\r\n\r\n["));
}

QTEST_APPLESS_MAIN(TestProfileFile)
#include "test_profile_file.moc"
