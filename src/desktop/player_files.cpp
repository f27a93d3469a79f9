#include "desktop/player_files.h"

#include "desktop/atomic_file.h"
#include "desktop/diagnostics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// A copy of source at target, unless target already exists, written whole
// by the safe writer.
void seedFile(const QString &source, const QString &target)
{
    QFile in(source);
    if (QFileInfo::exists(target))
        return;
    if (!in.open(QIODevice::ReadOnly)) {
        qCWarning(lcFiles).noquote() << "cannot read" << source << "-" << in.errorString();
        return;
    }
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError)
        qCWarning(lcFiles).noquote() << "cannot read" << source << "-" << in.errorString();
    else
        writeFileAtomically(target, bytes);
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
    if (QFileInfo(QDir(programDir).filePath(RankingFileName)).isFile() && QFileInfo(programDir).isWritable())
        return programDir;
    if (userDataDir.isEmpty())
        return programDir;
    QDir().mkpath(userDataDir);
    const QString ranking = QDir(userDataDir).filePath(RankingFileName);
    if (!QFileInfo::exists(ranking)) {
        for (const QString &dir : shippedDirs) {
            const QString source = QDir(dir).filePath(RankingFileName);
            if (QFileInfo(source).isFile()) {
                seedFile(source, ranking);
                break;
            }
        }
    }
    return userDataDir;
}
