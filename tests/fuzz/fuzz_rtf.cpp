// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target for the RTF reader and writer.
//
// Any input must read without crashing, hanging or growing without bound; whatever it
// yields must write as RTF that reads back complete, with the same text and formats,
// and writes the same bytes again.

#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_rtf: %s\n", what);
        std::abort();
    }
}

bool sameContent(const rich::RichDocument& a, const rich::RichDocument& b)
{
    if (a.lineCount() != b.lineCount())
        return false;
    if (a.isEmpty())
        return a.defaultFormat() == b.defaultFormat();
    for (int i = 0; i < a.lineCount(); ++i) {
        const rich::RichLine& x = a.lines().at(i);
        const rich::RichLine& y = b.lines().at(i);
        if (x.text != y.text || x.formats.size() != y.formats.size())
            return false;
        if (!(a.format(x.endFormat) == b.format(y.endFormat)))
            return false;
        for (qsizetype k = 0; k < x.formats.size(); ++k) {
            if (!(a.format(x.formats[k]) == b.format(y.formats[k])))
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    rich::RichDocument doc;
    rich::readRtf(input, doc);

    const QByteArray written = rich::writeRtf(doc);
    rich::RichDocument again;
    QString error;
    check(rich::readRtf(written, again, &error), "written RTF does not read back complete");
    check(again.plainText() == doc.plainText(), "text changed in a write and read");
    check(sameContent(doc, again), "formats changed in a write and read");
    check(rich::writeRtf(again) == written, "second write differs from the first");
    return 0;
}
