#include "game/coin_text.h"

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

// True when the whole of t is one number of the accepted form.
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

} // namespace

std::optional<qint16> coinFromStoredText(const QString &text)
{
    QStringView t(text);
    while (!t.isEmpty() && isBlank(t.front()))
        t = t.sliced(1);
    while (!t.isEmpty() && isBlank(t.back()))
        t.chop(1);
    if (!isPlainNumber(t))
        return std::nullopt;
    // A text of that form holds no blanks and reads the same with Val.
    return roundToInteger(basicVal(t));
}
