#include "ui/help.h"

#include "desktop/platform.h"
#include "desktop/player_files.h"

void openHelpFile()
{
    const QString path = findShippedFile(platform().programDir(), HelpFileName);
    if (path.isEmpty())
        return;
    // Whether a viewer opened is no concern of the game.
    platform().openFile(path);
}
