// The game as a player installs it: `cmake --install` into a temporary
// DESTDIR, the files it places and their validators, the options run
// without a display, and where an installed game and a portable copy keep
// the player's files. When the build was given the Debian package
// (-DTIVORAN_DEB_PACKAGE=..., as scripts/test.sh does), the package too:
// unpacked into a scratch root with dpkg -x, the same files laid out as a
// Debian game, its control fields, and the game run from there. Built with
// -DTIVORAN_TEST_INSTALLED_PACKAGE=ON (as the package's own tests in
// debian/tests are), the same checks take the package installed on this
// system, under /, as dpkg placed it.

#include "helpers.h"

#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs program with args in env; as root, as the unprivileged user nobody,
// so that file permissions hold as they do for a player.
Run run(const QString &program, const QStringList &args, const QProcessEnvironment &env,
        bool asPlayer = false)
{
    QProcess p;
    p.setProcessEnvironment(env);
    if (asPlayer && ::geteuid() == 0) {
        p.start(QStringLiteral("setpriv"),
                QStringList{QStringLiteral("--reuid=%1").arg(kNobody), QStringLiteral("--regid=%1").arg(kNobody),
                            QStringLiteral("--clear-groups"), QStringLiteral("--"), program}
                    + args);
    } else {
        p.start(program, args);
    }
    Run r;
    if (!p.waitForStarted(60000) || !p.waitForFinished(240000)) {
        r.err = QStringLiteral("did not run: ") + p.errorString();
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// A directory the player (nobody, when the tests run as root) owns.
bool makePlayerDir(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    if (::geteuid() == 0 && ::chown(QFile::encodeName(path).constData(), kNobody, kNobody) != 0)
        return false;
    return true;
}

bool copyExecutable(const QString &from, const QString &to)
{
    return QFile::copy(from, to)
        && QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                         | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
}

QStringList filesUnder(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(root).relativeFilePath(it.next());
    files.sort();
    return files;
}

QString path(const QString &a, const QString &b)
{
    return QDir::cleanPath(a + QLatin1Char('/') + b);
}

// Whether binary holds text as a whole UTF-16 string constant, the way
// QStringLiteral stores it: not as the tail of a longer path.
bool holdsStringLiteral(const QByteArray &binary, const QString &text)
{
    const QByteArray needle = QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2)
                              + QByteArray(2, '\0');
    for (qsizetype at = binary.indexOf(needle); at >= 0; at = binary.indexOf(needle, at + 1)) {
        const bool tail = at >= 2 && binary.at(at - 1) == '\0'
                          && (binary.at(at - 2) == '/' || binary.at(at - 2) == '.');
        if (!tail)
            return true;
    }
    return false;
}

bool anyExecuteBit(const QString &file)
{
    return QFileInfo(file).permissions() & (QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
}

// Every file cmake --install places, relative to the DESTDIR of an install
// to /usr.
QStringList installedFileList()
{
    const QString id = QStringLiteral(TIVORAN_APP_ID);
    const QString data = QStringLiteral("usr/" GNU_INSTALL_DATADIR);
    QStringList files{
        QStringLiteral("usr/" GNU_INSTALL_BINDIR "/tivoran"),
        QStringLiteral("usr/" GNU_INSTALL_LIBDIR "/tivoran/libtivoran_sound.so"),
        data + QStringLiteral("/tivoran/readme.txt"),
        data + QStringLiteral("/tivoran/data.ini"),
        data + QStringLiteral("/applications/") + id + QStringLiteral(".desktop"),
        data + QStringLiteral("/metainfo/") + id + QStringLiteral(".metainfo.xml"),
        QStringLiteral("usr/" GNU_INSTALL_MANDIR "/man6/tivoran.6"),
        data + QStringLiteral("/doc/tivoran/LICENSE"),
    };
    for (int size : {16, 32, 48, 64, 128, 256})
        files << data + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size) + id + QStringLiteral(".png");
    files.sort();
    return files;
}

// Where the Debian package holds each installed file: the program in
// /usr/games, as Debian's games are, the sound module in the private
// /usr/lib/tivoran, the manual page compressed and the licence in the
// machine-readable copyright file.
QString debianPath(const QString &installed)
{
    const QString program = QStringLiteral("usr/" GNU_INSTALL_BINDIR "/tivoran");
    const QString moduleDir = QStringLiteral("usr/" GNU_INSTALL_LIBDIR "/tivoran/");
    if (installed == program)
        return QStringLiteral("usr/games/tivoran");
    if (installed.startsWith(moduleDir))
        return QStringLiteral("usr/lib/tivoran/") + installed.mid(moduleDir.size());
    if (installed.endsWith(QLatin1String("/man6/tivoran.6")))
        return installed + QStringLiteral(".gz");
    if (installed.endsWith(QLatin1String("/doc/tivoran/LICENSE")))
        return installed.chopped(int(qstrlen("LICENSE"))) + QStringLiteral("copyright");
    return installed;
}

// The licence's grant and disclaimer, from "Permission" to the closing
// "SOFTWARE.", one paragraph per element.
QStringList mitLicenceParagraphs(const QString &text)
{
    const qsizetype from = text.indexOf(QLatin1String("Permission is hereby granted"));
    const qsizetype to = text.indexOf(QLatin1String("\nSOFTWARE.\n"), from);
    if (from < 0 || to < 0)
        return {};
    return text.mid(from, to + qstrlen("\nSOFTWARE.") - from).split(QStringLiteral("\n\n"));
}

// The stand-alone "License: MIT" paragraph of a machine-readable copyright
// file, its text unfolded: one element per paragraph.
QStringList dep5LicenceParagraphs(const QString &copyright, const QString &licence)
{
    const QString head = QStringLiteral("\n\nLicense: ") + licence + QLatin1Char('\n');
    const qsizetype at = copyright.indexOf(head);
    if (at < 0)
        return {};
    QStringList paragraphs{QString()};
    const QStringList lines = copyright.mid(at + head.size()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!line.startsWith(QLatin1Char(' ')))
            break;
        if (line == QLatin1String(" .")) {
            paragraphs << QString();
            continue;
        }
        QString &last = paragraphs.last();
        last += (last.isEmpty() ? QString() : QStringLiteral("\n")) + line.mid(1);
    }
    return paragraphs;
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void installedFiles();
    void desktopEntryAndMetainfoValidate();
    void iconsHaveTheirSizes();
    void optionsWorkWithoutADisplay();
    void installedGameFindsItsFiles();
    void installedGameKeepsRankingAndColoursPerPlayer();
    void portableCopyWritesBesideTheProgram();
    void buildTreeWritesBesideTheProgram();
    void debianPackageHoldsTheInstalledFiles();
    void debianPackageCopyrightAndChangelog();
    void debianPackageControlFields();
    void debianPackagedGameRuns();
private:
    // The environment of a player whose home is home: no display, and none
    // of the caller's XDG folders.
    QProcessEnvironment playerEnv(const QString &home) const;
    // A player's copy of the game in programDir, run under a new home,
    // finds the sound module and the shipped ranking of that tree.
    void playerFindsInstalledFiles(const QString &programDir, const QString &homeName);
    QString stage(const QString &relative) const { return path(m_stage.path(), relative); }

    QTemporaryDir m_stage;   // DESTDIR
    QTemporaryDir m_scratch; // homes and portable copies
    QString m_suppressions;  // a readable copy of the leak checker's suppressions
    QString m_prefix;        // the installed tree inside the DESTDIR
    QString m_bin;
    QString m_debRoot;       // the Debian package unpacked or installed, when there is one
    QStringList m_debFiles;  // the package's files, relative to m_debRoot
    QString m_debFields;     // its control fields, one "Field: value" a line
};

QProcessEnvironment TestInstall::playerEnv(const QString &home) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "XDG_DATA_HOME", "XDG_CONFIG_HOME",
                             "XDG_RUNTIME_DIR", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // A leak checker's suppressions, where the player can read them.
    if (!m_suppressions.isEmpty()) {
        QString options = env.value(QStringLiteral("LSAN_OPTIONS"));
        options.replace(QRegularExpression(QStringLiteral("(^|:)suppressions=[^:]*")),
                        QStringLiteral("\\1suppressions=") + m_suppressions);
        env.insert(QStringLiteral("LSAN_OPTIONS"), options);
    }
    return env;
}

void TestInstall::initTestCase()
{
    QVERIFY(m_stage.isValid());
    QVERIFY(m_scratch.isValid());
    // Where the player's processes can reach them.
    for (const QString &dir : {m_stage.path(), m_scratch.path()})
        QVERIFY(QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                               | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));

    const QRegularExpressionMatch suppressions = QRegularExpression(QStringLiteral("(?:^|:)suppressions=([^:]*)"))
                                                     .match(qEnvironmentVariable("LSAN_OPTIONS"));
    if (suppressions.hasMatch()) {
        m_suppressions = path(m_scratch.path(), QStringLiteral("lsan.supp"));
        QVERIFY(QFile::copy(suppressions.captured(1), m_suppressions));
        QVERIFY(QFile::setPermissions(m_suppressions, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DESTDIR"), m_stage.path());
    const Run install = run(QStringLiteral(TIVORAN_CMAKE),
                            {QStringLiteral("--install"), QStringLiteral(TIVORAN_BUILD_DIR), QStringLiteral("--prefix"),
                             QStringLiteral("/usr")},
                            env);
    QVERIFY2(install.exitCode == 0, qPrintable(install.out + install.err));
    m_prefix = stage(QStringLiteral("usr"));
    m_bin = path(m_prefix, QStringLiteral(GNU_INSTALL_BINDIR));

    const QString package = QStringLiteral(TIVORAN_DEB_PACKAGE);
    const QProcessEnvironment env0 = QProcessEnvironment::systemEnvironment();
    if (TIVORAN_INSTALLED_PACKAGE) {
        m_debRoot = QStringLiteral("/");
        const Run list = run(QStringLiteral("dpkg-query"), {QStringLiteral("--listfiles"), QStringLiteral("tivoran")}, env0);
        QVERIFY2(list.exitCode == 0, qPrintable(QStringLiteral("dpkg-query: ") + list.out + list.err));
        for (const QString &file : list.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (QFileInfo(file).isFile())
                m_debFiles << file.mid(1);
        }
        m_debFiles.sort();
        const Run status = run(QStringLiteral("dpkg-query"), {QStringLiteral("--status"), QStringLiteral("tivoran")}, env0);
        QCOMPARE(status.exitCode, 0);
        m_debFields = status.out;
    } else if (!package.isEmpty()) {
        QVERIFY2(QFileInfo(package).isFile(), qPrintable(package + QStringLiteral(" is not there")));
        m_debRoot = path(m_scratch.path(), QStringLiteral("deb-root"));
        const Run unpack = run(QStringLiteral("dpkg"), {QStringLiteral("-x"), package, m_debRoot}, env0);
        QVERIFY2(unpack.exitCode == 0, qPrintable(QStringLiteral("dpkg -x: ") + unpack.out + unpack.err));
        m_debFiles = filesUnder(m_debRoot);
        const Run fields = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), package}, env0);
        QCOMPARE(fields.exitCode, 0);
        m_debFields = fields.out;
    }
}

void TestInstall::cleanupTestCase()
{
    // So that the temporary tree can be removed.
    QFile::setPermissions(m_bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestInstall::installedFiles()
{
    const QString bin = QStringLiteral("usr/" GNU_INSTALL_BINDIR);
    const QString data = QStringLiteral("usr/" GNU_INSTALL_DATADIR);
    QCOMPARE(filesUnder(m_stage.path()), installedFileList());

    // The program can be run; the sound module is a library the program
    // loads, and the rest is only read.
    const QFileInfo program(stage(bin + QStringLiteral("/tivoran")));
    QVERIFY(program.isExecutable());
    for (const QString &file : installedFileList()) {
        if (file != bin + QStringLiteral("/tivoran"))
            QVERIFY2(!anyExecuteBit(stage(file)), qPrintable(file));
    }
    // The shipped files are the project's own.
    for (const char *file : {"readme.txt", "data.ini"}) {
        QFile shipped(stage(data + QStringLiteral("/tivoran/") + QLatin1String(file)));
        QFile source(QStringLiteral(TIVORAN_SOURCE_DIR "/resources/") + QLatin1String(file));
        QVERIFY(shipped.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
        QCOMPARE(shipped.readAll(), source.readAll());
    }
}

void TestInstall::desktopEntryAndMetainfoValidate()
{
    const QString id = QStringLiteral(TIVORAN_APP_ID);
    const QString data = path(m_prefix, QStringLiteral(GNU_INSTALL_DATADIR));
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();

    const Run desktop = run(QStringLiteral("desktop-file-validate"),
                            {path(data, QStringLiteral("applications/") + id + QStringLiteral(".desktop"))}, env);
    QVERIFY2(desktop.exitCode == 0, qPrintable(QStringLiteral("desktop-file-validate: ") + desktop.out + desktop.err));
    // desktop-file-validate reports hints and warnings on its output and
    // still ends well; a clean entry has none.
    QCOMPARE(desktop.out.trimmed(), QString());

    const QString metainfo = path(data, QStringLiteral("metainfo/") + id + QStringLiteral(".metainfo.xml"));
    const Run appstream = run(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo}, env);
    QVERIFY2(appstream.exitCode == 0, qPrintable(QStringLiteral("appstreamcli: ") + appstream.out + appstream.err));
    // No warnings or errors: only the note that the example domain's
    // top-level name is not one the validator knows.
    for (const QString &line : appstream.out.split(QLatin1Char('\n'))) {
        QVERIFY2(!line.startsWith(QLatin1String("W:")) && !line.startsWith(QLatin1String("E:")), qPrintable(line));
    }

    // The entry starts the installed program by name and shows the icon
    // the theme holds; the metainfo launches that entry.
    QFile entry(path(data, QStringLiteral("applications/") + id + QStringLiteral(".desktop")));
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QByteArray entryText = entry.readAll();
    QVERIFY(entryText.contains("\nExec=tivoran\n"));
    QVERIFY(entryText.contains("\nIcon=" TIVORAN_APP_ID "\n"));
    QFile meta(metainfo);
    QVERIFY(meta.open(QIODevice::ReadOnly));
    const QByteArray metaText = meta.readAll();
    QVERIFY(metaText.contains("<launchable type=\"desktop-id\">" TIVORAN_APP_ID ".desktop</launchable>"));
    QVERIFY(metaText.contains("<release version=\"" TIVORAN_VERSION "\""));
    QVERIFY(metaText.contains("<project_license>MIT</project_license>"));
}

void TestInstall::iconsHaveTheirSizes()
{
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString file = path(m_prefix, QStringLiteral(GNU_INSTALL_DATADIR "/icons/hicolor/%1x%1/apps/").arg(size)
                                                + QStringLiteral(TIVORAN_APP_ID ".png"));
        const QImage icon(file);
        QVERIFY2(!icon.isNull(), qPrintable(file));
        QCOMPARE(icon.size(), QSize(size, size));
        QVERIFY(icon.hasAlphaChannel());
        // A picture, not an empty square: some pixels opaque, the corners
        // clear.
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    }
}

void TestInstall::optionsWorkWithoutADisplay()
{
    // Nothing to show on: no display, and Qt told to use one that would
    // fail loudly if the program tried.
    QProcessEnvironment env = playerEnv(m_scratch.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    const QString program = path(m_bin, QStringLiteral("tivoran"));

    const Run version = run(program, {QStringLiteral("--version")}, env);
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("Tivoran " TIVORAN_VERSION "\n"));
    QCOMPARE(version.err, QString());

    const Run help = run(program, {QStringLiteral("--help")}, env);
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.startsWith(QLatin1String("Usage: tivoran [--help | --version]\n")), qPrintable(help.out));
    QCOMPARE(help.err, QString());
    // Other arguments around an option change nothing.
    const Run mixed = run(program, {QStringLiteral("extra"), QStringLiteral("--version"), QStringLiteral("--help")}, env);
    QCOMPARE(mixed.out, version.out);

    // Without an option the game wants a window, and says so when there is
    // no display: proof that the options above never reached for one.
    const Run game = run(program, {}, env);
    QVERIFY(game.exitCode != 0);
}

void TestInstall::playerFindsInstalledFiles(const QString &programDir, const QString &homeName)
{
    const QString home = path(m_scratch.path(), homeName);
    QVERIFY(makePlayerDir(home));
    QVERIFY(copyExecutable(QStringLiteral(TIVORAN_PLAYER_RUN), path(programDir, QStringLiteral("player_run"))));

    const Run where = run(path(programDir, QStringLiteral("player_run")), {QStringLiteral("where")}, playerEnv(home), true);
    QVERIFY2(where.exitCode == 0, qPrintable(where.err));
    // The player's data folder, and the sound module from lib/ found
    // relative to the program.
    QCOMPARE(where.out, QStringLiteral("player-dir %1/.local/share/Tivoran\nsound-module yes\n").arg(home));
    // The shipped first-run ranking was placed there.
    const QByteArray seeded = fileBytes(path(home, QStringLiteral(".local/share/Tivoran/data.ini")));
    QVERIFY(!seeded.isEmpty());
    QCOMPARE(seeded, fileBytes(path(programDir, QStringLiteral("../" GNU_INSTALL_DATADIR "/tivoran/data.ini"))));
}

void TestInstall::installedGameFindsItsFiles()
{
    playerFindsInstalledFiles(m_bin, QStringLiteral("home-where"));
}

void TestInstall::installedGameKeepsRankingAndColoursPerPlayer()
{
    const QString player = path(m_bin, QStringLiteral("player_run"));
    if (!QFileInfo::exists(player))
        QVERIFY(copyExecutable(QStringLiteral(TIVORAN_PLAYER_RUN), player));
    // As installed: the program directory is not the player's to write.
    QVERIFY(QFile::setPermissions(m_bin, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup
                                             | QFile::ReadOther | QFile::ExeOther));
    const QStringList binBefore = filesUnder(m_bin);

    struct Player {
        QString home, name, colour;
    };
    const QList<Player> players{{path(m_scratch.path(), QStringLiteral("home-1")), QStringLiteral("CPP"),
                                 QStringLiteral("1193046")},
                                {path(m_scratch.path(), QStringLiteral("home-2")), QStringLiteral("ZED"),
                                 QStringLiteral("65280")}};
    for (const Player &p : players) {
        QVERIFY(makePlayerDir(p.home));
        const Run play = run(player, {QStringLiteral("play"), p.name, p.colour}, playerEnv(p.home), true);
        QVERIFY2(play.exitCode == 0, qPrintable(play.out + play.err));
    }
    // A later run of each player finds that player's colour and ranking,
    // the shipped first five moved down under the new best.
    for (const Player &p : players) {
        const Run show = run(player, {QStringLiteral("show")}, playerEnv(p.home), true);
        QVERIFY2(show.exitCode == 0, qPrintable(show.err));
        QCOMPARE(show.out, QStringLiteral("table-colour %1\n"
                                          "rank 1 %2 2500\n"
                                          "rank 2 QLX 500\n"
                                          "rank 3 TIV 400\n"
                                          "rank 4 AAA 300\n"
                                          "rank 5 RIN 200\n")
                               .arg(p.colour, p.name));
        QVERIFY(QFileInfo::exists(path(p.home, QStringLiteral(".local/share/Tivoran/slot.ini"))));
    }
    // Nothing was written beside the program, and the shipped ranking is
    // as installed.
    QCOMPARE(filesUnder(m_bin), binBefore);
    QFile shipped(path(m_prefix, QStringLiteral(GNU_INSTALL_DATADIR "/tivoran/data.ini")));
    QFile source(QStringLiteral(TIVORAN_SOURCE_DIR "/resources/data.ini"));
    QVERIFY(shipped.open(QIODevice::ReadOnly) && source.open(QIODevice::ReadOnly));
    QCOMPARE(shipped.readAll(), source.readAll());
}

void TestInstall::portableCopyWritesBesideTheProgram()
{
    // A copy of the game in a folder of its own, with its ranking beside it.
    const QString folder = path(m_scratch.path(), QStringLiteral("portable"));
    const QString home = path(m_scratch.path(), QStringLiteral("home-portable"));
    QVERIFY(makePlayerDir(folder));
    QVERIFY(makePlayerDir(home));
    const QString player = path(folder, QStringLiteral("player_run"));
    QVERIFY(copyExecutable(QStringLiteral(TIVORAN_PLAYER_RUN), player));
    QVERIFY(QFile::copy(QStringLiteral(TIVORAN_SOURCE_DIR "/resources/data.ini"), path(folder, QStringLiteral("data.ini"))));
    QVERIFY(QFile::setPermissions(path(folder, QStringLiteral("data.ini")),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::WriteOther));

    const Run play = run(player, {QStringLiteral("play"), QStringLiteral("TIV"), QStringLiteral("255")},
                         playerEnv(home), true);
    QVERIFY2(play.exitCode == 0, qPrintable(play.out + play.err));
    const Run show = run(player, {QStringLiteral("show")}, playerEnv(home), true);
    QVERIFY(show.out.startsWith(QLatin1String("table-colour 255\nrank 1 TIV 2500\n")));
    QVERIFY(QFileInfo::exists(path(folder, QStringLiteral("slot.ini"))));
    // The player's data folder was left alone.
    QVERIFY(!QFileInfo::exists(path(home, QStringLiteral(".local/share/Tivoran"))));
}

void TestInstall::buildTreeWritesBesideTheProgram()
{
    // The player_run built beside the game in the build tree, where the
    // build placed data.ini: the build tree is a portable copy.
    const QString home = path(m_scratch.path(), QStringLiteral("home-build"));
    QVERIFY(QDir().mkpath(home));
    const Run where = run(QStringLiteral(TIVORAN_PLAYER_RUN), {QStringLiteral("where")}, playerEnv(home));
    QVERIFY2(where.exitCode == 0, qPrintable(where.err));
    QCOMPARE(where.out, QStringLiteral("player-dir %1\nsound-module yes\n")
                            .arg(QFileInfo(QStringLiteral(TIVORAN_PLAYER_RUN)).absolutePath()));
    QVERIFY(!QFileInfo::exists(path(home, QStringLiteral(".local/share/Tivoran"))));
}

void TestInstall::debianPackageHoldsTheInstalledFiles()
{
    if (m_debRoot.isEmpty())
        QSKIP("no Debian package given (-DTIVORAN_DEB_PACKAGE=..., built by scripts/package.sh)");
    // The files cmake --install places, where Debian keeps them, and the
    // package's own changelog: nothing more, nothing less.
    QStringList expected;
    for (const QString &file : installedFileList())
        expected << debianPath(file);
    expected << QStringLiteral("usr/" GNU_INSTALL_DATADIR "/doc/tivoran/changelog.Debian.gz");
    expected.sort();
    QCOMPARE(m_debFiles, expected);

    // The program can be run, the sound module is a library and the rest is
    // only read; what is not built or compressed is byte for byte what
    // cmake --install placed.
    for (const QString &file : installedFileList()) {
        const QString packaged = path(m_debRoot, debianPath(file));
        const bool program = debianPath(file) == QLatin1String("usr/games/tivoran");
        QVERIFY2(anyExecuteBit(packaged) == program, qPrintable(packaged));
        if (debianPath(file) == file && !file.endsWith(QLatin1String(".so")))
            QVERIFY2(fileBytes(packaged) == fileBytes(stage(file)), qPrintable(file));
    }

    // The manual page is the project's, compressed.
    const QString manual = QStringLiteral("usr/" GNU_INSTALL_MANDIR "/man6/tivoran.6");
    const Run unzip = run(QStringLiteral("gzip"), {QStringLiteral("-dc"), path(m_debRoot, debianPath(manual))},
                          QProcessEnvironment::systemEnvironment());
    QCOMPARE(unzip.exitCode, 0);
    QCOMPARE(unzip.out, QString::fromUtf8(fileBytes(stage(manual))));
}

void TestInstall::debianPackageCopyrightAndChangelog()
{
    if (m_debRoot.isEmpty())
        QSKIP("no Debian package given (-DTIVORAN_DEB_PACKAGE=..., built by scripts/package.sh)");
    const QString doc = path(m_debRoot, QStringLiteral("usr/" GNU_INSTALL_DATADIR "/doc/tivoran"));
    const QString copyright = QString::fromUtf8(fileBytes(path(doc, QStringLiteral("copyright"))));
    const QString licence = QString::fromUtf8(fileBytes(QStringLiteral(TIVORAN_SOURCE_DIR "/LICENSE")));

    // Machine-readable, every file MIT but the metainfo, which AppStream
    // wants under CC0-1.0 as the metainfo itself says; the holder and year
    // and the licence text are those of LICENSE.
    QVERIFY(copyright.startsWith(
        QLatin1String("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")));
    QVERIFY(copyright.contains(QLatin1String("\n\nFiles: *\n")));
    const QRegularExpressionMatch holder = QRegularExpression(QStringLiteral("\nCopyright \\(c\\) ([^\n]+)\n")).match(licence);
    QVERIFY(holder.hasMatch());
    QVERIFY2(copyright.contains(QStringLiteral("\nCopyright: ") + holder.captured(1) + QStringLiteral("\nLicense: MIT\n")),
             qPrintable(copyright));
    QVERIFY(copyright.contains(
        QLatin1String("\n\nFiles: resources/desktop/" TIVORAN_APP_ID ".metainfo.xml\nCopyright: ")));
    QVERIFY(fileBytes(stage(QStringLiteral("usr/" GNU_INSTALL_DATADIR "/metainfo/" TIVORAN_APP_ID ".metainfo.xml")))
                .contains("<metadata_license>CC0-1.0</metadata_license>"));
    QVERIFY(copyright.contains(QLatin1String("\nLicense: CC0-1.0\n")));
    const QStringList mit = mitLicenceParagraphs(licence);
    QCOMPARE(mit.size(), 3);
    QCOMPARE(dep5LicenceParagraphs(copyright, QStringLiteral("MIT")), mit);

    // The package's changelog opens with this version.
    const Run changelog = run(QStringLiteral("gzip"), {QStringLiteral("-dc"), path(doc, QStringLiteral("changelog.Debian.gz"))},
                              QProcessEnvironment::systemEnvironment());
    QCOMPARE(changelog.exitCode, 0);
    QVERIFY2(changelog.out.startsWith(QLatin1String("tivoran (" TIVORAN_VERSION "-")), qPrintable(changelog.out));
}

void TestInstall::debianPackageControlFields()
{
    if (m_debRoot.isEmpty())
        QSKIP("no Debian package given (-DTIVORAN_DEB_PACKAGE=..., built by scripts/package.sh)");
    QMap<QString, QString> field;
    for (const QString &line : m_debFields.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        field.insert(line.section(QStringLiteral(": "), 0, 0), line.section(QStringLiteral(": "), 1));
    QCOMPARE(field.value(QStringLiteral("Package")), QStringLiteral("tivoran"));
    // The package is of the version the program says it is.
    QVERIFY2(QRegularExpression(QStringLiteral("^" TIVORAN_VERSION "-[0-9][0-9.]*$"))
                 .match(field.value(QStringLiteral("Version")))
                 .hasMatch(),
             qPrintable(field.value(QStringLiteral("Version"))));
    QCOMPARE(field.value(QStringLiteral("Section")), QStringLiteral("games"));
    // The dependencies were read off both binaries: the widgets the program
    // links and the sound server's client library only the sound module
    // does. No media framework comes with them.
    const QString depends = field.value(QStringLiteral("Depends"));
    QVERIFY2(!depends.contains(QLatin1Char('$')), qPrintable(depends));
    QVERIFY2(!depends.contains(QLatin1String("multimedia")), qPrintable(depends));
    for (const char *library : {"libc6", "libqt6core6", "libqt6widgets6", "libpulse0"})
        QVERIFY2(QRegularExpression(QStringLiteral("(^|, )%1( \\(>= [^)]+\\))?(,|$)").arg(QLatin1String(library)))
                     .match(depends)
                     .hasMatch(),
                 qPrintable(QLatin1String(library) + QStringLiteral(" not in: ") + depends));
}

void TestInstall::debianPackagedGameRuns()
{
    if (m_debRoot.isEmpty())
        QSKIP("no Debian package given (-DTIVORAN_DEB_PACKAGE=..., built by scripts/package.sh)");
    const QString games = path(m_debRoot, QStringLiteral("usr/games"));
    const QString program = path(games, QStringLiteral("tivoran"));
    const Run version = run(program, {QStringLiteral("--version")}, playerEnv(m_scratch.path()), true);
    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, QStringLiteral("Tivoran " TIVORAN_VERSION "\n"));

    // The packaged program looks for its module and its shipped files where
    // the package put them, relative to /usr/games.
    const QByteArray binary = fileBytes(program);
    const QDir from(games);
    for (const char *dir : {"usr/lib/tivoran", "usr/" GNU_INSTALL_DATADIR "/tivoran"}) {
        const QString relative = from.relativeFilePath(path(m_debRoot, QLatin1String(dir)));
        QVERIFY2(holdsStringLiteral(binary, relative), qPrintable(relative));
    }

    // And a player's copy of the game in that tree finds them there. (In
    // the installed system /usr/games is not the test's to write into; the
    // package's first-run test plays the installed game itself.)
    if (!TIVORAN_INSTALLED_PACKAGE)
        playerFindsInstalledFiles(games, QStringLiteral("home-deb"));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
