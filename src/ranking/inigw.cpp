#include "ranking/inigw.h"

#include "desktop/diagnostics.h"
#include "desktop/platform.h"
#include "ranking/profile_file.h"
#include "settings/ansi.h"

#include <QDeadlineTimer>
#include <QTemporaryFile>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

#include <algorithm>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

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

// A lock file that another copy holds can also be one that no copy will
// ever give back: one left behind in a folder that has since become
// read-only cannot be taken over either. Waiting then helps nobody.
bool folderWritable(const QString &file)
{
    QTemporaryFile probe(QFileInfo(file).absolutePath() + QStringLiteral("/.tivoran-XXXXXX"));
    return probe.open();
}

// The uid that owns the lock file, when it is not ours.
std::optional<uint> otherUsersLock(const QString &lockPath)
{
#ifdef Q_OS_UNIX
    const uint owner = QFileInfo(lockPath).ownerId();
    if (owner != uint(-2) && owner != uint(::geteuid()))
        return owner;
#else
    Q_UNUSED(lockPath);
#endif
    return std::nullopt;
}

// One try of a change. Without the lock and with time left (`last` false),
// nothing: try again later. Otherwise decide is asked, on what the file
// holds, and the change is made when the lock is held.
std::optional<IniOutcome> tryChange(const QString &file, const IniDecision &decide, bool first, bool last)
{
    if (file.isEmpty()) {
        decide([](const QString &, const QString &) { return QString(); });
        return IniOutcome::NoPath;
    }
    // Released, and its file removed, on the way out.
    QLockFile lock(file + QStringLiteral(".lock"));
    lock.setStaleLockTime(kIniStaleLockTime);
    IniOutcome failure = IniOutcome::Written;
    // A try also takes over a lock that its owner left behind.
    const bool locked = lock.tryLock();
    if (!locked) {
        if (lock.error() != QLockFile::LockFailedError) {
            qCWarning(lcFiles).noquote() << "cannot lock" << lock.fileName() << "- no lock file can be made there";
            failure = IniOutcome::CannotLock;
        } else if (first && !folderWritable(file)) {
            qCWarning(lcFiles).noquote() << "cannot lock" << lock.fileName()
                                         << "- it was left there and the folder cannot be written";
            failure = IniOutcome::CannotLock;
        } else if (!last) {
            return std::nullopt;
        } else if (const std::optional<uint> uid = otherUsersLock(lock.fileName())) {
            qCWarning(lcFiles).noquote() << "cannot lock" << lock.fileName()
                                         << QStringLiteral("- it belongs to another user (uid %1)").arg(*uid);
            failure = IniOutcome::HeldByAnotherUser;
        } else {
            qCWarning(lcFiles).noquote() << "cannot lock" << lock.fileName() << "- another copy of the game holds it";
            failure = IniOutcome::HeldByAnotherCopy;
        }
    }
    // Read only once the lock is held: what another copy wrote before is
    // then in, and nothing it writes can come between this read and write.
    const std::optional<QByteArray> old = readProfile(file);
    const QByteArray content = old.value_or(QByteArray());
    const QList<IniChange> changes =
        decide([&content](const QString &section, const QString &key) { return valueIn(content, section, key, QString()); });
    // Never replace a ranking that could not be read, nor one that another
    // copy may be changing.
    if (!locked)
        return failure;
    if (!old)
        return IniOutcome::Unreadable;
    QByteArray updated = *old;
    for (const IniChange &c : changes)
        updated = profileWrite(updated, ansiArgument(c.section), ansiArgument(c.key), ansiArgument(c.value));
    if (updated == *old)
        return IniOutcome::Written; // nothing to change (or names that cannot be written): no file is made
    if (!platform().ansiTextAvailable()) {
        qCWarning(lcFiles).noquote() << "cannot write" << file << "- this Qt has no Shift_JIS converter";
        return IniOutcome::WriteFailed;
    }
    return platform().writeFile(file, updated) ? IniOutcome::Written : IniOutcome::WriteFailed;
}

// Pause before try number `tries` + 1: another copy holds this lock for a
// few milliseconds only, so it is tried again soon, then less often.
std::chrono::milliseconds pauseAfter(int tries)
{
    using namespace std::chrono_literals;
    return std::min(std::chrono::milliseconds(1 << std::min(tries, 6)), 50ms);
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

IniOutcome changeIni(const QString &file, const IniDecision &decide, std::chrono::milliseconds lockWait)
{
    using namespace std::chrono_literals;
    const QDeadlineTimer deadline(lockWait);
    for (int tries = 0;; ++tries) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline.remainingTimeAsDuration());
        if (const std::optional<IniOutcome> outcome = tryChange(file, decide, tries == 0, left <= 0ms))
            return *outcome;
        QThread::msleep(std::min(pauseAfter(tries), left).count());
    }
}

bool UpdateIni(const QString &file, const IniDecision &decide, std::chrono::milliseconds lockWait)
{
    return changeIni(file, decide, lockWait) == IniOutcome::Written;
}

bool changeIniWhenFree(const QString &file, IniDecision decide, std::function<void(IniOutcome)> done, QObject *owner)
{
    if (const std::optional<IniOutcome> outcome = tryChange(file, decide, true, false)) {
        done(*outcome);
        return true;
    }
    new IniChangeWait(file, std::move(decide), std::move(done), owner);
    return false;
}

IniChangeWait::IniChangeWait(const QString &file, IniDecision decide, std::function<void(IniOutcome)> done,
                             QObject *owner)
    : QObject(owner)
    , m_file(file)
    , m_decide(std::move(decide))
    , m_done(std::move(done))
    , m_started(platform().tickCount())
{
    setObjectName(QStringLiteral("lockWait"));
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &IniChangeWait::retry);
    m_timer.start(pauseAfter(0));
}

void IniChangeWait::retry()
{
    ++m_tries;
    // Measured on the clock: the timer only says when to look again.
    const quint32 waited = platform().tickCount() - m_started;
    const bool last = waited >= quint32(kIniLockWait.count());
    const std::optional<IniOutcome> outcome = tryChange(m_file, m_decide, false, last);
    if (!outcome) {
        m_timer.start(pauseAfter(m_tries));
        return;
    }
    m_timer.stop();
    // Gone once the caller has heard, whatever the caller does meanwhile.
    const std::function<void(IniOutcome)> done = std::move(m_done);
    deleteLater();
    done(*outcome);
}

IniSnapshot::IniSnapshot(const QString &file)
{
    if (file.isEmpty())
        return;
    const std::optional<QByteArray> bytes = readProfile(file);
    m_readable = bytes.has_value();
    m_content = bytes.value_or(QByteArray());
}

QString IniSnapshot::value(const QString &section, const QString &key) const
{
    return valueIn(m_content, section, key, QString());
}
