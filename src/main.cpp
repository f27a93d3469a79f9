#include "game/command_line.h"
#include "game/program.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The options are answered before Qt meets the window system.
    switch (commandLineAction(argc, argv)) {
    case CommandLineAction::PrintVersion:
        std::fputs(versionText().c_str(), stdout);
        return 0;
    case CommandLineAction::PrintHelp:
        std::fputs(usageText().c_str(), stdout);
        return 0;
    case CommandLineAction::Play:
        break;
    }
    QApplication app(argc, argv);
    return runGame(app);
}
