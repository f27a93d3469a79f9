#include "ui/help.h"

#include "settings/player_files.h"
#include "ui/platform.h"

void openHelpFile()
{
    const QString path = findShippedFile(platform().programDir(), QStringLiteral("readme.txt"));
    if (path.isEmpty())
        return;
    // Whether a viewer opened is no concern of the game.
    platform().openFile(path);
}
