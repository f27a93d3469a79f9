#pragma once
// Plays the game's three embedded wave sounds through Qt Multimedia. The
// sounds are loaded once, when the player is made, and kept until it goes
// away, so the data stay in memory for as long as any of them may be playing.

#include "audio/sound_player.h"

#include <QObject>
#include <array>

class QSoundEffect;

class WavePlayer : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    explicit WavePlayer(QObject *parent = nullptr);
    ~WavePlayer() override;

    int play(int id) override;
    bool isPlaying(int id) const override;
    bool isLoading() const override;

private:
    std::array<QSoundEffect *, kSoundCount> m_effects{};
};
