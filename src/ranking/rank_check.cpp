#include "ranking/rank_check.h"

#include <QRegularExpression>
#include <cmath>

QString rankSectionName(int k)
{
    return QString::number(k) + QStringLiteral("位");
}

std::optional<qint32> rankScore(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    const QString t = text.trimmed();
    if (!number.match(t).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    const double r = std::nearbyint(v); // the default rounding: half to even
    if (r < -2147483648.0 || r > 2147483647.0)
        return std::nullopt;
    return qint32(r);
}
