// Where the game keeps the player's files and finds its own: a portable
// copy keeps them beside the program, an installed game in the player's
// data folder, seeded once from the shipped ranking; the help text and the
// first-run ranking are found beside the program or in the installed tree.
// Also the two command-line options.

#include "fake_platform.h"
#include "helpers.h"
#include "desktop/player_files.h"
#include "game/command_line.h"
#include "ui/help.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const QByteArray shippedRanking = rankingBytes({{"QLX", "500"}, {"TIV", "400"}});
const QByteArray playersRanking = rankingBytes({{"ME!", "9999"}});

// An installed tree: prefix/bin holds the program, prefix/share/tivoran
// what it ships.
struct Installed {
    Installed()
    {
        QVERIFY(root.isValid());
        bin = root.filePath(QStringLiteral("usr/bin"));
        share = installedDataDir(bin);
        user = root.filePath(QStringLiteral("home/.local/share/Tivoran"));
        QVERIFY(QDir().mkpath(bin));
        QVERIFY(QDir().mkpath(share));
        putFile(QDir(share).filePath(QStringLiteral("data.ini")), shippedRanking);
    }
    QString choose() const { return choosePlayerDir(bin, user, shippedDataDirs(bin)); }
    QString userFile(const char *name) const { return QDir(user).filePath(QLatin1String(name)); }

    QTemporaryDir root;
    QString bin, share, user;
};

} // namespace

class TestPlayerFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void installedTreeLayout();
    void portableCopyKeepsFilesBesideTheProgram();
    void installedGameSeedsThePlayersRankingOnce();
    void seedingNeverReplacesARanking();
    void withoutAShippedRankingTheTableStartsEmpty();
    void unwritableDataFolderShowsNothing();
    void readOnlyProgramDirectoryIsNotUsed();
    void helpTextBesideTheProgramOrInstalled();
    void commandLine_data();
    void commandLine();
    void versionAndUsageTexts();
};

void TestPlayerFiles::installedTreeLayout()
{
    // Found relative to the program, whatever the prefix.
    QCOMPARE(installedDataDir(QStringLiteral("/opt/games/tivoran/bin")),
             QStringLiteral("/opt/games/tivoran/share/tivoran"));
    QCOMPARE(installedModuleDir(QStringLiteral("/usr/bin")), QStringLiteral("/usr/lib/tivoran"));
    QCOMPARE(shippedDataDirs(QStringLiteral("/usr/bin")),
             (QStringList{QStringLiteral("/usr/bin"), QStringLiteral("/usr/share/tivoran")}));
}

void TestPlayerFiles::portableCopyKeepsFilesBesideTheProgram()
{
    Installed t;
    putFile(QDir(t.bin).filePath(QStringLiteral("data.ini")), playersRanking);
    QCOMPARE(t.choose(), t.bin);
    // The data folder is not even made.
    QVERIFY(!QFileInfo::exists(t.user));
    QCOMPARE(readAll(QDir(t.bin).filePath(QStringLiteral("data.ini"))), playersRanking);
}

void TestPlayerFiles::installedGameSeedsThePlayersRankingOnce()
{
    Installed t;
    QCOMPARE(t.choose(), t.user);
    QCOMPARE(readAll(t.userFile("data.ini")), shippedRanking);
    // Only the ranking arrives, and no temporary file stays behind.
    QCOMPARE(QDir(t.user).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("data.ini")});

    // The player's own results survive later starts, and a new shipped
    // ranking (an update of the game) does not replace them.
    putFile(t.userFile("data.ini"), playersRanking);
    putFile(QDir(t.share).filePath(QStringLiteral("data.ini")), rankingBytes({{"NEW", "1"}}));
    QCOMPARE(t.choose(), t.user);
    QCOMPARE(readAll(t.userFile("data.ini")), playersRanking);
}

void TestPlayerFiles::seedingNeverReplacesARanking()
{
    Installed t;
    // An empty ranking the player cleared by hand is the player's.
    QVERIFY(QDir().mkpath(t.user));
    putFile(t.userFile("data.ini"), QByteArray());
    QCOMPARE(t.choose(), t.user);
    QCOMPARE(readAll(t.userFile("data.ini")), QByteArray());
    // A folder in the ranking's place is left alone too.
    QVERIFY(QFile::remove(t.userFile("data.ini")));
    QVERIFY(QDir().mkpath(t.userFile("data.ini")));
    QCOMPARE(t.choose(), t.user);
    QVERIFY(QFileInfo(t.userFile("data.ini")).isDir());
}

void TestPlayerFiles::withoutAShippedRankingTheTableStartsEmpty()
{
    Installed t;
    QVERIFY(QFile::remove(QDir(t.share).filePath(QStringLiteral("data.ini"))));
    QCOMPARE(t.choose(), t.user);
    QVERIFY(QFileInfo(t.user).isDir());
    QVERIFY(!QFileInfo::exists(t.userFile("data.ini")));

    // The first shipped ranking found is the one copied.
    Installed u;
    const QString other = u.root.filePath(QStringLiteral("other"));
    QVERIFY(QDir().mkpath(other));
    putFile(QDir(other).filePath(QStringLiteral("data.ini")), playersRanking);
    QCOMPARE(choosePlayerDir(u.bin, u.user, {u.bin, other, u.share}), u.user);
    QCOMPARE(readAll(u.userFile("data.ini")), playersRanking);
}

void TestPlayerFiles::unwritableDataFolderShowsNothing()
{
    // The data folder cannot be made (a file stands in its way): the game
    // still gets a place, plays with an empty table and no file is made.
    Installed t;
    QVERIFY(QDir().mkpath(t.root.filePath(QStringLiteral("home/.local"))));
    putFile(t.root.filePath(QStringLiteral("home/.local/share")), QByteArray("not a folder"));
    QCOMPARE(t.choose(), t.user);
    QVERIFY(!QFileInfo::exists(t.userFile("data.ini")));
    // No data folder known at all: the program directory, as always.
    QCOMPARE(choosePlayerDir(t.bin, QString(), shippedDataDirs(t.bin)), t.bin);
}

void TestPlayerFiles::readOnlyProgramDirectoryIsNotUsed()
{
    Installed t;
    putFile(QDir(t.bin).filePath(QStringLiteral("data.ini")), playersRanking);
    QVERIFY(QFile::setPermissions(t.bin, QFile::ReadOwner | QFile::ExeOwner));
    const bool writable = QFileInfo(t.bin).isWritable();
    const QString chosen = t.choose();
    QVERIFY(QFile::setPermissions(t.bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    if (writable)
        QSKIP("a read-only directory is writable for this user (the install test covers it as another user)");
    // The ranking beside the program is the first-run table then.
    QCOMPARE(chosen, t.user);
    QCOMPARE(readAll(t.userFile("data.ini")), playersRanking);
}

void TestPlayerFiles::helpTextBesideTheProgramOrInstalled()
{
    Installed t;
    FakePlatform fake;
    fake.dir = t.bin;
    openHelpFile();
    QVERIFY(fake.openedFiles.isEmpty());

    const QString installed = QDir(t.share).filePath(QStringLiteral("readme.txt"));
    putFile(installed, QByteArray("help\r\n"));
    openHelpFile();
    QCOMPARE(fake.openedFiles, QStringList{installed});

    // One beside the program comes first.
    const QString beside = QDir(t.bin).filePath(QStringLiteral("readme.txt"));
    putFile(beside, QByteArray("help\r\n"));
    openHelpFile();
    QCOMPARE(fake.openedFiles, (QStringList{installed, beside}));
    QCOMPARE(findShippedFile(t.bin, QStringLiteral("data.ini")), QDir(t.share).filePath(QStringLiteral("data.ini")));
    QCOMPARE(findShippedFile(t.bin, QStringLiteral("none.txt")), QString());
}

void TestPlayerFiles::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("action");
    const int play = int(CommandLineAction::Play), version = int(CommandLineAction::PrintVersion),
              help = int(CommandLineAction::PrintHelp);
    QTest::newRow("none") << QStringList{} << play;
    QTest::newRow("version") << QStringList{"--version"} << version;
    QTest::newRow("help") << QStringList{"--help"} << help;
    QTest::newRow("first of the two wins") << QStringList{"--help", "--version"} << help;
    QTest::newRow("others around") << QStringList{"-platform", "xcb", "--version", "x"} << version;
    QTest::newRow("no short forms") << QStringList{"-v", "-h", "-version"} << play;
    QTest::newRow("whole words only") << QStringList{"--versions", "--help=1", "--HELP"} << play;
    // The program's own name is not an argument.
    QTest::newRow("program named --help") << QStringList{} << play;
}

void TestPlayerFiles::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(int, action);
    QList<QByteArray> bytes{QTest::currentDataTag() == QByteArray("program named --help") ? "--help" : "tivoran"};
    for (const QString &a : args)
        bytes << a.toUtf8();
    std::vector<const char *> argv;
    for (const QByteArray &b : bytes)
        argv.push_back(b.constData());
    argv.push_back(nullptr);
    QCOMPARE(int(commandLineAction(int(bytes.size()), argv.data())), action);
}

void TestPlayerFiles::versionAndUsageTexts()
{
    QCOMPARE(QString::fromStdString(versionText()), QStringLiteral("Tivoran 1.03\n"));
    const QString usage = QString::fromStdString(usageText());
    QVERIFY(usage.startsWith(QLatin1String("Usage: tivoran [--help | --version]\n")));
    // The ranking game lasts as long as the counter counts: 59 seconds.
    QVERIFY2(usage.contains(QLatin1String("59-second ranking game")), qPrintable(usage));
    for (const QString &line : usage.split(QLatin1Char('\n')))
        QVERIFY2(line.size() <= 80, qPrintable(line));
}

QTEST_MAIN(TestPlayerFiles)
#include "test_player_files.moc"
