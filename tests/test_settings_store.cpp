// The desktop's per-user settings store on a real disk: a save says whether
// the coin total was stored, and a save that failed leaves the store (and
// what a later load reads) as it was.

#include "file_conditions.h"
#include "helpers.h"
#include "game/qt_platform.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString App = QStringLiteral("Tivoran");
const QString Section = QStringLiteral("Coin");
const QString Key = QStringLiteral("Coin");

} // namespace

class TestSettingsStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void savedValueIsOnTheDisk();
    void noFolderCanBeMade_data();
    void noFolderCanBeMade();
    void readOnlyFolder();
private:
    // The user's configuration folder of this test: the store keeps the
    // value in Tivoran/Tivoran.conf below it.
    void useConfigFolder(const QString &folder)
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    }
    QString storeFile(const QString &folder) const
    {
        return folder + QStringLiteral("/Tivoran/Tivoran.conf");
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettingsStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestSettingsStore::cleanup()
{
    // Writable again for the removal, whoever runs the tests.
    const auto all = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    for (const QString &sub : {QStringLiteral("config/Tivoran"), QStringLiteral("config"), QString()})
        QFile::setPermissions(m_dir->filePath(sub), all);
    m_dir.reset();
}

void TestSettingsStore::savedValueIsOnTheDisk()
{
    const QString config = m_dir->filePath(QStringLiteral("config"));
    useConfigFolder(config);
    QtPlatform desktop;
    QCOMPARE(desktop.getSetting(App, Section, Key, QStringLiteral("0")), QStringLiteral("0"));
    QVERIFY(desktop.saveSetting(App, Section, Key, QStringLiteral("321")));
    // On the disk, not only in this program's memory.
    QVERIFY(fileBytes(storeFile(config)).contains("Coin=321"));
    QCOMPARE(entriesOf(config + QStringLiteral("/Tivoran")), QStringList{QStringLiteral("Tivoran.conf")});
    QVERIFY(desktop.saveSetting(App, Section, Key, QStringLiteral("40")));
    QCOMPARE(QtPlatform().getSetting(App, Section, Key, QStringLiteral("0")), QStringLiteral("40"));
}

void TestSettingsStore::noFolderCanBeMade_data()
{
    // Where the store's folder would be, or on the way to it, stands a
    // plain file: nothing can be created there, not even by root.
    QTest::addColumn<QString>("config");
    QTest::addColumn<QString>("blocker");
    QTest::newRow("file as the game's folder") << "config" << "config/Tivoran";
    QTest::newRow("folder path through a file") << "plain/config" << "plain";
}

void TestSettingsStore::noFolderCanBeMade()
{
    QFETCH(QString, config);
    QFETCH(QString, blocker);
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("config")));
    putFile(m_dir->filePath(blocker), "x");
    useConfigFolder(m_dir->filePath(config));
    QtPlatform desktop;
    QVERIFY(!desktop.saveSetting(App, Section, Key, QStringLiteral("321")));
    // Nothing stored, neither on the disk nor for a later load.
    QCOMPARE(desktop.getSetting(App, Section, Key, QStringLiteral("0")), QStringLiteral("0"));
    QCOMPARE(fileBytes(m_dir->filePath(blocker)), QByteArray("x"));
    QVERIFY(!desktop.saveSetting(App, Section, Key, QStringLiteral("322")));
    QCOMPARE(desktop.getSetting(App, Section, Key, QStringLiteral("0")), QStringLiteral("0"));
}

void TestSettingsStore::readOnlyFolder()
{
    const QString config = m_dir->filePath(QStringLiteral("config"));
    useConfigFolder(config);
    QtPlatform desktop;
    QVERIFY(desktop.saveSetting(App, Section, Key, QStringLiteral("200")));
    const QByteArray stored = fileBytes(storeFile(config));
    QVERIFY(stored.contains("Coin=200"));

    // The store's folder and file turn read-only. Readable by anyone, so
    // that the check below can read them without root's privileges.
    const auto readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
        | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(m_dir->path(), readable | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(config, readable));
    QVERIFY(QFile::setPermissions(config + QStringLiteral("/Tivoran"), readable));
    QVERIFY(QFile::setPermissions(storeFile(config), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    {
        WithoutFilePrivileges unprivileged;
        if (canCreateFileIn(config + QStringLiteral("/Tivoran")))
            QSKIP("this system lets the tester write into read-only folders");
        QVERIFY(!desktop.saveSetting(App, Section, Key, QStringLiteral("300")));
        // A load in the same run reads what the store holds, not the value
        // that could not be stored.
        QCOMPARE(desktop.getSetting(App, Section, Key, QStringLiteral("0")), QStringLiteral("200"));
    }
    QCOMPARE(fileBytes(storeFile(config)), stored);
    QCOMPARE(QtPlatform().getSetting(App, Section, Key, QStringLiteral("0")), QStringLiteral("200"));

    // Writable again: the next save goes through.
    QVERIFY(QFile::setPermissions(config + QStringLiteral("/Tivoran"), readable | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(storeFile(config), QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(desktop.saveSetting(App, Section, Key, QStringLiteral("300")));
    QVERIFY(fileBytes(storeFile(config)).contains("Coin=300"));
}

QTEST_MAIN(TestSettingsStore)
#include "test_settings_store.moc"
