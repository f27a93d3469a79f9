#include "reels/reel_model.h"

#include <cmath>

namespace reels {

namespace {
int mod7(int v)
{
    return ((v % StripLength) + StripLength) % StripLength;
}
} // namespace

QString symbolName(int position)
{
    static const std::array<QString, StripLength> names{
        QStringLiteral("りんご"), QStringLiteral("テレビ"), QStringLiteral("電話"),
        QStringLiteral("家"),     QStringLiteral("地球"),   QStringLiteral("ちょう"),
        QStringLiteral("時計")};
    return names[mod7(position)];
}

int positionShown(int element, int row)
{
    return mod7(element - row);
}

int symbolPay(const QString &name)
{
    for (const PayRow &row : PayTable) {
        if (symbolName(row.position) == name)
            return row.pay;
    }
    return 0;
}

std::array<Substitution, 2> startSubstitutions(int r)
{
    switch (r) {
    case 1:
        return {{{4, PicSpareClr}, {5, PicSpareBook}}};
    case 2:
        return {{{4, PicSpareBook}, {1, PicSpareScrewdriver}}};
    case 3:
        return {{{4, PicSpareBall}, {2, PicSpareScrewdriver}}};
    default:
        return {{{4, PicSpareScrewdriver}, {3, PicSpareClr}}};
    }
}

int chooseR(double uniform)
{
    const int r = int(std::floor(uniform * 4.0 + 1.0));
    return r < 1 ? 1 : (r > 4 ? 4 : r);
}

} // namespace reels
