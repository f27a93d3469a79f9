#include "ranking/inigw.h"

#include "fake_platform.h"
#include "file_conditions.h"
#include "helpers.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

const QByteArray kRanking =
    rankingBytes({{"QLX", "500"}, {"TIV", "400"}, {"AAA", "300"}, {"RIN", "200"}, {"GO-", "100"}});

} // namespace

class TestInigw : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void readWithoutFileCreatesNothing();
    void emptyPathTouchesNothing();
    void writeCreatesShiftJisFile();
    void longValuesAreCut();
    void emptyAndBrokenValues();
    void unreadableFileIsNeverReplaced();
    void failedWriteChangesNothing();
    void interruptedWriteLeavesOldOrNew();

private:
    QString dataIni() const { return programFile(QStringLiteral("data.ini")); }

    std::unique_ptr<FakePlatform> m_platform;
};

void TestInigw::init()
{
    m_platform = std::make_unique<FakePlatform>();
}

void TestInigw::cleanup()
{
    QFile::setPermissions(m_platform->dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_platform.reset();
}

void TestInigw::readWithoutFileCreatesNothing()
{
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "", dataIni()), QString());
    QCOMPARE(GetIni(QStringLiteral("1位"), "score", "0", dataIni()), QStringLiteral("0"));
    // A write that cannot be made (no key name) makes no file either.
    WriteIni(QStringLiteral("1位"), "", "x", dataIni());
    QVERIFY(entriesOf(m_platform->dir).isEmpty());
}

void TestInigw::emptyPathTouchesNothing()
{
    putFile(dataIni(), kRanking);
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "default", QString()), QString());
    WriteIni(QStringLiteral("1位"), "name", "XYZ", QString());
    QCOMPARE(entriesOf(m_platform->dir), QStringList{"data.ini"});
    QCOMPARE(fileBytes(dataIni()), kRanking);
    QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("data.ini"))));
}

void TestInigw::writeCreatesShiftJisFile()
{
    WriteIni(QStringLiteral("1位"), "name", "ABC", dataIni());
    WriteIni(QStringLiteral("1位"), "score", "500", dataIni());
    WriteIni(QStringLiteral("2位"), "name", QStringLiteral("あ-1"), dataIni());
    QCOMPARE(fileBytes(dataIni()), sj("[1位]\r\nname=ABC\r\nscore=500\r\n[2位]\r\nname=あ-1\r\n"));
    QCOMPARE(GetIni(QStringLiteral("1位"), "SCORE", "", dataIni()), QStringLiteral("500"));
    QCOMPARE(GetIni(QStringLiteral("2位"), "name", "", dataIni()), QStringLiteral("あ-1"));
    QCOMPARE(entriesOf(m_platform->dir), QStringList{"data.ini"});
}

void TestInigw::longValuesAreCut()
{
    WriteIni(QStringLiteral("1位"), "name", QString(400, QLatin1Char('N')), dataIni());
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "", dataIni()), QString(319, QLatin1Char('N')));
    // 319 bytes end inside the 160th double-byte character: it is left out
    // whole, nothing broken is shown in its place.
    WriteIni(QStringLiteral("1位"), "name", QStringLiteral("位").repeated(200), dataIni());
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "", dataIni()), QStringLiteral("位").repeated(159));
}

void TestInigw::emptyAndBrokenValues()
{
    putFile(dataIni(), kRanking);
    WriteIni(QStringLiteral("3位"), "name", "", dataIni());
    QVERIFY(fileBytes(dataIni()).contains(sj("[3位]\r\nname=\r\nscore=300\r\n")));
    QCOMPARE(GetIni(QStringLiteral("3位"), "name", "unused", dataIni()), QString());
    // A line break in a value cannot plant new lines; a NUL ends the value.
    WriteIni(QStringLiteral("4位"), "name", QStringLiteral("AB\r\n[6位]\r\nname=X"), dataIni());
    WriteIni(QStringLiteral("5位"), "name", QStringView(u"CD\0EF", 5).toString(), dataIni());
    QCOMPARE(GetIni(QStringLiteral("4位"), "name", "", dataIni()), QStringLiteral("AB"));
    QCOMPARE(GetIni(QStringLiteral("5位"), "name", "", dataIni()), QStringLiteral("CD"));
    QCOMPARE(GetIni(QStringLiteral("6位"), "name", "none", dataIni()), QStringLiteral("none"));
    QCOMPARE(GetIni(QStringLiteral("4位"), "score", "", dataIni()), QStringLiteral("200"));
}

void TestInigw::unreadableFileIsNeverReplaced()
{
    // A data.ini that exists but cannot be read must not be replaced by a
    // file holding only the one value written.
    putFile(dataIni(), kRanking);
    QVERIFY(QFile::setPermissions(m_platform->dir, QFile::Permissions(0x7777)));
    QVERIFY(QFile::setPermissions(dataIni(), QFile::Permissions()));
    {
        WithoutFilePrivileges unprivileged;
        if (QFile(dataIni()).open(QIODevice::ReadOnly))
            QSKIP("this system lets the tester read unreadable files");
        QVERIFY(canCreateFileIn(m_platform->dir));
        QCOMPARE(GetIni(QStringLiteral("1位"), "name", "d", dataIni()), QStringLiteral("d"));
        WriteIni(QStringLiteral("1位"), "name", "XYZ", dataIni());
    }
    // Readable again for the check, also to a tester without root's
    // privileges.
    QVERIFY(QFile::setPermissions(dataIni(), QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(fileBytes(dataIni()), kRanking);
    // A directory in the place of the file is left alone the same way.
    QVERIFY(QFile::remove(dataIni()));
    QVERIFY(QDir(m_platform->dir).mkdir("data.ini"));
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "d", dataIni()), QStringLiteral("d"));
    WriteIni(QStringLiteral("1位"), "name", "XYZ", dataIni());
    QVERIFY(QFileInfo(dataIni()).isDir());
    QVERIFY(entriesOf(dataIni()).isEmpty());
}

void TestInigw::failedWriteChangesNothing()
{
    putFile(dataIni(), kRanking);
    QVERIFY(QFile::setPermissions(m_platform->dir, QFile::ReadOwner | QFile::ExeOwner
                                                       | QFile::ReadOther | QFile::ExeOther));
    WithoutFilePrivileges unprivileged;
    if (canCreateFileIn(m_platform->dir))
        QSKIP("this system lets the tester write into read-only directories");
    WriteIni(QStringLiteral("1位"), "score", "9999", dataIni());
    WriteIni(QStringLiteral("9位"), "name", "NEW", dataIni());
    QCOMPARE(fileBytes(dataIni()), kRanking);
    QCOMPARE(GetIni(QStringLiteral("1位"), "score", "", dataIni()), QStringLiteral("500"));
    QCOMPARE(entriesOf(m_platform->dir), QStringList{"data.ini"});
    QVERIFY(m_platform->messages.isEmpty());
}

void TestInigw::interruptedWriteLeavesOldOrNew()
{
    const QByteArray old = kRanking;
    putFile(dataIni(), old);
    for (const WriteFault stage : {WriteFault::BeforeWrite, WriteFault::PartialWrite, WriteFault::AtCommit}) {
        m_platform->failWrites(stage);
        WriteIni(QStringLiteral("3位"), "score", "350", dataIni());
        QCOMPARE(m_platform->failingWrites, 0);
        QCOMPARE(fileBytes(dataIni()), old);
        QCOMPARE(entriesOf(m_platform->dir), QStringList{"data.ini"});
    }
    WriteIni(QStringLiteral("3位"), "score", "350", dataIni());
    QCOMPARE(GetIni(QStringLiteral("3位"), "score", "", dataIni()), QStringLiteral("350"));
    QCOMPARE(fileBytes(dataIni()).size(), old.size());
}

QTEST_GUILESS_MAIN(TestInigw)
#include "test_inigw.moc"
