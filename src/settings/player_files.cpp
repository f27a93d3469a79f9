#include "settings/player_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString kRanking = QStringLiteral("data.ini");

// A copy of source at target, unless target already exists. The copy is
// written whole under a temporary name, synced, and renamed into place; the
// rename never replaces a file, so a ranking that another copy of the game
// placed there meanwhile is kept.
void seedFile(const QString &source, const QString &target)
{
    QFile in(source);
    if (QFileInfo::exists(target) || !in.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        return;
    QTemporaryFile out(target + QStringLiteral(".XXXXXX"));
    if (!out.open() || out.write(bytes) != bytes.size() || !out.flush())
        return;
#ifdef Q_OS_UNIX
    if (::fsync(out.handle()) != 0)
        return;
#endif
    // Qt would otherwise remove the file under its new name when out goes.
    if (out.rename(target))
        out.setAutoRemove(false);
}

} // namespace

QString installedDataDir(const QString &programDir)
{
    return QDir::cleanPath(programDir + QLatin1Char('/') + QStringLiteral(TIVORAN_DATA_FROM_BIN));
}

QString installedModuleDir(const QString &programDir)
{
    return QDir::cleanPath(programDir + QLatin1Char('/') + QStringLiteral(TIVORAN_MODULE_FROM_BIN));
}

QStringList shippedDataDirs(const QString &programDir)
{
    return {programDir, installedDataDir(programDir)};
}

QString findShippedFile(const QString &programDir, const QString &fileName)
{
    for (const QString &dir : shippedDataDirs(programDir)) {
        const QString path = QDir(dir).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString choosePlayerDir(const QString &programDir, const QString &userDataDir,
                        const QStringList &shippedDirs)
{
    if (QFileInfo(QDir(programDir).filePath(kRanking)).isFile() && QFileInfo(programDir).isWritable())
        return programDir;
    if (userDataDir.isEmpty())
        return programDir;
    QDir().mkpath(userDataDir);
    const QString ranking = QDir(userDataDir).filePath(kRanking);
    if (!QFileInfo::exists(ranking)) {
        for (const QString &dir : shippedDirs) {
            const QString source = QDir(dir).filePath(kRanking);
            if (QFileInfo(source).isFile()) {
                seedFile(source, ranking);
                break;
            }
        }
    }
    return userDataDir;
}
