#include "ranking/inigw.h"

#include "ranking/profile_file.h"
#include "settings/ansi.h"
#include "settings/diagnostics.h"
#include "ui/platform.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <algorithm>
#include <optional>

namespace {

// Names and values reach the profile functions as C strings: a NUL ends them.
QByteArray ansiArgument(const QString &text)
{
    QByteArray b = toAnsi(text);
    const qsizetype nul = b.indexOf('\0');
    if (nul >= 0)
        b.truncate(nul);
    return b;
}

// The file's bytes; empty for a file that does not exist; nothing when it
// exists but cannot be read.
std::optional<QByteArray> readProfile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        qCWarning(lcFiles).noquote() << "cannot read" << path << "-"
                                     << (info.isFile() ? file.errorString() : QStringLiteral("not a file"));
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        qCWarning(lcFiles).noquote() << "cannot read" << path << "-" << file.errorString();
        return std::nullopt;
    }
    return bytes;
}

// The value of key in section of the content, as GetIni gives it.
QString valueIn(const QByteArray &content, const QString &section, const QString &key,
                const QString &defaultValue)
{
    QByteArray value = profileRead(content, ansiArgument(section), ansiArgument(key),
                                   ansiArgument(defaultValue));
    // The caller's buffer ends at the first NUL.
    const qsizetype nul = value.indexOf('\0');
    if (nul >= 0)
        value.truncate(nul);
    return fromAnsi(value);
}

// Takes the lock, waiting at most `wait`. QLockFile's own wait sleeps 100 ms
// and more between its tries; another copy holds this lock for a few
// milliseconds only, so it is tried again sooner.
bool takeLock(QLockFile &lock, std::chrono::milliseconds wait)
{
    using namespace std::chrono_literals;
    lock.setStaleLockTime(kIniStaleLockTime);
    const QDeadlineTimer deadline(wait);
    std::chrono::milliseconds pause = 1ms;
    // Each try also takes over a lock that its owner left behind.
    while (!lock.tryLock()) {
        // No lock file can be made there (a read-only or missing folder):
        // waiting does not help, and no file can be written there either.
        if (lock.error() != QLockFile::LockFailedError) {
            qCWarning(lcFiles).noquote() << "cannot lock" << lock.fileName() << "- no lock file can be made there";
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline.remainingTimeAsDuration());
        if (left <= 0ms) {
            qCWarning(lcFiles).noquote() << "cannot lock" << lock.fileName() << "- another copy of the game holds it";
            return false;
        }
        QThread::msleep(std::min(pause, left).count());
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace

QString GetIni(const QString &section, const QString &key, const QString &defaultValue,
               const QString &file)
{
    if (file.isEmpty())
        return QString();
    return valueIn(readProfile(file).value_or(QByteArray()), section, key, defaultValue);
}

void WriteIni(const QString &section, const QString &key, const QString &value,
              const QString &file)
{
    WriteIniAll({IniChange{section, key, value}}, file);
}

bool WriteIniAll(const QList<IniChange> &changes, const QString &file)
{
    return UpdateIni(file, [&](const IniReader &) { return changes; });
}

bool UpdateIni(const QString &file, const std::function<QList<IniChange>(const IniReader &)> &decide,
               std::chrono::milliseconds lockWait)
{
    // Released, and its file removed, on the way out.
    QLockFile lock(file + QStringLiteral(".lock"));
    const bool locked = !file.isEmpty() && takeLock(lock, lockWait);
    // Read only once the lock is held: what another copy wrote before is
    // then in, and nothing it writes can come between this read and write.
    const std::optional<QByteArray> old = file.isEmpty() ? QByteArray() : readProfile(file);
    const QByteArray content = old.value_or(QByteArray());
    const QList<IniChange> changes =
        decide([&content](const QString &section, const QString &key) { return valueIn(content, section, key, QString()); });
    // Never replace a ranking that could not be read, nor one that another
    // copy may be changing.
    if (!locked || !old)
        return false;
    QByteArray updated = *old;
    for (const IniChange &c : changes)
        updated = profileWrite(updated, ansiArgument(c.section), ansiArgument(c.key), ansiArgument(c.value));
    if (updated == *old)
        return true; // nothing to change (or names that cannot be written): no file is made
    return platform().writeFile(file, updated);
}
