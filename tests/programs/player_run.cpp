// Plays the game where it has been put, the way a player would, for the
// install tests: copied into an installed tree (or a portable folder) and
// run there under a HOME of the test's choosing, it takes its files from
// wherever the real desktop platform chooses for that copy of the program,
// and drives the table through its handlers on a fake clock and a fake
// colour dialog.
//
//   player_run where
//       prints "player-dir <dir>" and "sound-module yes|no"
//   player_run play <name> <rgb>
//       plays a ranking game that wins 2400 coins, enters the name (three of
//       A..Z) on the name entry, sets the table colour to the colour
//       reference rgb (decimal) and ends the game with END
//   player_run show
//       starts the game and prints "table-colour <rgb>" and the ranking as
//       "rank <k> <name> <score>" lines

#include "fake_platform.h"
#include "helpers.h"
#include "ranking_play.h"
#include "table_fixture.h"
#include "audio/sound_player.h"
#include "game/qt_platform.h"
#include "game/smashine.h"
#include "windows/nameinput_window.h"
#include "windows/score_window.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace {

QTextStream out(stdout);

int fail(const char *what)
{
    std::fprintf(stderr, "player_run: %s\n", what);
    return 1;
}

int play(FakePlatform &fake, const QString &name, qint32 colour)
{
    Smashine table;
    table.show();
    fake.colourAnswers = {colour};
    table.テーブルの色_Click();

    table.ランキングモード_Click();
    table.Allcoin_Click();
    spinAndStop(table, 4, 4, 4); // three globes on the middle line
    runCountdown(table, fake, 60);
    const QList<nameinput *> entries = openWindows<nameinput>();
    if (entries.isEmpty())
        return fail("the score placed nowhere");
    for (int key : nameKeys(name))
        entries.first()->Form_KeyDown(key);
    QCoreApplication::processEvents();
    const QList<Score *> scores = openWindows<Score>();
    if (scores.isEmpty())
        return fail("the name entry did not end in the score window");
    scores.first()->Command1_Click();
    QCoreApplication::processEvents();
    table.ENDS_Click();
    return fake.endCount == 1 ? 0 : fail("END did not end the game");
}

int show()
{
    Smashine table;
    out << "table-colour " << table.Shape2->fillColor() << '\n';
    const QString ranking = playerFile(QStringLiteral("data.ini"));
    for (int k = 1; k <= 5; ++k)
        out << "rank " << k << ' ' << rankValue(ranking, k, "name") << ' ' << rankValue(ranking, k, "score") << '\n';
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tivoran"));
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return fail("usage: player_run where | play <name> <rgb> | show");

    // The real platform decides where the player's files are; the fake one
    // stands in for the clock, the dialogs and the sounds.
    QtPlatform desktop;
    const QString playerDir = desktop.playerDir();
    FakePlatform fake;
    fake.dir = desktop.programDir();
    fake.playerFilesDir = playerDir;

    const QString mode = args.at(1);
    if (mode == QLatin1String("where")) {
        out << "player-dir " << playerDir << '\n';
        out << "sound-module " << (loadGameSoundModule(fake.dir) ? "yes" : "no") << '\n';
        return 0;
    }
    if (mode == QLatin1String("play") && args.size() == 4)
        return play(fake, args.at(2), args.at(3).toInt());
    if (mode == QLatin1String("show"))
        return show();
    return fail("unknown mode");
}
