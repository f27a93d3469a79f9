// The lenient number reader on any text:
// - nothing crashes and the result is never NaN;
// - blanks, tabs and line feeds count for nothing wherever they stand;
// - plain decimal text reads as the C library reads it;
// - rounding to the 32- and 16-bit types agrees with the value: within one
//   half of it, and the 16-bit result only where the 32-bit one is the same.

#include "settings/lenient_number.h"

#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

[[noreturn]] void fail(const char *what, const QString &text)
{
    std::fprintf(stderr, "invariant broken: %s for \"%s\"\n", what, qPrintable(text));
    std::abort();
}

bool same(double a, double b)
{
    return a == b || (std::isinf(a) && std::isinf(b) && std::signbit(a) == std::signbit(b));
}

// Sign, 1 to 15 digits, an optional point and up to 6 more digits, and
// nothing else: text both readers must agree on exactly.
bool plainDecimal(const std::string &s)
{
    size_t i = 0, digits = 0, fraction = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9')
            ++i, ++fraction;
    }
    return i == s.size() && digits >= 1 && digits <= 15 && fraction <= 6;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 4096)
        return 0;
    // Half the inputs as Latin-1 text (what a hand edit mostly holds), half
    // as UTF-16 (any character at all).
    const bool wide = size > 0 && (data[0] & 1);
    const QString text = wide ? QString(reinterpret_cast<const QChar *>(data + 1), qsizetype((size - 1) / 2))
                              : QString::fromLatin1(reinterpret_cast<const char *>(data), qsizetype(size));

    const double v = basicVal(text);
    if (std::isnan(v))
        fail("NaN", text);

    QString squeezed = text;
    squeezed.remove(QLatin1Char(' ')).remove(QLatin1Char('\t')).remove(QLatin1Char('\n'));
    if (!same(basicVal(squeezed), v))
        fail("blanks changed the value", text);

    const std::string latin = text.toStdString();
    if (!wide && plainDecimal(latin) && !same(v, std::strtod(latin.c_str(), nullptr)))
        fail("plain decimal read differently from strtod", text);

    const auto asLong = roundToLong(v);
    const auto asInteger = roundToInteger(v);
    if (asLong && std::fabs(double(*asLong) - v) > 0.5)
        fail("32-bit rounding off by more than a half", text);
    if (!asLong && std::isfinite(v) && std::fabs(v) < 2147483647.0)
        fail("in-range value gave no 32-bit result", text);
    if (asInteger && (!asLong || *asLong != *asInteger))
        fail("16-bit and 32-bit rounding disagree", text);
    if (asLong && *asLong >= -32768 && *asLong <= 32767 && !asInteger)
        fail("16-bit range value gave no 16-bit result", text);
    return 0;
}
