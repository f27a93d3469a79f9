#include "reels/reel_speech.h"

#include "reels/pay_lines.h"
#include "reels/reel_model.h"

#include <QStringList>

namespace reels {

QString lineName(int line)
{
    switch (line) {
    case 1: return QStringLiteral("右上がり斜め");
    case 2: return QStringLiteral("右下がり斜め");
    case 3: return QStringLiteral("上段");
    case 4: return QStringLiteral("中段");
    case 5: return QStringLiteral("下段");
    default: return QString();
    }
}

QString reelName(int reel)
{
    switch (reel) {
    case 0: return QStringLiteral("左");
    case 1: return QStringLiteral("中");
    case 2: return QStringLiteral("右");
    default: return QString();
    }
}

QString spokenReels(const std::array<int, 3> &steps, const std::array<bool, 3> &running,
                    const std::array<bool, 5> &linesShown)
{
    QString spoken;
    if (running[0] || running[1] || running[2]) {
        // Rows half spinning would be stale or meaningless: only say which
        // reels already stand.
        QStringList standing;
        for (int reel = 0; reel < 3; ++reel)
            if (!running[reel])
                standing << reelName(reel);
        spoken = QStringLiteral("回転中");
        if (!standing.isEmpty())
            spoken += QStringLiteral("（停止: %1）").arg(standing.join(QStringLiteral("、")));
    } else {
        QStringList rows;
        for (int row = 0; row < 3; ++row) {
            QString text = lineName(3 + row);
            for (int reel = 0; reel < 3; ++reel)
                text += QLatin1Char(' ')
                        + (steps[reel] < 0 ? QStringLiteral("不明") : symbolName(positionShown(steps[reel], row)));
            rows << text;
        }
        spoken = rows.join(QStringLiteral("、"));
    }

    // The bet lines in the order the lamps light.
    QStringList bet;
    for (int line : LampLine)
        if (linesShown[line - 1])
            bet << lineName(line);
    spoken += bet.isEmpty() ? QStringLiteral("。ベットなし")
                            : QStringLiteral("。ベット: %1").arg(bet.join(QStringLiteral("、")));
    return spoken;
}

} // namespace reels
