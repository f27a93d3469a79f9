#include "audio/sound_player.h"

#include "desktop/diagnostics.h"
#include "desktop/player_files.h"

#include <QDir>
#include <QLibrary>

namespace {

// The module in dir, or nothing, with the reason in why.
CreateSoundPlayerFn tryModule(const QString &dir, QString &why)
{
    // Never unloaded: the player's code and any sound still playing depend
    // on it.
    QLibrary module(QDir(dir).filePath(QStringLiteral(TIVORAN_SOUND_MODULE)));
    if (!module.load()) {
        why = module.errorString();
        return nullptr;
    }
    const auto create = reinterpret_cast<CreateSoundPlayerFn>(module.resolve(TIVORAN_SOUND_ENTRY));
    if (!create)
        why = module.errorString();
    return create;
}

} // namespace

CreateSoundPlayerFn loadSoundModule(const QString &dir)
{
    QString why;
    const CreateSoundPlayerFn create = tryModule(dir, why);
    if (!create)
        qCWarning(lcSound).noquote() << "no sound module in" << dir << "-" << why;
    return create;
}

CreateSoundPlayerFn loadGameSoundModule(const QString &programDir)
{
    QStringList reasons;
    for (const QString &dir : {programDir, installedModuleDir(programDir)}) {
        QString why;
        if (const CreateSoundPlayerFn create = tryModule(dir, why))
            return create;
        reasons << why;
    }
    qCWarning(lcSound).noquote() << "no sound module, the game plays silently:" << reasons.join(QStringLiteral("; "));
    return nullptr;
}
