#include "settings/lenient_number.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

// Blanks, tabs and line feeds: invisible to Val, or seen like any other
// character.
enum class Blanks { Invisible, Visible };

// Walks the text one visible character at a time.
class ValReader {
public:
    ValReader(QStringView text, Blanks blanks) : m_text(text), m_blanks(blanks) {}

    // The next visible character, or 0 at the end.
    char16_t peek()
    {
        while (m_blanks == Blanks::Invisible && m_pos < m_text.size()
               && isSkipped(m_text[m_pos].unicode()))
            ++m_pos;
        return m_pos < m_text.size() ? m_text[m_pos].unicode() : 0;
    }
    void take() { ++m_pos; }
    // True when no visible character is left.
    bool atEnd()
    {
        peek();
        return m_pos == m_text.size();
    }

private:
    static bool isSkipped(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n'; }

    QStringView m_text;
    Blanks m_blanks;
    qsizetype m_pos = 0;
};

bool isDecimalDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int digitValue(char16_t c, int base)
{
    int d = -1;
    if (c >= u'0' && c <= u'9')
        d = c - u'0';
    else if (c >= u'a' && c <= u'f')
        d = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F')
        d = c - u'A' + 10;
    return d < base ? d : -1;
}

double radixValue(ValReader &r, int base)
{
    double magnitude = 0; // exact up to 2^53, far beyond the 32 bits that matter
    bool any = false;
    for (int d; (d = digitValue(r.peek(), base)) >= 0; r.take()) {
        magnitude = magnitude * base + d;
        any = true;
    }
    if (!any)
        return 0.0;
    if (magnitude <= 0xFFFF)
        return magnitude >= 0x8000 ? magnitude - 65536.0 : magnitude;
    if (magnitude <= 4294967295.0)
        return magnitude >= 2147483648.0 ? magnitude - 4294967296.0 : magnitude;
    return magnitude;
}

// The exponent is saturated: beyond this every non-zero value is infinite
// or zero anyway.
constexpr qint64 kExponentCap = 100'000'000;

std::optional<double> roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    double r = std::floor(value);
    const double fraction = value - r; // exact for every double
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    return r;
}

// The value of the decimal number with the given digits (0-9 only) times ten
// to the power exponent10; plus or minus infinity when too large, 0 when too
// small.
double decimalDigitsValue(bool negative, QByteArrayView digits, qint64 exponent10)
{
    // Leading zeros carry nothing; trailing zeros move into the exponent.
    qsizetype first = 0;
    while (first < digits.size() && digits[first] == '0')
        ++first;
    qsizetype last = digits.size();
    while (last > first && digits[last - 1] == '0')
        --last;
    if (first == last)
        return 0.0;
    exponent10 += digits.size() - last;
    QByteArrayView significant = digits.sliced(first, last - first);

    // 800 significant digits decide the nearest double; of the rest (which
    // end in a non-zero digit) only the fact that they are not all zero
    // matters, kept as one sticky digit.
    constexpr qsizetype kKeep = 800;
    std::string text;
    if (significant.size() > kKeep) {
        exponent10 += significant.size() - kKeep - 1;
        text.assign(significant.data(), size_t(kKeep));
        text += '1';
    } else {
        text.assign(significant.data(), size_t(significant.size()));
    }

    const double inf = std::numeric_limits<double>::infinity();
    const qint64 leadingPower = exponent10 + qint64(text.size()) - 1;
    double value;
    if (leadingPower > 400) {
        value = inf;
    } else if (leadingPower < -400) {
        value = 0.0;
    } else {
        text += 'e';
        text += std::to_string(exponent10);
        const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
        if (res.ec == std::errc::result_out_of_range)
            value = leadingPower > 0 ? inf : 0.0;
        else if (res.ec != std::errc())
            value = 0.0;
    }
    return negative && value != 0.0 ? -value : value;
}

// What the grammar finds at the start of a text.
struct Scan {
    double value = 0.0; // as Val reads it
    // Decimal digits, and digits after the exponent letter if there is one:
    // the form of a whole-text number.
    bool plain = false;
};

Scan scanNumber(ValReader &r)
{
    char16_t c = r.peek();
    if (c == u'&') {
        r.take();
        c = r.peek();
        if (c == u'H' || c == u'h') {
            r.take();
            return {radixValue(r, 16), false};
        }
        if (c == u'O' || c == u'o') {
            r.take();
            return {radixValue(r, 8), false};
        }
        return {};
    }

    bool negative = false;
    if (c == u'+' || c == u'-') {
        negative = c == u'-';
        r.take();
    }
    QByteArray digits;
    qint64 fractionDigits = 0;
    for (; isDecimalDigit(c = r.peek()); r.take())
        digits += char(c);
    if (c == u'.') {
        r.take();
        for (; isDecimalDigit(c = r.peek()); r.take()) {
            digits += char(c);
            ++fractionDigits;
        }
    }
    if (digits.isEmpty())
        return {};

    qint64 exponent = 0;
    bool exponentDigits = true;
    c = r.peek();
    if (c == u'E' || c == u'e' || c == u'D' || c == u'd') {
        r.take();
        bool negativeExponent = false;
        c = r.peek();
        if (c == u'+' || c == u'-') {
            negativeExponent = c == u'-';
            r.take();
        }
        exponentDigits = isDecimalDigit(r.peek());
        for (; isDecimalDigit(c = r.peek()); r.take()) {
            if (exponent < kExponentCap)
                exponent = exponent * 10 + (c - u'0');
        }
        if (negativeExponent)
            exponent = -exponent;
    }
    return {decimalDigitsValue(negative, digits, exponent - fractionDigits), exponentDigits};
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

} // namespace

double basicVal(QStringView text)
{
    ValReader r(text, Blanks::Invisible);
    return scanNumber(r).value;
}

std::optional<double> wholeTextNumber(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    ValReader r(text, Blanks::Visible);
    const Scan scan = scanNumber(r);
    if (!scan.plain || !r.atEnd())
        return std::nullopt;
    return scan.value;
}

std::optional<qint32> roundToLong(double value)
{
    const auto r = roundHalfEven(value);
    if (!r || *r < -2147483648.0 || *r > 2147483647.0)
        return std::nullopt;
    return qint32(*r);
}

std::optional<qint16> roundToInteger(double value)
{
    const auto r = roundHalfEven(value);
    if (!r || *r < -32768.0 || *r > 32767.0)
        return std::nullopt;
    return qint16(*r);
}
