#pragma once
// Reading numbers by the grammar of the classic BASIC Val function: the
// forgiving way of Val for hand-editable text, or strictly as the whole text;
// and rounding them to the game's integer types.

#include <QStringView>
#include <QtGlobal>

#include <optional>

// The number at the start of text:
// - blanks, tabs and line feeds are skipped wherever they stand, also
//   between digits (" 2 55" is 255); any other character, a carriage return
//   included, ends the number;
// - decimal: optional sign, digits, one decimal point, then an optional
//   exponent: E or D (either case), optional sign, digits ("1d2" is 100; an
//   exponent letter without digits counts as exponent 0);
// - "&H" hexadecimal and "&O" octal (either case) at the very start, without
//   a sign. As in classic BASIC the digits give a 16-bit signed value when
//   they fit in 16 bits (&HFF is 255, &HFFFF is -1, &H8000 is -32768), else
//   a 32-bit signed value when they fit in 32 bits (&H10000 is 65536,
//   &HFFFFFFFF is -1); larger digits give their plain value, which lies
//   outside the 32-bit range;
// - no number at the start (empty text, "abc", "+", "&X1") gives 0.
// Too large a decimal value gives plus or minus infinity, too small a value
// gives 0; the result is never NaN.
double basicVal(QStringView text);

// The number that is the whole of text, blanks and tabs around it aside: the
// decimal form above with nothing skipped inside it and digits after an
// exponent letter, of the value basicVal gives it; nothing for any other
// text ("", "1 2", "12abc", "1e", "&HFF", "12" followed by a line feed).
std::optional<double> wholeTextNumber(QStringView text);

// The nearest integer, an exact half going to the even neighbour (2.5 is 2,
// 3.5 is 4, -2.5 is -2); nothing when the rounded value lies outside the
// type's range or for NaN and infinities.
std::optional<qint32> roundToLong(double value);
std::optional<qint16> roundToInteger(double value);

