#pragma once
// Where the game finds its files and keeps the player's.
//
// A game unpacked into a folder of its own keeps slot.ini and data.ini
// beside the program, as it always has. An installed game cannot write
// there, so it keeps them in the player's data folder instead
// (~/.local/share/Tivoran), where data.ini is first copied from the
// ranking the game ships with. The files the game only reads (the help text,
// the first-run ranking, the sound module) lie beside the program in a
// portable copy and in the installed tree under share/ and lib/, found by
// paths relative to the program so that an installed tree can move.

#include <QString>
#include <QStringList>

// The player's files, by name: the top five and the table's colours.
inline const QString RankingFileName = QStringLiteral("data.ini");
inline const QString ColourFileName = QStringLiteral("slot.ini");
// The help text the game ships, which the help item opens.
inline const QString HelpFileName = QStringLiteral("readme.txt");

// Where the installed tree keeps what the program reads, relative to the
// directory of the program.
QString installedDataDir(const QString &programDir);   // share/tivoran
QString installedModuleDir(const QString &programDir); // lib/tivoran

// The folders to look in for a file the game ships: the program directory
// first, then the installed data folder.
QStringList shippedDataDirs(const QString &programDir);
// The first of those folders that holds fileName, as a path; empty when none
// does.
QString findShippedFile(const QString &programDir, const QString &fileName);

// The folder for slot.ini and data.ini. The program directory when it holds
// data.ini and can be written to; otherwise userDataDir, which is made when
// missing and given a copy of the first shipped data.ini found in shippedDirs
// when it has none (an existing one is never replaced). Whatever fails here
// shows nothing: the game then plays with default colours and an empty
// ranking.
QString choosePlayerDir(const QString &programDir, const QString &userDataDir,
                        const QStringList &shippedDirs);
