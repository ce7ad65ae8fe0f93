// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/richlayout.h"

#include <atomic>

namespace rich {

namespace {

bool isBlank(const QString& text, int position)
{
    return position < text.size() && text.at(position) == QLatin1Char(' ');
}

// Where the part of a line that starts at start and overflows at position overflow is
// broken: right after the last blank at or before the overflow that is followed by a
// non-blank (the line's end counts as a non-blank), or at the overflowing character
// when there is none. The search only runs when at least two characters of the part
// came before the overflow.
int breakPosition(const QString& text, int start, int overflow)
{
    if (overflow - start > 1) {
        for (int j = overflow; j >= start + 1; --j) {
            if (isBlank(text, j - 1) && !isBlank(text, j))
                return j;
        }
    }
    return overflow;
}

// Length of the character at position: 2 for a surrogate pair, else 1.
int characterLength(const QString& text, int position)
{
    if (position + 1 < text.size() && text.at(position).isHighSurrogate() &&
        text.at(position + 1).isLowSurrogate())
        return 2;
    return 1;
}

std::atomic<quint64> g_layoutPasses{0};

} // namespace

quint64 layoutPasses()
{
    return g_layoutPasses.load(std::memory_order_relaxed);
}

int MeasureLineWidth(RenderTarget& target, const RichDocument& doc, int line)
{
    g_layoutPasses.fetch_add(1, std::memory_order_relaxed);
    if (line < 0 || line >= doc.lineCount())
        return 0;
    const RichLine& l = doc.lines().at(line);
    GlyphCache::FormatFonts fonts = target.glyphs().fontsOf(doc);
    int width = 0;
    const qsizetype n = l.text.size();
    for (qsizetype k = 0; k < n; ++k)
        width += fonts[l.formats.at(k)].advanceAt(l.text, k);
    return width + kLineEndWidth;
}

int WrapText(RenderTarget& target, RichDocument& doc, int maxWidth, int fromLine,
             PrinterStatus printer)
{
    g_layoutPasses.fetch_add(1, std::memory_order_relaxed);
    if (printer == PrinterStatus::Missing || doc.isEmpty() || fromLine < -1 ||
        fromLine >= doc.lineCount())
        return 0;
    const int selectionStart = doc.selectionStart();
    GlyphCache::FormatFonts fonts = target.glyphs().fontsOf(doc);
    quint16 current = doc.defaultFormatId();
    int total = 0;
    QList<int> breaks;

    for (int lineIndex = qMax(0, fromLine); lineIndex < doc.lineCount(); ++lineIndex) {
        const RichLine& line = std::as_const(doc).lines().at(lineIndex);
        const int n = int(line.text.size());
        if (n == 0) {
            total += fonts[current].height();
            continue;
        }
        // The part after a break is the next line, measured next. Measuring it within
        // the unbroken line is the same, and the line is split once at the end rather
        // than copied again at every break.
        breaks.clear();
        int start = 0;
        bool broken = true;
        while (broken) {
            broken = false;
            int width = 0;
            int height = 0;
            for (int k = start; k <= n; ++k) {
                const quint16 id = k < n ? line.formats.at(k) : line.endFormat;
                DeviceFont& font = fonts[id];
                width += k < n ? font.advanceAt(line.text, k) : kLineEndWidth;
                height = qMax(height, font.height());
                current = id;
                if (width <= maxWidth)
                    continue;
                int cut = breakPosition(line.text, start, k);
                // A break at the part's start would leave the next line the same text,
                // broken the same way again without end.
                if (cut == start)
                    cut = start + characterLength(line.text, start);
                if (cut < n) {
                    breaks.append(cut);
                    start = cut;
                    broken = true;
                }
                break;
            }
            total += height;
        }
        if (!breaks.isEmpty()) {
            doc.splitLineAtColumns(lineIndex, breaks); // invalidates line
            lineIndex += int(breaks.size());
        }
    }

    doc.setSelection(selectionStart, 0);
    return total;
}

} // namespace rich
