#pragma once
// The program's two options. They are answered before any window system is
// touched, so they work without a display.

#include <string>

enum class CommandLineAction {
    Play,         // start the game
    PrintVersion, // --version
    PrintHelp,    // --help
};

// What the arguments ask for: the first of --version and --help among them;
// any other argument is left alone (Qt reads its own, the game none).
CommandLineAction commandLineAction(int argc, const char *const *argv);

// "Tivoran 1.03" and a line end.
std::string versionText();
// A short usage text.
std::string usageText();
