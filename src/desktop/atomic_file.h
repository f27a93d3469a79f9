#pragma once
// Replacing a small file so that it is never seen half written: the new
// content goes to a temporary file in the same directory, is flushed to the
// disk, and is then renamed over the old file in one step. A crash, a full
// disk or a read-only directory leaves the old file as it was.

#include <QByteArray>
#include <QString>

class QSaveFile;

// The steps of a replacement that touch the disk, done on the open
// temporary file. These are the real ones; a subclass can stand in for a
// disk that fails at any step.
class FileWriteSteps {
public:
    virtual ~FileWriteSteps() = default;
    // Writes bytes to the temporary file; the number of bytes written, or -1.
    virtual qint64 write(QSaveFile &file, const QByteArray &bytes);
    // Brings the temporary file's data onto the disk (fsync). True when the
    // disk has it; false when it reported an error (a full disk, an I/O
    // error), and the file must then not replace the old one.
    virtual bool sync(QSaveFile &file);
    // Renames the temporary file over the old file; or, after a failure,
    // removes it. True when the new file is in place.
    virtual bool commit(QSaveFile &file);
};

// Writes bytes as the whole content of path, with the given steps or the
// real ones. True when the new content is in place; false, with the old file
// (or no file) left untouched and no temporary file left behind, on any
// failure. Never writes into path itself.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, FileWriteSteps *steps = nullptr);
