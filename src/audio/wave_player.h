#pragma once
// Plays the game's three embedded wave sounds. The sounds are loaded once,
// when the player is made, and kept until it goes away, so the data stay in
// memory for as long as any of them may be playing.

#include <QObject>
#include <array>

class QSoundEffect;

class WavePlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int kSoundCount = 3;

    explicit WavePlayer(QObject *parent = nullptr);
    ~WavePlayer() override;

    // Starts sound 1, 2 or 3 and returns at once. A sound still playing is
    // stopped first, so the new one replaces it (the same sound starts
    // again from its beginning). Returns non-zero when playback was started,
    // 0 when the sound cannot be played (no audio device, damaged data).
    // Any other id plays nothing, leaves a playing sound alone and returns 0.
    int play(int id);

    // True while sound id plays or is about to (started before its data had
    // finished loading). False for an unknown id.
    bool isPlaying(int id) const;

private:
    std::array<QSoundEffect *, kSoundCount> m_effects{};
};
