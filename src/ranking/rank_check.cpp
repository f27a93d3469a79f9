#include "ranking/rank_check.h"

#include "settings/stored_number.h"

QString rankSectionName(int k)
{
    return QString::number(k) + QStringLiteral("位");
}

RankEntry enterRankScore(const QString &path, const QString &scoreText, std::chrono::milliseconds lockWait)
{
    const qint32 result = storedLong(scoreText, NumberReading::WholeText).value_or(0);
    const QString score = QStringLiteral("score");
    const QString name = QStringLiteral("name");
    RankEntry entry;
    const bool written = UpdateIni(
        path,
        [&](const IniReader &read) {
            QList<IniChange> changes;
            for (int k = 1; k <= 5; ++k) {
                const std::optional<qint32> stored = storedLong(read(rankSectionName(k), score), NumberReading::WholeText);
                // An empty or unreadable rank is lower than any result.
                if (stored && *stored >= result)
                    continue;
                entry.rank = k;
                // Every rank is read before anything is written to it, so
                // these are the values that moving the entries one by one,
                // from the bottom up, would copy.
                for (int j = 4; j >= k; --j) {
                    for (const QString &key : {score, name})
                        changes.append({rankSectionName(j + 1), key, read(rankSectionName(j), key)});
                }
                changes.append({rankSectionName(k), score, scoreText});
                break;
            }
            return changes;
        },
        lockWait);
    entry.stored = entry.rank != 0 && written;
    return entry;
}
