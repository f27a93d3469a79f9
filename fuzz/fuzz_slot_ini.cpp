// The colour settings file read from any bytes, onto any colours:
// - nothing crashes;
// - reading is a function of the file and the colours it starts from, and
//   reading the same file again changes nothing more;
// - the file the game writes for any colours reads back as those colours;
// - a line changes only its own colour: the colours of lines the file does
//   not have stay.

#include "settings/slot_ini.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

bool operator==(const TableColours &a, const TableColours &b)
{
    return a.table == b.table && a.frame == b.frame && a.line == b.line;
}

int lineCount(const QByteArray &f)
{
    int n = 0;
    qsizetype pos = 0;
    while (pos < f.size() && n < 3) {
        // A line ends at CR LF or CR; a lone LF is part of its line.
        while (pos < f.size() && f[pos] != '\r')
            ++pos;
        if (pos < f.size())
            ++pos;
        if (pos < f.size() && f[pos] == '\n')
            ++pos;
        ++n;
    }
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    TableColours start;
    start.table = in.ConsumeIntegral<qint32>();
    start.frame = in.ConsumeIntegral<qint32>();
    start.line = in.ConsumeIntegral<qint32>();
    const auto bytes = QByteArray::fromStdString(in.ConsumeRemainingBytesAsString());

    TableColours once = start;
    applySlotIni(bytes, once);
    TableColours again = start;
    applySlotIni(bytes, again);
    if (!(once == again))
        fail("the same file read twice gave different colours");
    TableColours twice = once;
    applySlotIni(bytes, twice);
    if (!(twice == once))
        fail("reading the file a second time changed the colours again");

    const int lines = lineCount(bytes);
    if ((lines < 1 && once.table != start.table) || (lines < 2 && once.frame != start.frame)
        || (lines < 3 && once.line != start.line))
        fail("a colour changed without a line of its own");

    TableColours back;
    back.table = ~start.table;
    back.frame = ~start.frame;
    back.line = ~start.line;
    applySlotIni(formatSlotIni(start), back);
    if (!(back == start))
        fail("the written file does not read back");
    return 0;
}
