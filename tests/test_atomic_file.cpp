#include "settings/atomic_file.h"

#include "file_conditions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAtomicFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void writesAndReplaces();
    void keepsPermissions();
    void failsWhereNoFileCanBe_data();
    void failsWhereNoFileCanBe();
    void injectedFaults_data();
    void injectedFaults();
    void fullDisk();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("data.ini")); }
    void put(const QByteArray &bytes) { QVERIFY(writeFileAtomically(path(), bytes)); }

    std::unique_ptr<QTemporaryDir> m_dir;
    const QByteArray m_old = QByteArray("[old]\r\nscore=500\r\n").repeated(20);
    const QByteArray m_new = QByteArray("[new]\r\nscore=150\r\n").repeated(30);
};

void TestAtomicFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestAtomicFile::cleanup()
{
    clearWriteFaults();
    QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_dir.reset();
}

void TestAtomicFile::writesAndReplaces()
{
    put(m_old);
    QCOMPARE(fileBytes(path()), m_old);
    put(m_new);
    QCOMPARE(fileBytes(path()), m_new);
    put(QByteArray());
    QVERIFY(QFile::exists(path()));
    QCOMPARE(QFileInfo(path()).size(), 0);
    QCOMPARE(entriesOf(m_dir->path()), QStringList{"data.ini"});
}

void TestAtomicFile::keepsPermissions()
{
    put(m_old);
    const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(path(), perms));
    put(m_new);
    QCOMPARE(QFile::permissions(path()) & 0x7077, perms); // owner, group, other
}

void TestAtomicFile::failsWhereNoFileCanBe_data()
{
    QTest::addColumn<QString>("relative");
    QTest::newRow("missing directory") << "missing/data.ini";
    QTest::newRow("directory in the way") << "sub";
    QTest::newRow("file as directory") << "plain/data.ini";
    QTest::newRow("empty path") << "";
}

void TestAtomicFile::failsWhereNoFileCanBe()
{
    QFETCH(QString, relative);
    QVERIFY(QDir(m_dir->path()).mkdir("sub"));
    QFile plain(m_dir->filePath("plain"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QStringList before = entriesOf(m_dir->path());
    QVERIFY(!writeFileAtomically(relative.isEmpty() ? QString() : m_dir->filePath(relative), m_new));
    QCOMPARE(entriesOf(m_dir->path()), before);
    QVERIFY(entriesOf(m_dir->filePath("sub")).isEmpty());
}

void TestAtomicFile::injectedFaults_data()
{
    QTest::addColumn<WriteFault>("stage");
    QTest::newRow("before write") << WriteFault::BeforeWrite;
    QTest::newRow("partial write") << WriteFault::PartialWrite;
    QTest::newRow("at commit") << WriteFault::AtCommit;
}

void TestAtomicFile::injectedFaults()
{
    QFETCH(WriteFault, stage);
    put(m_old);
    injectWriteFaults(stage, 2);
    for (int attempt = 0; attempt < 2; ++attempt) {
        QVERIFY(!writeFileAtomically(path(), m_new));
        QCOMPARE(fileBytes(path()), m_old);
        QCOMPARE(entriesOf(m_dir->path()), QStringList{"data.ini"});
    }
    // Without a file, a failed write leaves no file.
    QVERIFY(QFile::remove(path()));
    injectWriteFaults(stage, 1);
    QVERIFY(!writeFileAtomically(path(), m_new));
    QVERIFY(entriesOf(m_dir->path()).isEmpty());
    // The faults are used up.
    put(m_new);
    QCOMPARE(fileBytes(path()), m_new);
}

void TestAtomicFile::fullDisk()
{
    put(m_old);
    {
        // Room for the old content, not for the new, longer one: the disk
        // fills up in the middle of the write.
        FileSizeLimit limit(m_old.size() + 10);
        if (!limit.active())
            QSKIP("file size limits are not available here");
        QVERIFY(!writeFileAtomically(path(), m_new));
        QCOMPARE(fileBytes(path()), m_old);
        QCOMPARE(entriesOf(m_dir->path()), QStringList{"data.ini"});
        // Content that fits still goes through.
        put(m_old.left(100));
    }
    QCOMPARE(fileBytes(path()), m_old.left(100));
}

QTEST_APPLESS_MAIN(TestAtomicFile)
#include "test_atomic_file.moc"
