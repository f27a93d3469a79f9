#include "audio/sound_player.h"

#include "settings/player_files.h"

#include <QDir>
#include <QLibrary>

CreateSoundPlayerFn loadSoundModule(const QString &dir)
{
    // Never unloaded: the player's code and any sound still playing depend
    // on it.
    QLibrary module(QDir(dir).filePath(QStringLiteral("tivoran_sound")));
    if (!module.load())
        return nullptr;
    return reinterpret_cast<CreateSoundPlayerFn>(module.resolve(TIVORAN_SOUND_ENTRY));
}

CreateSoundPlayerFn loadGameSoundModule(const QString &programDir)
{
    for (const QString &dir : {programDir, installedModuleDir(programDir)}) {
        if (const CreateSoundPlayerFn create = loadSoundModule(dir))
            return create;
    }
    return nullptr;
}
