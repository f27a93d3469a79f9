#include "settings/slot_ini.h"

#include "desktop/diagnostics.h"
#include "desktop/platform.h"
#include "settings/ansi.h"
#include "settings/stored_number.h"
#include "settings/text_lines.h"

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

} // namespace

QByteArray formatSlotIni(const TableColours &colours)
{
    return colourLine(kTableKey, colours.table) + colourLine(kFrameKey, colours.frame)
        + colourLine(kLineKey, colours.line);
}

void applySlotIni(const QByteArray &bytes, TableColours &colours)
{
    const std::array<qint32 *, 3> targets{&colours.table, &colours.frame, &colours.line};
    // A lone LF belongs to its line; the number reading skips it.
    const QList<TextLine> lines = splitLines(bytes, LineEnds::CrLfOrCr, qsizetype(targets.size()));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = fromAnsi(QByteArrayView(bytes).sliced(lines[i].begin, lines[i].end - lines[i].begin));
        const qsizetype comma = text.indexOf(u',');
        const QStringView number = comma < 0 ? QStringView(text) : QStringView(text).sliced(comma + 1);
        if (const auto colour = storedLong(number, NumberReading::Lenient))
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
    if (!platform().ansiTextAvailable()) {
        qCWarning(lcFiles).noquote() << "cannot write" << path << "- this Qt has no Shift_JIS converter";
        return false;
    }
    return platform().writeFile(path, formatSlotIni(colours));
}
