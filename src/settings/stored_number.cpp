#include "settings/stored_number.h"

#include "settings/lenient_number.h"

namespace {

// The value of text at the given strictness, before rounding.
std::optional<double> storedValue(QStringView text, NumberReading reading)
{
    return reading == NumberReading::Lenient ? basicVal(text) : wholeTextNumber(text);
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

std::optional<qint16> coinTotalFromText(QStringView text)
{
    return storedInteger(text, NumberReading::WholeText);
}
