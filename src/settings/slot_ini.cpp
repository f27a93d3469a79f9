#include "settings/slot_ini.h"

#include "settings/ansi.h"
#include "settings/lenient_number.h"
#include "ui/platform.h"

#include <QFile>
#include <QFileInfo>

#include <array>

namespace {

const QString kTableKey = QStringLiteral("テーブルの色 ,");
const QString kFrameKey = QStringLiteral("外枠の色 ,");
const QString kLineKey = QStringLiteral("線の色 ,");

QByteArray colourLine(const QString &key, qint32 colour)
{
    return toAnsi(key) + QByteArray::number(colour) + "\r\n";
}

// The first `max` lines of bytes. A line ends at CR LF or at a lone CR; a
// lone LF is part of its line (and the number reading skips it). A line end
// closes its line: the empty text after the last line end is no line of its
// own.
QList<QByteArrayView> firstLines(QByteArrayView bytes, qsizetype max)
{
    QList<QByteArrayView> lines;
    qsizetype pos = 0;
    while (pos < bytes.size() && lines.size() < max) {
        qsizetype end = pos;
        while (end < bytes.size() && bytes[end] != '\r')
            ++end;
        lines.append(bytes.sliced(pos, end - pos));
        pos = end;
        if (pos < bytes.size())
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
    }
    return lines;
}

} // namespace

QByteArray formatSlotIni(const TableColours &colours)
{
    return colourLine(kTableKey, colours.table) + colourLine(kFrameKey, colours.frame)
        + colourLine(kLineKey, colours.line);
}

void applySlotIni(const QByteArray &bytes, TableColours &colours)
{
    const std::array<qint32 *, 3> targets{&colours.table, &colours.frame, &colours.line};
    const QList<QByteArrayView> lines = firstLines(bytes, qsizetype(targets.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = fromAnsi(lines[i]);
        const qsizetype comma = text.indexOf(u',');
        const QStringView number = comma < 0 ? QStringView(text) : QStringView(text).sliced(comma + 1);
        if (const auto colour = roundToLong(basicVal(number)))
            *targets[size_t(i)] = *colour;
    }
}

bool loadSlotIni(const QString &path, TableColours &colours)
{
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    applySlotIni(bytes, colours);
    return true;
}

bool saveSlotIni(const QString &path, const TableColours &colours)
{
    return platform().writeFile(path, formatSlotIni(colours));
}
