#include "settings/ansi.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

// One converter pair per thread, made on first use. The converters are
// stateless and reset before every use, so no call sees what an earlier one
// left behind. Their hasError() is not consulted: in Qt 6.4 it stays set
// after resetState(). Instead every double-byte character is converted on
// its own and checked.
struct Codecs {
    QStringEncoder encoder{"Shift_JIS", QStringConverter::Flag::Stateless};
    QStringDecoder decoder{"Shift_JIS", QStringConverter::Flag::Stateless};
};

Codecs &codecs()
{
    thread_local Codecs c;
    return c;
}

constexpr char16_t kReplacement = 0xFFFD;
// What the converter puts in place of a byte sequence it cannot map.
constexpr char16_t kSubstitute = 0x001A;

// Half-width katakana are the single bytes 0xA1..0xDF.
constexpr char16_t kHalfKanaFirst = 0xFF61;
constexpr char16_t kHalfKanaLast = 0xFF9F;
constexpr uchar kHalfKanaByteFirst = 0xA1;
constexpr uchar kHalfKanaByteLast = 0xDF;

QString decodePair(Codecs &c, QByteArrayView pair)
{
    c.decoder.resetState();
    QString s = c.decoder.decode(pair);
    if (s.isEmpty() || s.size() > 2 || s.contains(QChar(kSubstitute))
        || s.contains(QChar(kReplacement)))
        return QString(QChar(kReplacement));
    return s;
}

// The two bytes of one character (a code point of one or two UTF-16 units),
// or nothing when code page 932 has no such character.
QByteArray encodeOne(Codecs &c, QStringView ch)
{
    c.encoder.resetState();
    QByteArray b = c.encoder.encode(ch);
    if (b.size() != 2 || !isAnsiLeadByte(uchar(b[0])) || !isAnsiTrailByte(uchar(b[1])))
        return {};
    // The converter writes a substitute pair for characters it cannot map;
    // only a pair that decodes back to the same character is the real one.
    if (decodePair(c, b) != ch)
        return {};
    return b;
}

} // namespace

bool ansiCodecAvailable()
{
    return codecs().encoder.isValid() && codecs().decoder.isValid();
}

QByteArray toAnsi(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size();) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            out += char(u);
            ++i;
            continue;
        }
        if (u >= kHalfKanaFirst && u <= kHalfKanaLast) {
            out += char(u - kHalfKanaFirst + kHalfKanaByteFirst);
            ++i;
            continue;
        }
        qsizetype len = 1;
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            len = 2;
        const QByteArray b = QChar::isSurrogate(u) && len == 1
            ? QByteArray()
            : encodeOne(codecs(), text.sliced(i, len));
        out += b.isEmpty() ? QByteArray("?") : b;
        i += len;
    }
    return out;
}

QString fromAnsi(QByteArrayView bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            out += QChar(char16_t(b));
            ++i;
        } else if (b >= kHalfKanaByteFirst && b <= kHalfKanaByteLast) {
            out += QChar(char16_t(b - kHalfKanaByteFirst + kHalfKanaFirst));
            ++i;
        } else if (ansiCharLength(bytes, i) == 2) {
            out += decodePair(codecs(), bytes.sliced(i, 2));
            i += 2;
        } else {
            out += QChar(kReplacement);
            ++i;
        }
    }
    return out;
}
