#include "audio/sound_module/wave_data.h"

#include <QtEndian>

namespace {

quint32 le32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 le16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

} // namespace

std::optional<WaveData> readWave(const QByteArray &file)
{
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE")
        return std::nullopt;
    WaveData format;
    bool haveFormat = false;
    // Chunks follow the 12-byte header, each an id, a length and a body
    // padded to an even length. Anything but "fmt " and "data" is skipped.
    qsizetype at = 12;
    while (at <= file.size() - 8) {
        const QByteArray id = file.mid(at, 4);
        const quint32 size = le32(file, at + 4);
        const qsizetype body = at + 8;
        if (size > quint64(file.size() - body))
            return std::nullopt;
        if (id == "fmt ") {
            if (size < 16 || le16(file, body) != 1)  // plain PCM only
                return std::nullopt;
            format.channels = le16(file, body + 2);
            format.rate = int(qMin<quint32>(le32(file, body + 4), 1'000'000));
            format.bits = le16(file, body + 14);
            const int blockAlign = le16(file, body + 12);
            if (format.channels < 1 || format.channels > 2 || format.rate < 1000
                || (format.bits != 8 && format.bits != 16) || blockAlign != format.channels * format.bits / 8)
                return std::nullopt;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return std::nullopt;
            const qsizetype frame = format.channels * format.bits / 8;
            const qsizetype whole = qsizetype(size) / frame * frame;
            if (whole == 0)
                return std::nullopt;
            format.samples = file.mid(body, whole);
            return format;
        }
        at = body + qsizetype(size) + (size & 1);
    }
    return std::nullopt;
}
