#pragma once
// Module INIGW: one value of a profile (INI) file read or written, as the
// ranking file data.ini needs it. The file is in Shift-JIS; names, values
// and the default are converted on the way in and out.

#include <QList>
#include <QString>

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

// One read-change-write of file that no other copy of the game can come
// between: holding the file's lock (waiting at most lockWait for it), reads
// the file, asks decide for the changes, given a reader of what was read,
// and writes them as WriteIniAll does, in one replacement. decide is asked
// exactly once, also when nothing can be written: without the lock it reads
// the file as it is, and a missing or unreadable file reads as empty. True
// when the file holds the changes afterwards (also when there was nothing to
// change); false, with the file as it was, for an empty path, a lock that
// could not be had, a file that exists but cannot be read, or a failed
// write.
bool UpdateIni(const QString &file, const std::function<QList<IniChange>(const IniReader &)> &decide,
               std::chrono::milliseconds lockWait = kIniLockWait);
