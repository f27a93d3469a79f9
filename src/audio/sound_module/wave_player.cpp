#include "audio/sound_module/wave_player.h"

#include <QLoggingCategory>
#include <QSoundEffect>
#include <QString>
#include <QUrl>

#include <type_traits>

namespace {
// The game's sound diagnostics (see desktop/diagnostics.h), silent unless
// switched on.
Q_LOGGING_CATEGORY(lcSound, "tivoran.sound", QtCriticalMsg)
} // namespace

WavePlayer::WavePlayer(QObject *parent)
    : QObject(parent)
{
    for (int i = 0; i < kSoundCount; ++i) {
        auto *effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc:/sounds/sound%1.wav").arg(i + 1)));
        m_effects[i] = effect;
    }
}

WavePlayer::~WavePlayer() = default;

int WavePlayer::play(int id)
{
    if (id < 1 || id > kSoundCount)
        return 0;
    for (QSoundEffect *effect : m_effects)
        effect->stop();
    QSoundEffect *effect = m_effects[id - 1];
    // play() on an effect in error would only reset its status; it plays
    // nothing, so say so.
    const QSoundEffect::Status status = effect->status();
    if (status == QSoundEffect::Error || status == QSoundEffect::Null) {
        qCWarning(lcSound) << "sound" << id << "cannot be played:" << (status == QSoundEffect::Error ? "error" : "not loaded");
        return 0;
    }
    effect->play();
    return effect->isPlaying() ? 1 : 0;
}

bool WavePlayer::isPlaying(int id) const
{
    if (id < 1 || id > kSoundCount)
        return false;
    return m_effects[id - 1]->isPlaying();
}

bool WavePlayer::isLoading() const
{
    for (const QSoundEffect *effect : m_effects) {
        if (effect->status() == QSoundEffect::Loading)
            return true;
    }
    return false;
}

// What the game's loader looks for in this module.
extern "C" Q_DECL_EXPORT SoundPlayer *tivoranCreateSoundPlayer()
{
    return new WavePlayer;
}
static_assert(std::is_same_v<decltype(&tivoranCreateSoundPlayer), CreateSoundPlayerFn>);
