#pragma once
// The sample data of a RIFF/WAVE file, as the sound module hands them to
// the sound server: uncompressed PCM, 8-bit unsigned or 16-bit signed
// little-endian, one or two channels.

#include <QByteArray>
#include <optional>

struct WaveData {
    int rate = 0;        // frames per second
    int bits = 0;        // 8 or 16 per sample
    int channels = 0;    // 1 or 2
    QByteArray samples;  // the data chunk, whole frames only
};

// The format and samples of a wave file, or nothing when the bytes are not
// one the sound module can play: not RIFF/WAVE, no "fmt " or "data" chunk,
// a compressed or unusual format, a chunk that runs past the end, or no
// whole frame of sound.
std::optional<WaveData> readWave(const QByteArray &file);
