#include "reels/pay_lines.h"

#include "reels/reel_model.h"

namespace reels {

int linePay(const QString &a, const QString &b, const QString &c)
{
    if (a != b || b != c)
        return 0;
    return symbolPay(a);
}

} // namespace reels
