#pragma once
// The coin total as it comes back from the per-user settings store.

#include <QString>
#include <QtGlobal>

#include <optional>

// The stored text as a 16-bit coin count: blanks and tabs around it, an
// optional sign, decimal digits with at most one decimal point, and an
// optional exponent (E or D, optional sign, digits), rounded to the nearest
// integer with an exact half going to the even neighbour ("12.5" is 12,
// "13.5" is 14). Anything else, and values outside -32768..32767 after
// rounding, give nothing: the caller treats that as no saved data.
std::optional<qint16> coinFromStoredText(const QString &text);
