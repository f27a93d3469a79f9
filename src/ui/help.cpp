#include "ui/help.h"

#include "ui/platform.h"

#include <QFileInfo>

void openHelpFile()
{
    const QString path = programFile(QStringLiteral("readme.txt"));
    if (!QFileInfo(path).isFile())
        return;
    // Whether a viewer opened is no concern of the game.
    platform().openFile(path);
}
