#pragma once
// Numbers as the game reads them back from its files and its settings
// store, on top of the readers of lenient_number.h, at the two strictnesses
// it needs.

#include <QStringView>
#include <QtGlobal>

#include <optional>

enum class NumberReading {
    // The number at the start of the text, read the forgiving BASIC way
    // (basicVal): the colours of slot.ini, which players edit by hand.
    Lenient,
    // The whole text is one number: blanks and tabs around it, an optional
    // sign, decimal digits with at most one decimal point, and an optional
    // exponent (E or D, either case, optional sign, digits). Anything else
    // is no number: the coin total in the settings store, the scores of the
    // ranking file.
    WholeText,
};

// The number in text rounded to the nearest integer, an exact half going to
// the even neighbour ("12.5" is 12, "13.5" is 14); nothing when the text
// holds no number at the given strictness or the rounded value lies outside
// the type's range. (A lenient reading always finds a number, 0 when the
// text starts with none.)
std::optional<qint32> storedLong(QStringView text, NumberReading reading);
std::optional<qint16> storedInteger(QStringView text, NumberReading reading);

// A coin total as the table shows it and the settings store keeps it: the
// whole text one number, as storedInteger reads it; nothing for any other
// text.
std::optional<qint16> coinTotalFromText(QStringView text);
