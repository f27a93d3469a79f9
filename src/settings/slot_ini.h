#pragma once
// slot.ini beside the program: the three table colours, kept between runs.
//
// The file is three lines in Shift-JIS, each ended by CR LF: a fixed key
// text ending in " ," and the colour as a decimal number. On reading, lines
// count by position only and the key text is not looked at.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include "settings/colour_ref.h"

// The table's colours as colour references, at first the ones the table
// starts with.
struct TableColours {
    qint32 table = rgbRef(192, 192, 255); // fill of the table
    qint32 frame = rgbRef(0, 0, 128);     // fill of the outer frame
    qint32 line = rgbRef(192, 192, 255);  // the five pay lines
};

// The exact bytes of slot.ini for these colours.
QByteArray formatSlotIni(const TableColours &colours);

// Applies the content of a slot.ini to colours. Lines end in CR LF or in a
// lone CR; a lone LF stays in its line, where the number reading skips it as
// a blank. For each of the first three lines, in the order table, frame,
// line:
// the text after the first ',' (or the whole line when it has none) is read
// with basicVal and rounded half to even; a value outside the 32-bit signed
// range keeps that colour, text without a number gives 0. A file of fewer
// lines applies the lines it has; an empty line counts as a line.
void applySlotIni(const QByteArray &bytes, TableColours &colours);

// Reads the file at path into colours. False, with colours untouched, when
// the file is missing or cannot be read.
bool loadSlotIni(const QString &path, TableColours &colours);
// Replaces the file at path safely, through the desktop's writer (see
// Platform::writeFile). False when it could not be written; the old file
// then stays as it was.
bool saveSlotIni(const QString &path, const TableColours &colours);
