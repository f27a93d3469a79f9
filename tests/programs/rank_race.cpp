// A copy of the game reduced to its work on the ranking file, for the tests
// of several copies sharing one ranking file: started a few times at once,
// each runs many ranking checks and name writes the way the game does them.
//
//   rank_race play <file> <name> <result>,<result>,...
//       prints "ready" and waits for a line on its input (so that all copies
//       start together); then runs one ranking check on file for each
//       result, in order, each followed, when its rank was stored, by the
//       write of <name> on the entry it made, as the name entry does it.
//       Ends by printing "stored <n> failed <m>": how many results were
//       stored, and how many earned a rank but could not be stored (or
//       could not be given their name).
//   rank_race crash <file>
//       ends abruptly in the middle of a change of file, as a copy of the
//       game killed at that moment, leaving the file's lock behind.

#include "ranking/inigw.h"
#include "ranking/rank_check.h"
#include "game/qt_platform.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: rank_race play <file> <name> <result>,... | crash <file>\n");
    return 2;
}

int play(const QString &file, const QString &name, const QStringList &results)
{
    QTextStream out(stdout);
    QTextStream in(stdin);
    out << "ready\n";
    out.flush();
    in.readLine();
    int stored = 0, failed = 0;
    for (const QString &result : results) {
        const RankEntry entry = enterRankScore(file, result);
        if (entry.stored) {
            ++stored;
            // An entry another copy pushed out of the top five meanwhile
            // takes no name, and that is no failure.
            const NameOutcome named = writeRankName(file, entry, QString(), name);
            if (named != NameOutcome::Written && named != NameOutcome::EntryLeft)
                ++failed;
        } else if (entry.rank != 0) {
            ++failed;
        }
    }
    out << "stored " << stored << " failed " << failed << "\n";
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QtPlatform desktop;
    setPlatform(&desktop);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 4 && args[0] == QLatin1String("play"))
        return play(args[1], args[2], args[3].split(QLatin1Char(',')));
    if (args.size() == 2 && args[0] == QLatin1String("crash")) {
        UpdateIni(args[1], [](const IniReader &) -> QList<IniChange> {
            std::fflush(stdout);
            std::_Exit(3);
        });
        return 1; // not reached
    }
    return usage();
}
