#include "ranking/profile_file.h"

#include "settings/ansi.h"
#include "settings/text_lines.h"

#include <QByteArrayView>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView v)
{
    while (!v.isEmpty() && isBlank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && isBlank(v.back()))
        v.chop(1);
    return v;
}

char foldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Name comparison. A trail byte can be an ASCII letter (0x83 0x41 is a
// katakana, 0x83 0x61 another), so double-byte characters compare exactly.
bool sameName(QByteArrayView a, QByteArrayView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size();) {
        const qsizetype n = ansiCharLength(a, i);
        if (n == 2) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1])
                return false;
        } else if (foldAscii(a[i]) != foldAscii(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

// Position of the first ']' standing as a character of its own (not as the
// second byte of a double-byte character), or -1.
qsizetype findCloseBracket(QByteArrayView v)
{
    for (qsizetype i = 0; i < v.size(); i += ansiCharLength(v, i)) {
        if (v[i] == ']')
            return i;
    }
    return -1;
}

bool hasLineBreak(QByteArrayView v)
{
    return v.contains('\r') || v.contains('\n');
}

using Line = TextLine;

// The lines of a file, one after the other. The empty text after the last
// line end is no line.
class LineReader {
public:
    explicit LineReader(QByteArrayView file) : m_file(file) {}

    bool next(Line &line)
    {
        if (m_pos >= m_file.size())
            return false;
        line = lineAt(m_file, m_pos, LineEnds::CrLfLfOrCr);
        m_pos = line.next;
        return true;
    }

private:
    QByteArrayView m_file;
    qsizetype m_pos = 0;
};

enum class Kind { Blank, Comment, Header, Key, Other };

struct Entry {
    Kind kind = Kind::Blank;
    QByteArrayView name;       // section name of a header, key name of a key line
    QByteArrayView value;      // value of a key line, trimmed
    qsizetype valueBegin = 0;  // file position just after the '=' of a key line
};

Entry entry(Kind kind, QByteArrayView name = {}, QByteArrayView value = {},
            qsizetype valueBegin = 0)
{
    Entry e;
    e.kind = kind;
    e.name = name;
    e.value = value;
    e.valueBegin = valueBegin;
    return e;
}

Entry classify(QByteArrayView file, const Line &line)
{
    const QByteArrayView text = file.sliced(line.begin, line.end - line.begin);
    const QByteArrayView t = trimmed(text);
    if (t.isEmpty())
        return entry(Kind::Blank);
    if (t.front() == ';')
        return entry(Kind::Comment);
    if (t.front() == '[') {
        QByteArrayView inner = t.sliced(1);
        const qsizetype close = findCloseBracket(inner);
        if (close >= 0)
            inner = inner.first(close);
        return entry(Kind::Header, trimmed(inner));
    }
    // '=' (0x3D) is never the second byte of a double-byte character.
    const qsizetype eq = text.indexOf('=');
    if (eq < 0)
        return entry(Kind::Other);
    return entry(Kind::Key, trimmed(text.first(eq)), trimmed(text.sliced(eq + 1)),
                 line.begin + eq + 1);
}

struct Place {
    bool section = false; // the section exists
    Line lastLine;        // its header or its last line that is neither blank nor a comment
    bool key = false;     // the key exists in it
    Line keyLine;
    Entry keyEntry;
};

// Where key of section stands in file, or would go.
Place locate(QByteArrayView file, QByteArrayView section, QByteArrayView key)
{
    Place place;
    LineReader lines(file);
    Line line;
    while (lines.next(line)) {
        const Entry e = classify(file, line);
        if (!place.section) {
            if (e.kind == Kind::Header && sameName(e.name, section)) {
                place.section = true;
                place.lastLine = line;
            }
            continue;
        }
        if (e.kind == Kind::Header)
            break; // later sections of the same name are never seen
        if (e.kind == Kind::Key && sameName(e.name, key)) {
            place.key = true;
            place.keyLine = line;
            place.keyEntry = e;
            break;
        }
        if (e.kind == Kind::Key || e.kind == Kind::Other)
            place.lastLine = line;
    }
    return place;
}

QByteArrayView unquoted(QByteArrayView v)
{
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.sliced(1, v.size() - 2);
    return v;
}

// At most kProfileValueMax bytes of v, ending on a character boundary.
QByteArrayView cutToLimit(QByteArrayView v)
{
    if (v.size() <= kProfileValueMax)
        return v;
    qsizetype n = 0;
    while (n < v.size()) {
        const qsizetype len = ansiCharLength(v, n);
        if (n + len > kProfileValueMax)
            break;
        n += len;
    }
    return v.first(n);
}

// True when the last character of v is a lead byte without its trail byte:
// written as "[v]", it would take the closing ']' as its trail byte.
bool endsInLoneLeadByte(QByteArrayView v)
{
    qsizetype i = 0, last = -1;
    while (i < v.size()) {
        last = i;
        i += ansiCharLength(v, i);
    }
    return last >= 0 && i - last == 1 && isAnsiLeadByte(uchar(v[last]));
}

bool isWritableSection(QByteArrayView s)
{
    return !s.isEmpty() && !hasLineBreak(s) && findCloseBracket(s) < 0 && !endsInLoneLeadByte(s);
}

bool isWritableKey(QByteArrayView k)
{
    return !k.isEmpty() && !hasLineBreak(k) && !k.contains('=') && k.front() != ';'
        && k.front() != '[';
}

} // namespace

QByteArray profileRead(const QByteArray &file, const QByteArray &section, const QByteArray &key,
                       const QByteArray &def)
{
    QByteArrayView result = def;
    while (!result.isEmpty() && isBlank(result.back()))
        result.chop(1);
    const QByteArrayView s = trimmed(section);
    const QByteArrayView k = trimmed(key);
    if (!s.isEmpty() && !k.isEmpty()) {
        const Place place = locate(file, s, k);
        if (place.key)
            result = unquoted(place.keyEntry.value);
    }
    return cutToLimit(result).toByteArray();
}

QByteArray profileWrite(const QByteArray &file, const QByteArray &section, const QByteArray &key,
                        const QByteArray &value)
{
    const QByteArrayView s = trimmed(section);
    const QByteArrayView k = trimmed(key);
    if (!isWritableSection(s) || !isWritableKey(k))
        return file;
    QByteArrayView v = value;
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == '\r' || v[i] == '\n') {
            v.truncate(i);
            break;
        }
    }

    const Place place = locate(file, s, k);
    const QByteArrayView all = file;
    QByteArray out;
    if (place.key) {
        const qsizetype at = place.keyEntry.valueBegin;
        const qsizetype after = place.keyLine.end;
        out.reserve(file.size() - (after - at) + v.size());
        out.append(all.first(at)).append(v).append(all.sliced(after));
        return out;
    }

    QByteArray keyLine;
    keyLine.append(k).append('=').append(v).append("\r\n");
    if (place.section) {
        const Line &last = place.lastLine;
        out.reserve(file.size() + keyLine.size() + 2);
        out.append(all.first(last.next));
        if (last.next == last.end) // the file's last line, without a line end
            out.append("\r\n");
        out.append(keyLine).append(all.sliced(last.next));
        return out;
    }

    out = file;
    if (!out.isEmpty() && !out.endsWith('\r') && !out.endsWith('\n'))
        out.append("\r\n");
    out.append('[').append(s).append("]\r\n").append(keyLine);
    return out;
}
