#include "game/command_line.h"

#include "desktop/game_name.h"
#include "desktop/player_files.h"
#include "ranking/ranking_game.h"

#include <cstring>

CommandLineAction commandLineAction(int argc, const char *const *argv)
{
    for (int i = 1; i < argc && argv[i]; ++i) {
        if (std::strcmp(argv[i], "--version") == 0)
            return CommandLineAction::PrintVersion;
        if (std::strcmp(argv[i], "--help") == 0)
            return CommandLineAction::PrintHelp;
    }
    return CommandLineAction::Play;
}

std::string versionText()
{
    return GameName.toStdString() + " " TIVORAN_VERSION "\n";
}

std::string usageText()
{
    const std::string name = GameName.toStdString();
    return "Usage: tivoran [--help | --version]\n"
           "\n"
           + name + " is a slot machine with a Japanese interface: three reels, five pay\n"
           "lines and a " + std::to_string(RankingGameSeconds)
           + "-second ranking game. Run without options, it opens the game\n"
           "table.\n"
           "\n"
           "  --help     show this text and exit\n"
           "  --version  show the version and exit\n"
           "\n"
           "The colours and the top five are kept in ~/.local/share/" + name + " (beside the\n"
           "program in a portable copy that has " + RankingFileName.toStdString()
           + " there); coins saved from the\n"
           "menu in ~/.config/" + name + "/" + name + ".conf.\n";
}
