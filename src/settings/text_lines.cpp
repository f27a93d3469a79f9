#include "settings/text_lines.h"

TextLine lineAt(QByteArrayView bytes, qsizetype pos, LineEnds ends)
{
    TextLine line;
    line.begin = pos;
    qsizetype i = pos;
    const bool lfEnds = ends == LineEnds::CrLfLfOrCr;
    while (i < bytes.size() && bytes[i] != '\r' && !(lfEnds && bytes[i] == '\n'))
        ++i;
    line.end = i;
    if (i < bytes.size() && bytes[i] == '\r')
        ++i;
    if (i < bytes.size() && bytes[i] == '\n' && (lfEnds || i > line.end))
        ++i;
    line.next = i;
    return line;
}

QList<TextLine> splitLines(QByteArrayView bytes, LineEnds ends, qsizetype max)
{
    QList<TextLine> lines;
    qsizetype pos = 0;
    while (pos < bytes.size() && (max < 0 || lines.size() < max)) {
        lines.append(lineAt(bytes, pos, ends));
        pos = lines.back().next;
    }
    return lines;
}
