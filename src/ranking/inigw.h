#pragma once
// Module INIGW: one value of a profile (INI) file read or written, as the
// ranking file data.ini needs it. The file is in Shift-JIS; names, values
// and the default are converted on the way in and out.

#include <QList>
#include <QString>

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
// cannot be read, or a write that fails; nothing is shown either way.
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
