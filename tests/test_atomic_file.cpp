#include "fake_platform.h"
#include "file_conditions.h"
#include "helpers.h"
#include "desktop/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Failing steps that note, when the writer commits, how many bytes the
// temporary file holds on the disk: what the failure left there.
class WatchedSteps : public FailingWriteSteps {
public:
    using FailingWriteSteps::FailingWriteSteps;
    bool commit(QSaveFile &file) override
    {
        temporarySizes << file.size();
        return FailingWriteSteps::commit(file);
    }
    QList<qint64> temporarySizes;
};

} // namespace

class TestAtomicFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void writesAndReplaces();
    void keepsPermissions();
    void failsWhereNoFileCanBe_data();
    void failsWhereNoFileCanBe();
    void failingSteps_data();
    void failingSteps();
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

void TestAtomicFile::failingSteps_data()
{
    QTest::addColumn<WriteFault>("stage");
    QTest::addColumn<qint64>("written"); // bytes in the temporary file at the commit
    QTest::newRow("before write") << WriteFault::BeforeWrite << qint64(0);
    QTest::newRow("partial write") << WriteFault::PartialWrite << qint64(m_new.size() / 2);
    QTest::newRow("at sync") << WriteFault::AtSync << qint64(m_new.size());
    QTest::newRow("at commit") << WriteFault::AtCommit << qint64(m_new.size());
}

void TestAtomicFile::failingSteps()
{
    QFETCH(WriteFault, stage);
    QFETCH(qint64, written);
    put(m_old);
    WatchedSteps steps(stage);
    for (int attempt = 0; attempt < 2; ++attempt) {
        QVERIFY(!writeFileAtomically(path(), m_new, &steps));
        QCOMPARE(fileBytes(path()), m_old);
        QCOMPARE(entriesOf(m_dir->path()), QStringList{"data.ini"});
    }
    // The failure came where it was meant to: a temporary file holding what
    // had been written when the writer committed, removed afterwards.
    QCOMPARE(steps.temporarySizes, (QList<qint64>{written, written}));
    // Without a file, a failed write leaves no file.
    QVERIFY(QFile::remove(path()));
    QVERIFY(!writeFileAtomically(path(), m_new, &steps));
    QVERIFY(entriesOf(m_dir->path()).isEmpty());
    // The real steps write it.
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
