// The game as the benchmarks start it: src/main.cpp with the start-up report
// of idle_report.h armed. Everything after that is the game's own runGame(),
// the very function the shipped program calls, from the same library, so
// the start-up timed is the program's own.

#include "idle_report.h"

#include "game/command_line.h"
#include "game/program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // Read as the program reads it, so that no step of its start is skipped;
    // the benchmarks pass no option.
    if (commandLineAction(argc, argv) != CommandLineAction::Play)
        return 2;
    QApplication app(argc, argv);
    exitWhenShownAndIdle();
    return runGame(app);
}
