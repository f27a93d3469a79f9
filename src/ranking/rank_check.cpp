#include "ranking/rank_check.h"

#include "settings/stored_number.h"

#include <memory>

namespace {

RankEntry finished(RankEntry entry, IniOutcome outcome)
{
    entry.outcome = outcome;
    entry.stored = entry.rank != 0 && outcome == IniOutcome::Written;
    return entry;
}

// The change that puts the name on its entry, and how that went.
QList<IniChange> nameChanges(const IniReader &read, const RankEntry &entry, const QString &section,
                             const QString &name, NameOutcome &outcome)
{
    outcome = NameOutcome::Written;
    if (entry.rank == 0) // no entry to find: the section as it is
        return {{section, RankNameKey, name}};
    const int rank = entryRankNow(read, entry);
    if (rank <= 0) {
        outcome = rank == 0 ? NameOutcome::EntryLeft : NameOutcome::EntryUnsure;
        return {};
    }
    return {{rankSectionName(rank), RankNameKey, name}};
}

NameOutcome nameOutcome(NameOutcome found, IniOutcome written)
{
    return written == IniOutcome::Written ? found : NameOutcome::NotWritten;
}

} // namespace

QString rankingNotStoredText()
{
    return QStringLiteral("  ランキングに記録できませんでした");
}

QString nameNotStoredText()
{
    return QStringLiteral("  名前を記録できませんでした");
}

QString nameOutcomeText(NameOutcome outcome)
{
    switch (outcome) {
    case NameOutcome::Written:
        return QString();
    case NameOutcome::NotWritten:
        return rankingNotStoredText();
    case NameOutcome::EntryLeft:
    case NameOutcome::EntryUnsure:
        break;
    }
    return nameNotStoredText();
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
            if (read(rankSectionName(j), RankScoreKey) == scoreText)
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
        if (read(rankSectionName(k), RankScoreKey) != entry.score)
            continue;
        if (same++ < entry.sameAbove)
            continue;
        if (k < entry.rank || read(rankSectionName(k), RankNameKey) != entry.heldName)
            return -1;
        return k;
    }
    return 0;
}

bool writeRankNameWhenFree(const QString &path, const RankEntry &entry, const QString &section,
                           const QString &name, QObject *owner, std::function<void(NameOutcome)> done)
{
    if (entry.rank == 0 && section.isEmpty()) {
        // Nothing to name: an empty section would only add a stray one.
        done(NameOutcome::Written);
        return true;
    }
    auto found = std::make_shared<NameOutcome>();
    return changeIniWhenFree(
        path,
        [entry, section, name, found](const IniReader &read) { return nameChanges(read, entry, section, name, *found); },
        [found, done = std::move(done)](IniOutcome written) { done(nameOutcome(*found, written)); }, owner);
}

NameOutcome writeRankName(const QString &path, const RankEntry &entry, const QString &section,
                          const QString &name, std::chrono::milliseconds lockWait)
{
    if (entry.rank == 0 && section.isEmpty())
        return NameOutcome::Written;
    NameOutcome found = NameOutcome::Written;
    const IniOutcome written = changeIni(
        path, [&](const IniReader &read) { return nameChanges(read, entry, section, name, found); }, lockWait);
    return nameOutcome(found, written);
}
