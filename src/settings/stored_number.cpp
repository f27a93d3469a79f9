#include "settings/stored_number.h"

#include "settings/lenient_number.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool isDigit(QStringView t, qsizetype i)
{
    return i < t.size() && t[i] >= u'0' && t[i] <= u'9';
}

bool isSign(QStringView t, qsizetype i)
{
    return i < t.size() && (t[i] == u'+' || t[i] == u'-');
}

// True when the whole of t is one number of the whole-text form.
bool isPlainNumber(QStringView t)
{
    qsizetype i = 0;
    if (isSign(t, i))
        ++i;
    qsizetype digits = 0;
    for (; isDigit(t, i); ++i)
        ++digits;
    if (i < t.size() && t[i] == u'.') {
        for (++i; isDigit(t, i); ++i)
            ++digits;
    }
    if (digits == 0)
        return false;
    if (i < t.size() && (t[i] == u'E' || t[i] == u'e' || t[i] == u'D' || t[i] == u'd')) {
        ++i;
        if (isSign(t, i))
            ++i;
        if (!isDigit(t, i))
            return false;
        while (isDigit(t, i))
            ++i;
    }
    return i == t.size();
}

// The value of text at the given strictness, before rounding.
std::optional<double> storedValue(QStringView text, NumberReading reading)
{
    if (reading == NumberReading::Lenient)
        return basicVal(text);
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    if (!isPlainNumber(text))
        return std::nullopt;
    // A text of that form holds no blanks and reads the same with Val.
    return basicVal(text);
}

} // namespace

std::optional<qint32> storedLong(QStringView text, NumberReading reading)
{
    const std::optional<double> v = storedValue(text, reading);
    return v ? roundToLong(*v) : std::nullopt;
}

std::optional<qint16> storedInteger(QStringView text, NumberReading reading)
{
    const std::optional<double> v = storedValue(text, reading);
    return v ? roundToInteger(*v) : std::nullopt;
}
