#include "ranking/rank_check.h"

#include "settings/stored_number.h"

namespace {

RankEntry finished(RankEntry entry, IniOutcome outcome)
{
    entry.outcome = outcome;
    entry.stored = entry.rank != 0 && outcome == IniOutcome::Written;
    return entry;
}

QList<IniChange> nameChanges(const IniReader &read, const RankEntry &entry, const QString &name)
{
    const int rank = entryRankNow(read, entry);
    if (rank == 0)
        return {};
    return {{rankSectionName(rank), RankNameKey, name}};
}

} // namespace

QString rankingNotStoredText()
{
    return QStringLiteral("  ランキングに記録できませんでした");
}

QList<IniChange> rankScoreChanges(const IniReader &read, const QString &scoreText, RankEntry &entry)
{
    const qint32 result = storedLong(scoreText, NumberReading::WholeText).value_or(0);
    entry = RankEntry();
    QList<IniChange> changes;
    for (int k = 1; k <= RankCount; ++k) {
        const std::optional<qint32> stored = storedLong(read(rankSectionName(k), RankScoreKey), NumberReading::WholeText);
        // An empty or unreadable rank is lower than any result.
        if (stored && *stored >= result)
            continue;
        entry.rank = k;
        entry.score = scoreText;
        entry.heldName = read(rankSectionName(k), RankNameKey);
        for (int j = 1; j < k; ++j) {
            if (read(rankSectionName(j), RankScoreKey) == scoreText && read(rankSectionName(j), RankNameKey) == entry.heldName)
                ++entry.sameAbove;
        }
        // Every rank is read before anything is written to it, so these are
        // the values that moving the entries one by one, from the bottom up,
        // would copy.
        for (int j = RankCount - 1; j >= k; --j) {
            for (const QString &key : {RankScoreKey, RankNameKey})
                changes.append({rankSectionName(j + 1), key, read(rankSectionName(j), key)});
        }
        changes.append({rankSectionName(k), RankScoreKey, scoreText});
        break;
    }
    return changes;
}

RankEntry enterRankScore(const QString &path, const QString &scoreText, std::chrono::milliseconds lockWait)
{
    RankEntry entry;
    const IniOutcome outcome =
        changeIni(path, [&](const IniReader &read) { return rankScoreChanges(read, scoreText, entry); }, lockWait);
    return finished(entry, outcome);
}

bool enterRankScoreWhenFree(const QString &path, const QString &scoreText, QObject *owner,
                            std::function<void(const RankEntry &)> done)
{
    auto entry = std::make_shared<RankEntry>();
    return changeIniWhenFree(
        path, [entry, scoreText](const IniReader &read) { return rankScoreChanges(read, scoreText, *entry); },
        [entry, done = std::move(done)](IniOutcome outcome) { done(finished(*entry, outcome)); }, owner);
}

int entryRankNow(const IniReader &read, const RankEntry &entry)
{
    if (entry.rank == 0)
        return 0;
    int same = 0;
    for (int k = 1; k <= RankCount; ++k) {
        if (read(rankSectionName(k), RankScoreKey) != entry.score || read(rankSectionName(k), RankNameKey) != entry.heldName)
            continue;
        if (same == entry.sameAbove)
            return k >= entry.rank ? k : 0;
        ++same;
    }
    return 0;
}

bool writeRankNameWhenFree(const QString &path, const RankEntry &entry, const QString &name, QObject *owner,
                           std::function<void(IniOutcome)> done)
{
    return changeIniWhenFree(
        path, [entry, name](const IniReader &read) { return nameChanges(read, entry, name); }, std::move(done),
        owner);
}

IniOutcome writeRankName(const QString &path, const RankEntry &entry, const QString &name,
                         std::chrono::milliseconds lockWait)
{
    return changeIni(path, [&](const IniReader &read) { return nameChanges(read, entry, name); }, lockWait);
}
