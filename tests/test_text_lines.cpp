// Lines of a file's bytes as the profile files and slot.ini count them.

#include "settings/text_lines.h"

#include <QtTest>

Q_DECLARE_METATYPE(LineEnds)

namespace {

// The lines as "text|end" pairs, the end written as CRLF, CR, LF or -.
QStringList describe(const QByteArray &bytes, LineEnds ends, qsizetype max = -1)
{
    QStringList out;
    for (const TextLine &l : splitLines(bytes, ends, max)) {
        const QByteArray text = bytes.mid(l.begin, l.end - l.begin);
        const QByteArray end = bytes.mid(l.end, l.next - l.end);
        QString e = end == "\r\n" ? "CRLF" : end == "\r" ? "CR" : end == "\n" ? "LF" : end.isEmpty() ? "-" : "?";
        out << QString::fromLatin1(text).replace('\n', "\\n") + '|' + e;
    }
    return out;
}

} // namespace

class TestTextLines : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data();
    void lines();
    void aLimitStopsEarly();
};

void TestTextLines::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<LineEnds>("ends");
    QTest::addColumn<QStringList>("expected");
    const LineEnds profile = LineEnds::CrLfLfOrCr, slot = LineEnds::CrLfOrCr;
    QTest::newRow("empty") << QByteArray() << profile << QStringList();
    QTest::newRow("no line end") << QByteArray("a") << slot << QStringList{"a|-"};
    QTest::newRow("each end, profile") << QByteArray("a\r\nb\nc\rd") << profile
                                       << QStringList{"a|CRLF", "b|LF", "c|CR", "d|-"};
    QTest::newRow("each end, slot.ini") << QByteArray("a\r\nb\nc\rd") << slot
                                        << QStringList{"a|CRLF", "b\\nc|CR", "d|-"};
    QTest::newRow("LF CR is two ends in a profile") << QByteArray("a\n\rb") << profile
                                                    << QStringList{"a|LF", "|CR", "b|-"};
    QTest::newRow("LF after CR LF starts a line") << QByteArray("a\r\n\nb") << slot
                                                  << QStringList{"a|CRLF", "\\nb|-"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\r\n") << slot << QStringList{"|CRLF", "|CR", "|CRLF"};
    QTest::newRow("only LFs in slot.ini") << QByteArray("\n\n") << slot << QStringList{"\\n\\n|-"};
}

void TestTextLines::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(LineEnds, ends);
    QFETCH(QStringList, expected);
    QCOMPARE(describe(bytes, ends), expected);
    // Every byte belongs to exactly one line, in order.
    qsizetype pos = 0;
    for (const TextLine &l : splitLines(bytes, ends)) {
        QCOMPARE(l.begin, pos);
        QVERIFY(l.begin <= l.end && l.end <= l.next && l.next > l.begin);
        pos = l.next;
    }
    QCOMPARE(pos, bytes.size());
}

void TestTextLines::aLimitStopsEarly()
{
    QCOMPARE(describe("a\rb\rc\rd", LineEnds::CrLfOrCr, 3), (QStringList{"a|CR", "b|CR", "c|CR"}));
    QCOMPARE(describe("a\rb", LineEnds::CrLfOrCr, 0), QStringList());
}

QTEST_APPLESS_MAIN(TestTextLines)
#include "test_text_lines.moc"
