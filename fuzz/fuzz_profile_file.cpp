// The ranking file's reader and writer on any bytes a disk or a hand edit
// can produce, with any section, key and value:
// - nothing crashes, and a read never gives more than 319 bytes;
// - a write of names that can be written reads back the value, as a reader
//   sees it: cut at its first line break, trimmed of blanks, one pair of
//   wrapping quotes removed, at most 319 bytes without splitting a
//   double-byte character;
// - a write changes nothing else: every other section keeps every byte,
//   every other key of the file reads as before, the file only grows by the
//   lines of one key and one header, and writing the same again changes
//   nothing.

#include "ranking/profile_file.h"
#include "settings/ansi.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QByteArray>
#include <QList>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

QByteArray trimmedBlanks(QByteArray v)
{
    qsizetype b = 0, e = v.size();
    while (b < e && isBlank(v[b]))
        ++b;
    while (e > b && isBlank(v[e - 1]))
        --e;
    return v.mid(b, e - b);
}

// ASCII letters folded; a little wider than the reader's own rule, which
// keeps double-byte characters exact. Used only to skip checks, so being
// wider never hides a fault in the pairs that are checked.
QByteArray folded(const QByteArray &v)
{
    return trimmedBlanks(v).toLower();
}

qsizetype lineCount(const QByteArray &f)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < f.size(); ++i) {
        if (f[i] == '\n' || (f[i] == '\r' && (i + 1 >= f.size() || f[i + 1] != '\n')))
            ++n;
    }
    return n + ((!f.isEmpty() && f.back() != '\n' && f.back() != '\r') ? 1 : 0);
}

// Every (section, key) the file holds, as plain text parsing sees them:
// "[name]" headers and "key=value" lines. Some lines the reader treats
// otherwise are taken too; reading such a pair before and after a write
// must still agree.
QList<std::pair<QByteArray, QByteArray>> pairsOf(const QByteArray &file)
{
    QList<std::pair<QByteArray, QByteArray>> pairs;
    QByteArray section;
    for (const QByteArray &raw : file.split('\n')) {
        QByteArray line = raw;
        if (line.endsWith('\r'))
            line.chop(1);
        const QByteArray t = trimmedBlanks(line);
        if (t.startsWith('[')) {
            const qsizetype close = t.indexOf(']');
            section = trimmedBlanks(close > 0 ? t.mid(1, close - 1) : t.mid(1));
        } else if (const qsizetype eq = line.indexOf('='); eq > 0 && !section.isEmpty()) {
            pairs.append({section, trimmedBlanks(line.left(eq))});
        }
        if (pairs.size() >= 64)
            break;
    }
    return pairs;
}

struct Block {
    QByteArray name; // folded section name; empty for the lines before the first header
    QByteArray bytes;
};

// The file cut into sections: each header line with the lines after it up
// to the next header, the lines before the first header as a block of
// their own. A header is a line whose first non-blank byte is '['; its name
// runs to the first ']' that is a character of its own.
QList<Block> blocksOf(const QByteArray &file)
{
    QList<Block> blocks{Block{}};
    qsizetype pos = 0;
    while (pos < file.size()) {
        qsizetype end = pos;
        while (end < file.size() && file[end] != '\r' && file[end] != '\n')
            ++end;
        qsizetype next = end;
        if (next < file.size() && file[next] == '\r')
            ++next;
        if (next < file.size() && file[next] == '\n')
            ++next;
        const QByteArray text = trimmedBlanks(file.mid(pos, end - pos));
        if (text.startsWith('[')) {
            qsizetype i = 1;
            while (i < text.size() && text[i] != ']')
                i += ansiCharLength(text, i);
            blocks.append(Block{folded(text.mid(1, i - 1)), {}});
        }
        blocks.back().bytes += file.mid(pos, next - pos);
        pos = next;
    }
    return blocks;
}

// Sections other than the one written keep every byte: the same sections
// in the same order, only the written section's may differ, and at most one
// new section at the end (after a line end closing the old last line).
void checkOtherSectionsUntouched(const QByteArray &file, const QByteArray &written, const QByteArray &section)
{
    const QList<Block> before = blocksOf(file), after = blocksOf(written);
    const QByteArray target = folded(section);
    if (after.size() != before.size() && after.size() != before.size() + 1)
        fail("a write added or removed sections");
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (after[i].name != before[i].name)
            fail("a write renamed or moved a section");
        if (before[i].name == target && i > 0)
            continue;
        QByteArray expected = before[i].bytes;
        if (i == before.size() - 1 && after.size() > before.size() && !expected.isEmpty()
            && !expected.endsWith('\n') && !expected.endsWith('\r'))
            expected += "\r\n";
        if (after[i].bytes != expected)
            fail("a write changed a section it was not writing to");
    }
    if (after.size() > before.size() && after.back().name != target)
        fail("a write appended a section other than its own");
}

// What a reader gives back for a value written as v.
QByteArray expectedReadBack(const QByteArray &v)
{
    QByteArray r = v;
    for (qsizetype i = 0; i < r.size(); ++i) {
        if (r[i] == '\r' || r[i] == '\n') {
            r.truncate(i);
            break;
        }
    }
    r = trimmedBlanks(r);
    if (r.size() >= 2 && (r.front() == '"' || r.front() == '\'') && r.back() == r.front())
        r = r.mid(1, r.size() - 2);
    return r;
}

void checkCut(const QByteArray &got, const QByteArray &full)
{
    if (full.size() <= kProfileValueMax) {
        if (got != full)
            fail("written value does not read back");
        return;
    }
    if (!full.startsWith(got) || got.size() > kProfileValueMax || got.size() < kProfileValueMax - 1)
        fail("long value not cut to 319 bytes");
    // The cut falls on a character boundary.
    qsizetype i = 0;
    while (i < got.size())
        i += ansiCharLength(full, i);
    if (i != got.size())
        fail("long value cut inside a double-byte character");
}

bool writableNames(const QByteArray &section, const QByteArray &key)
{
    const QByteArray s = trimmedBlanks(section), k = trimmedBlanks(key);
    auto lineBreak = [](const QByteArray &v) { return v.contains('\r') || v.contains('\n'); };
    if (s.isEmpty() || k.isEmpty() || lineBreak(s) || lineBreak(k) || s.contains(']') || k.contains('=')
        || k.front() == ';' || k.front() == '[')
        return false;
    // A section ending in a lead byte without its trail byte would take the
    // header's ']' for its trail byte.
    qsizetype i = 0, last = 0;
    while (i < s.size()) {
        last = i;
        i += ansiCharLength(s, i);
    }
    return !(i - last == 1 && isAnsiLeadByte(uchar(s[last])));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const auto section = QByteArray::fromStdString(in.ConsumeRandomLengthString(40));
    const auto key = QByteArray::fromStdString(in.ConsumeRandomLengthString(40));
    const auto value = QByteArray::fromStdString(in.ConsumeRandomLengthString(400));
    const auto file = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    const QByteArray before = profileRead(file, section, key, "default");
    if (before.size() > kProfileValueMax)
        fail("read longer than 319 bytes");

    const QByteArray written = profileWrite(file, section, key, value);
    const bool writable = writableNames(section, key);
    if (!writable) {
        // Names that cannot be read back as given leave the file alone; the
        // rule for ']' depends on double-byte characters, so a ']' byte
        // proves nothing either way.
        if (written != file && !trimmedBlanks(section).contains(']'))
            fail("unwritable names changed the file");
        return 0;
    }

    checkCut(profileRead(written, section, key, "default"), expectedReadBack(value));

    // Writing the same again changes nothing.
    if (profileWrite(written, section, key, value) != written)
        fail("second identical write changed the file");

    // At most a header and a key line (and a line end closing the old last
    // line) are added.
    const qsizetype added = lineCount(written) - lineCount(file);
    if (added < 0 || added > 2)
        fail("a write added or removed more lines than one key and one header");

    checkOtherSectionsUntouched(file, written, section);

    // Every other key reads as before.
    const QByteArray s = folded(section), k = folded(key);
    for (const auto &[sec, name] : pairsOf(file)) {
        if (folded(sec) == s && folded(name) == k)
            continue;
        if (profileRead(file, sec, name, "-") != profileRead(written, sec, name, "-"))
            fail("a write changed another key");
    }
    return 0;
}
