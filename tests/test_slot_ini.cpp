#include "fake_platform.h"
#include "helpers.h"
#include "settings/slot_ini.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(TableColours)

namespace {

// A table whose colours differ from the creation colours and each other.
TableColours marked()
{
    return {111, 222, 333};
}

} // namespace

class TestSlotIni : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void creationColoursBytes();
    void roundTrip_data();
    void roundTrip();
    void handWritten_data();
    void handWritten();
    void missingOrUnreadableFile();
    void saveFailureKeepsOldFile();
private:
    // The files are written through the desktop.
    std::unique_ptr<FakePlatform> m_platform;
};

void TestSlotIni::init()
{
    m_platform = std::make_unique<FakePlatform>();
}

void TestSlotIni::cleanup()
{
    m_platform.reset();
}

void TestSlotIni::creationColoursBytes()
{
    const QByteArray expected = QByteArray("\x83\x65\x81\x5B\x83\x75\x83\x8B\x82\xCC\x90\x46\x20\x2C"
                                           "16761024\r\n"
                                           "\x8A\x4F\x98\x67\x82\xCC\x90\x46\x20\x2C"
                                           "8388608\r\n"
                                           "\x90\xFC\x82\xCC\x90\x46\x20\x2C"
                                           "16761024\r\n");
    QCOMPARE(formatSlotIni(TableColours{}), expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("slot.ini"));
    QVERIFY(saveSlotIni(path, TableColours{}));
    QCOMPARE(fileBytes(path), expected);
}

void TestSlotIni::roundTrip_data()
{
    QTest::addColumn<TableColours>("colours");
    QTest::newRow("creation") << TableColours{};
    QTest::newRow("black and white") << TableColours{0, 0xFFFFFF, 255};
    QTest::newRow("system colours") << TableColours{qint32(0x80000005), qint32(0x8000000F), -1};
    QTest::newRow("32-bit limits") << TableColours{2147483647, -2147483647 - 1, 65536};
}

void TestSlotIni::roundTrip()
{
    QFETCH(TableColours, colours);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("slot.ini"));
    QVERIFY(saveSlotIni(path, colours));
    TableColours loaded = marked();
    QVERIFY(loadSlotIni(path, loaded));
    QCOMPARE(loaded.table, colours.table);
    QCOMPARE(loaded.frame, colours.frame);
    QCOMPARE(loaded.line, colours.line);
}

void TestSlotIni::handWritten_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TableColours>("expected"); // applied to marked()

    QTest::newRow("other line order")
        << sj("線の色 ,1\r\nテーブルの色 ,2\r\n外枠の色 ,3\r\n") << TableColours{1, 2, 3};
    QTest::newRow("red frame") << sj("テーブルの色 ,0\r\n外枠の色 ,255\r\n線の色 ,0\r\n") << TableColours{0, 255, 0};
    QTest::newRow("no comma") << QByteArray("7\r\n 8\r\nx9\r\n") << TableColours{7, 8, 0};
    QTest::newRow("second comma") << QByteArray("a,1,2\r\nb,,3\r\n,4") << TableColours{1, 0, 4};
    QTest::newRow("hex") << QByteArray("k,&HFF\r\nk,&HFFFFFFFF\r\nk,&H80000000\r\n") << TableColours{255, -1, -2147483647 - 1};
    QTest::newRow("blanks in digits") << QByteArray("k, 2 55\r\nk,\t1\t0\r\nk,1e3\r\n") << TableColours{255, 10, 1000};
    QTest::newRow("halves to even") << QByteArray("k,2.5\r\nk,3.5\r\nk,-2.5\r\n") << TableColours{2, 4, -2};
    QTest::newRow("negative") << QByteArray("k,-5\r\nk,-2147483648\r\nk,&O17\r\n") << TableColours{-5, -2147483647 - 1, 15};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\r\n") << TableColours{0, 0, 0};
    QTest::newRow("two lines") << QByteArray("k,5\r\nk,6\r\n") << TableColours{5, 6, 333};
    QTest::newRow("one line without line end") << QByteArray("k,5") << TableColours{5, 222, 333};
    QTest::newRow("one line and an empty one") << QByteArray("k,5\r\n\r\n") << TableColours{5, 0, 333};
    QTest::newRow("empty file") << QByteArray() << marked();
    QTest::newRow("out of range keeps")
        << QByteArray("k,2147483648\r\nk,1e400\r\nk,-2147483648.6\r\n") << marked();
    QTest::newRow("half rounding out of range") << QByteArray("k,2147483647.5\r\nk,&H100000000\r\nk,2147483647.4") << TableColours{111, 222, 2147483647};
    // Only CR LF and CR end a line; a lone LF belongs to its line and is
    // skipped like a blank when the number is read.
    QTest::newRow("LF is no line end") << QByteArray("k,1\nk,2\nk,3\n") << TableColours{1, 222, 333};
    QTest::newRow("LF between digits") << QByteArray("k,1\n2\r\nk,\n3\r\n\nk,4\n") << TableColours{12, 3, 4};
    QTest::newRow("LF after CR LF") << QByteArray("k,1\r\n\nk,2\r\n\r\nk,3\r\n") << TableColours{1, 2, 0};
    QTest::newRow("CR line ends") << QByteArray("k,1\rk,2\rk,3") << TableColours{1, 2, 3};
    QTest::newRow("fourth line ignored") << QByteArray("k,1\r\nk,2\r\nk,3\r\nk,4\r\n") << TableColours{1, 2, 3};
    QTest::newRow("bytes of no character") << QByteArray("\x80\xFF,1\r\nk,\x88\r\n\x88,\x31") << TableColours{1, 0, 1};
}

void TestSlotIni::handWritten()
{
    QFETCH(QByteArray, bytes);
    QFETCH(TableColours, expected);
    TableColours colours = marked();
    applySlotIni(bytes, colours);
    QCOMPARE(colours.table, expected.table);
    QCOMPARE(colours.frame, expected.frame);
    QCOMPARE(colours.line, expected.line);
}

void TestSlotIni::missingOrUnreadableFile()
{
    QTemporaryDir dir;
    TableColours colours = marked();
    QVERIFY(!loadSlotIni(dir.filePath(QStringLiteral("slot.ini")), colours));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("slot.ini")));
    QVERIFY(!loadSlotIni(dir.filePath(QStringLiteral("slot.ini")), colours));
    QCOMPARE(colours.table, marked().table);
    QCOMPARE(colours.frame, marked().frame);
    QCOMPARE(colours.line, marked().line);
    QVERIFY(entriesOf(dir.filePath(QStringLiteral("slot.ini"))).isEmpty());
}

void TestSlotIni::saveFailureKeepsOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("slot.ini"));
    QVERIFY(saveSlotIni(path, TableColours{}));
    QVERIFY(!saveSlotIni(dir.filePath(QStringLiteral("missing/slot.ini")), marked()));
    m_platform->failWrites(WriteFault::PartialWrite);
    QVERIFY(!saveSlotIni(path, marked()));
    QCOMPARE(m_platform->failingWrites, 0);
    QCOMPARE(fileBytes(path), formatSlotIni(TableColours{}));
    QCOMPARE(entriesOf(dir.path()), QStringList{"slot.ini"});
}

QTEST_APPLESS_MAIN(TestSlotIni)
#include "test_slot_ini.moc"
