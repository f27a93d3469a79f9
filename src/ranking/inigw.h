#pragma once
// Module INIGW: one value of a profile (INI) file read or written, as the
// ranking file data.ini needs it. The file is in Shift-JIS; names, values
// and the default are converted on the way in and out.

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <functional>

// The value of key in section of file, cut to at most 319 bytes (never inside
// a double-byte character) and up to its first NUL. An empty file path gives
// empty text without touching the disk; a missing or unreadable file, a
// missing section or key give defaultValue (without its trailing blanks, as
// the Windows function does). A read never creates anything.
QString GetIni(const QString &section, const QString &key, const QString &defaultValue,
               const QString &file);

// Sets key in section of file to value (see profileWrite): read the file (a
// missing file counts as empty), change the one value, and replace the file
// safely through the desktop's writer (see Platform::writeFile), so that the
// change is on disk when the call returns. A value stops at its first line
// break. Nothing happens for an empty file path, a file that exists but
// cannot be read, a write that fails, or a file held by another copy of the
// game for longer than kIniLockWait (see UpdateIni); nothing is shown either
// way.
void WriteIni(const QString &section, const QString &key, const QString &value,
              const QString &file);

// Several values of one file set in one replacement of the file: the changes
// are made in order, as by WriteIni one after the other, on the file's
// content, and the file is then replaced once, so that either all of them
// reach the disk or none does. The same rules as WriteIni otherwise. True
// when the file holds the changes afterwards (also when there was nothing to
// change), false when they could not be written.
struct IniChange {
    QString section;
    QString key;
    QString value;
};
bool WriteIniAll(const QList<IniChange> &changes, const QString &file);

// Two copies of the game may share one ranking file. Every change of a
// profile file is a read, a change and a write of the whole file, and holds
// the file's lock for just that long: a lock file beside it, named like the
// file with ".lock" added, that a second copy waits for. A lock that its
// owner left behind (the copy was killed or crashed) is taken over at once
// when the owner ran on this machine, and otherwise once it is older than
// kIniStaleLockTime; no change of this small file takes that long. A lock
// that cannot be had within the wait means the change is not made: it
// fails as a write that fails does.
inline constexpr std::chrono::milliseconds kIniLockWait{5000};
inline constexpr std::chrono::milliseconds kIniStaleLockTime{3000};

// The value of key in section of a file's content as read, as GetIni with an
// empty default gives it.
using IniReader = std::function<QString(const QString &section, const QString &key)>;
// Given what the file holds, the changes to make.
using IniDecision = std::function<QList<IniChange>(const IniReader &)>;

// How a change of a profile file ended.
enum class IniOutcome {
    Written,             // the file holds the changes (also when there was nothing to change)
    NoPath,              // an empty file path: nothing touched
    Unreadable,          // the file is there but cannot be read
    CannotLock,          // no lock file can be made beside it (a folder that cannot be written)
    HeldByAnotherCopy,   // another copy of the game held the lock all through the wait
    HeldByAnotherUser,   // the lock belongs to another user's copy, and was held all through the wait
    WriteFailed,         // the new content could not be written; the old file stays
};

// One read-change-write of file that no other copy of the game can come
// between: holding the file's lock (waiting at most lockWait for it), reads
// the file, asks decide for the changes, given a reader of what was read,
// and writes them as WriteIniAll does, in one replacement. decide is asked
// exactly once, also when nothing can be written: without the lock it reads
// the file as it is, and a missing or unreadable file reads as empty. The
// file is changed only on Written; otherwise it stays as it was. This waits
// on the calling thread: the game itself uses changeIniWhenFree.
IniOutcome changeIni(const QString &file, const IniDecision &decide,
                     std::chrono::milliseconds lockWait = kIniLockWait);
// changeIni, true when Written.
bool UpdateIni(const QString &file, const IniDecision &decide,
               std::chrono::milliseconds lockWait = kIniLockWait);

// changeIni without holding up the game: when the lock is free (the usual
// case) the change is made and done is called before this returns, which
// then returns true. While
// another copy holds it, an IniChangeWait (a child of owner) tries again
// every few milliseconds from the event loop until kIniLockWait has passed
// on the platform's clock, and calls done then. done is called exactly
// once, unless owner goes first.
bool changeIniWhenFree(const QString &file, IniDecision decide, std::function<void(IniOutcome)> done,
                       QObject *owner);

// The wait of changeIniWhenFree for a lock another copy holds.
class IniChangeWait : public QObject {
    Q_OBJECT
public:
    IniChangeWait(const QString &file, IniDecision decide, std::function<void(IniOutcome)> done,
                  QObject *owner);
    // The next try, run by its timer; the last one, once the wait is over,
    // ends it either way.
    void retry();

private:
    QString m_file;
    IniDecision m_decide;
    std::function<void(IniOutcome)> m_done;
    QTimer m_timer;
    quint32 m_started = 0;
    int m_tries = 0;
};

// The whole of a profile file as read once, for several values: a missing
// or unreadable file holds nothing (an unreadable one is logged).
class IniSnapshot {
public:
    explicit IniSnapshot(const QString &file);
    // As GetIni with an empty default.
    QString value(const QString &section, const QString &key) const;
    bool readable() const { return m_readable; }

private:
    QByteArray m_content;
    bool m_readable = true;
};
