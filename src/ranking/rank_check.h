#pragma once
// Small rules of the ranking check.

#include <QString>
#include <optional>

// The section of rank k (1..5): "1位" .. "5位".
QString rankSectionName(int k);
// A stored or shown score as a 32-bit number: blanks around it, an optional
// sign, digits, a decimal point and an exponent, rounded half to even.
// Empty text, anything else and values out of range give nothing.
std::optional<qint32> rankScore(const QString &text);
