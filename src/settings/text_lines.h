#pragma once
// The lines of a text file's bytes, for the game's two kinds of file.

#include <QByteArrayView>
#include <QList>

// Which bytes end a line.
enum class LineEnds {
    CrLfLfOrCr, // profile files (data.ini): CR LF, a lone LF or a lone CR
    CrLfOrCr,   // slot.ini: CR LF or a lone CR; a lone LF is part of its line
};

struct TextLine {
    qsizetype begin = 0; // first byte of the line
    qsizetype end = 0;   // one past its text, where its line end starts
    qsizetype next = 0;  // first byte after its line end
};

// The line that starts at pos (0 <= pos < bytes.size()).
TextLine lineAt(QByteArrayView bytes, qsizetype pos, LineEnds ends);

// The first `max` lines of bytes (all of them when max is negative). A line
// end closes its line: the empty text after the last line end is no line of
// its own.
QList<TextLine> splitLines(QByteArrayView bytes, LineEnds ends, qsizetype max = -1);
