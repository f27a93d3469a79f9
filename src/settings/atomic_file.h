#pragma once
// Replacing a small file so that it is never seen half written: the new
// content goes to a temporary file in the same directory, is flushed to the
// disk, and is then renamed over the old file in one step. A crash, a full
// disk or a read-only directory leaves the old file as it was.

#include <QByteArray>
#include <QString>

// Writes bytes as the whole content of path. True when the new content is in
// place; false, with the old file (or no file) left untouched and no
// temporary file left behind, on any failure. Never writes into path itself.
bool writeFileAtomically(const QString &path, const QByteArray &bytes);

// For tests of the callers: makes the next writes fail at a chosen point.
// The failure takes the same way out as a real one there would.
enum class WriteFault {
    BeforeWrite,  // the temporary file is created, nothing is written to it
    PartialWrite, // half of the bytes reach the temporary file, then it fails
    AtCommit,     // all bytes are written and flushed, the rename fails
};
// The next `count` calls of writeFileAtomically fail at `stage`.
void injectWriteFaults(WriteFault stage, int count = 1);
// Cancels the faults not yet used.
void clearWriteFaults();
