#include "fake_platform.h"
#include "file_conditions.h"
#include "helpers.h"
#include "ranking/inigw.h"

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
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "", m_platform->dataIni()), QString());
    QCOMPARE(GetIni(QStringLiteral("1位"), "score", "0", m_platform->dataIni()), QStringLiteral("0"));
    // A write that cannot be made (no key name) makes no file either.
    WriteIni(QStringLiteral("1位"), "", "x", m_platform->dataIni());
    QVERIFY(entriesOf(m_platform->dir).isEmpty());
}

void TestInigw::emptyPathTouchesNothing()
{
    putFile(m_platform->dataIni(), kRanking);
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "default", QString()), QString());
    WriteIni(QStringLiteral("1位"), "name", "XYZ", QString());
    QCOMPARE(entriesOf(m_platform->dir), QStringList{"data.ini"});
    QCOMPARE(fileBytes(m_platform->dataIni()), kRanking);
    QVERIFY(!QFile::exists(QDir::current().filePath(QStringLiteral("data.ini"))));
}

void TestInigw::writeCreatesShiftJisFile()
{
    WriteIni(QStringLiteral("1位"), "name", "ABC", m_platform->dataIni());
    WriteIni(QStringLiteral("1位"), "score", "500", m_platform->dataIni());
    WriteIni(QStringLiteral("2位"), "name", QStringLiteral("あ-1"), m_platform->dataIni());
    QCOMPARE(fileBytes(m_platform->dataIni()), sj("[1位]\r\nname=ABC\r\nscore=500\r\n[2位]\r\nname=あ-1\r\n"));
    QCOMPARE(GetIni(QStringLiteral("1位"), "SCORE", "", m_platform->dataIni()), QStringLiteral("500"));
    QCOMPARE(GetIni(QStringLiteral("2位"), "name", "", m_platform->dataIni()), QStringLiteral("あ-1"));
    QCOMPARE(entriesOf(m_platform->dir), QStringList{"data.ini"});
}

void TestInigw::longValuesAreCut()
{
    WriteIni(QStringLiteral("1位"), "name", QString(400, QLatin1Char('N')), m_platform->dataIni());
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "", m_platform->dataIni()), QString(319, QLatin1Char('N')));
    // 319 bytes end inside the 160th double-byte character: it is left out
    // whole, nothing broken is shown in its place.
    WriteIni(QStringLiteral("1位"), "name", QStringLiteral("位").repeated(200), m_platform->dataIni());
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "", m_platform->dataIni()), QStringLiteral("位").repeated(159));
}

void TestInigw::emptyAndBrokenValues()
{
    putFile(m_platform->dataIni(), kRanking);
    WriteIni(QStringLiteral("3位"), "name", "", m_platform->dataIni());
    QVERIFY(fileBytes(m_platform->dataIni()).contains(sj("[3位]\r\nname=\r\nscore=300\r\n")));
    QCOMPARE(GetIni(QStringLiteral("3位"), "name", "unused", m_platform->dataIni()), QString());
    // A line break in a value cannot plant new lines; a NUL ends the value.
    WriteIni(QStringLiteral("4位"), "name", QStringLiteral("AB\r\n[6位]\r\nname=X"), m_platform->dataIni());
    WriteIni(QStringLiteral("5位"), "name", QStringView(u"CD\0EF", 5).toString(), m_platform->dataIni());
    QCOMPARE(GetIni(QStringLiteral("4位"), "name", "", m_platform->dataIni()), QStringLiteral("AB"));
    QCOMPARE(GetIni(QStringLiteral("5位"), "name", "", m_platform->dataIni()), QStringLiteral("CD"));
    QCOMPARE(GetIni(QStringLiteral("6位"), "name", "none", m_platform->dataIni()), QStringLiteral("none"));
    QCOMPARE(GetIni(QStringLiteral("4位"), "score", "", m_platform->dataIni()), QStringLiteral("200"));
}

void TestInigw::unreadableFileIsNeverReplaced()
{
    // A data.ini that exists but cannot be read must not be replaced by a
    // file holding only the one value written.
    putFile(m_platform->dataIni(), kRanking);
    QVERIFY(QFile::setPermissions(m_platform->dir, QFile::Permissions(0x7777)));
    QVERIFY(QFile::setPermissions(m_platform->dataIni(), QFile::Permissions()));
    {
        WithoutFilePrivileges unprivileged;
        if (QFile(m_platform->dataIni()).open(QIODevice::ReadOnly))
            QSKIP("this system lets the tester read unreadable files");
        QVERIFY(canCreateFileIn(m_platform->dir));
        QCOMPARE(GetIni(QStringLiteral("1位"), "name", "d", m_platform->dataIni()), QStringLiteral("d"));
        WriteIni(QStringLiteral("1位"), "name", "XYZ", m_platform->dataIni());
    }
    // Readable again for the check, also to a tester without root's
    // privileges.
    QVERIFY(QFile::setPermissions(m_platform->dataIni(), QFile::ReadOwner | QFile::WriteOwner));
    QCOMPARE(fileBytes(m_platform->dataIni()), kRanking);
    // A directory in the place of the file is left alone the same way.
    QVERIFY(QFile::remove(m_platform->dataIni()));
    QVERIFY(QDir(m_platform->dir).mkdir("data.ini"));
    QCOMPARE(GetIni(QStringLiteral("1位"), "name", "d", m_platform->dataIni()), QStringLiteral("d"));
    WriteIni(QStringLiteral("1位"), "name", "XYZ", m_platform->dataIni());
    QVERIFY(QFileInfo(m_platform->dataIni()).isDir());
    QVERIFY(entriesOf(m_platform->dataIni()).isEmpty());
}

void TestInigw::failedWriteChangesNothing()
{
    putFile(m_platform->dataIni(), kRanking);
    QVERIFY(QFile::setPermissions(m_platform->dir, QFile::ReadOwner | QFile::ExeOwner
                                                       | QFile::ReadOther | QFile::ExeOther));
    WithoutFilePrivileges unprivileged;
    if (canCreateFileIn(m_platform->dir))
        QSKIP("this system lets the tester write into read-only directories");
    WriteIni(QStringLiteral("1位"), "score", "9999", m_platform->dataIni());
    WriteIni(QStringLiteral("9位"), "name", "NEW", m_platform->dataIni());
    QCOMPARE(fileBytes(m_platform->dataIni()), kRanking);
    QCOMPARE(GetIni(QStringLiteral("1位"), "score", "", m_platform->dataIni()), QStringLiteral("500"));
    QCOMPARE(entriesOf(m_platform->dir), QStringList{"data.ini"});
    QVERIFY(m_platform->messages.isEmpty());
}

void TestInigw::interruptedWriteLeavesOldOrNew()
{
    const QByteArray old = kRanking;
    putFile(m_platform->dataIni(), old);
    for (const WriteFault stage : {WriteFault::BeforeWrite, WriteFault::PartialWrite, WriteFault::AtCommit}) {
        m_platform->failWrites(stage);
        WriteIni(QStringLiteral("3位"), "score", "350", m_platform->dataIni());
        QCOMPARE(m_platform->failingWrites, 0);
        QCOMPARE(fileBytes(m_platform->dataIni()), old);
        QCOMPARE(entriesOf(m_platform->dir), QStringList{"data.ini"});
    }
    WriteIni(QStringLiteral("3位"), "score", "350", m_platform->dataIni());
    QCOMPARE(GetIni(QStringLiteral("3位"), "score", "", m_platform->dataIni()), QStringLiteral("350"));
    QCOMPARE(fileBytes(m_platform->dataIni()).size(), old.size());
}

QTEST_GUILESS_MAIN(TestInigw)
#include "test_inigw.moc"
