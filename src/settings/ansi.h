#pragma once
// The game's text files (slot.ini, data.ini) are in the Japanese ANSI code
// page, 932 (Shift-JIS). These convert between that and Qt's strings.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// True when this Qt has the Shift-JIS converter. Without it every character
// outside ASCII would come out as '?': the game then writes no text file
// rather than spoil one.
bool ansiCodecAvailable();

// Characters without a code in code page 932 become '?'.
QByteArray toAnsi(QStringView text);
// Bytes that form no character (a lone first byte of a double-byte
// character, 0x80, 0xA0, 0xFD..0xFF, an unassigned pair) become U+FFFD, one
// per byte or pair; nothing else is dropped or invented.
QString fromAnsi(QByteArrayView bytes);

// The byte classes of code page 932.
constexpr bool isAnsiLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool isAnsiTrailByte(uchar b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}
// Length in bytes (1 or 2) of the character that starts at bytes[i]: 2 for a
// lead byte followed by a trail byte. bytes[i] must exist.
inline qsizetype ansiCharLength(QByteArrayView bytes, qsizetype i)
{
    return (isAnsiLeadByte(uchar(bytes[i])) && i + 1 < bytes.size()
            && isAnsiTrailByte(uchar(bytes[i + 1])))
        ? 2
        : 1;
}
