#include "platform/richtext/richlayout.h"

namespace rich {

namespace {

bool isBlank(const QString& text, int position)
{
    return position < text.size() && text.at(position) == QLatin1Char(' ');
}

// Where a line that overflows at position overflow is broken: right after the last
// blank at or before the overflow that is followed by a non-blank (the line's end
// counts as a non-blank), or at the overflowing character when there is none. The
// search only runs when at least two characters came before the overflow.
int breakPosition(const QString& text, int overflow)
{
    if (overflow > 1) {
        for (int j = overflow; j >= 1; --j) {
            if (isBlank(text, j - 1) && !isBlank(text, j))
                return j;
        }
    }
    return overflow;
}

// Length of the first character of text: 2 for a surrogate pair, else 1.
int firstCharacterLength(const QString& text)
{
    if (text.size() > 1 && text.at(0).isHighSurrogate() && text.at(1).isLowSurrogate())
        return 2;
    return 1;
}

} // namespace

int MeasureLineWidth(RenderTarget& target, const RichDocument& doc, int line)
{
    if (line < 0 || line >= doc.lineCount())
        return 0;
    const RichLine& l = doc.lines().at(line);
    const std::vector<DeviceFont*> fonts = target.glyphs().fontsOf(doc);
    int width = 0;
    const qsizetype n = l.text.size();
    for (qsizetype k = 0; k < n; ++k)
        width += fonts[l.formats.at(k)]->advanceAt(l.text, k);
    return width + kLineEndWidth;
}

int WrapText(RenderTarget& target, RichDocument& doc, int maxWidth, int fromLine,
             PrinterStatus printer)
{
    if (printer == PrinterStatus::Missing || doc.isEmpty() || fromLine < -1
        || fromLine >= doc.lineCount())
        return 0;
    const int selectionStart = doc.selectionStart();
    const std::vector<DeviceFont*> fonts = target.glyphs().fontsOf(doc);
    quint16 current = doc.defaultFormatId();
    int total = 0;

    // The line count grows while wrapping: every break adds the line measured next.
    for (int lineIndex = qMax(0, fromLine); lineIndex < doc.lineCount(); ++lineIndex) {
        const RichLine& line = std::as_const(doc).lines().at(lineIndex);
        const int n = int(line.text.size());
        int height = 0;
        if (n == 0) {
            height = fonts[current]->height();
        } else {
            int width = 0;
            for (int k = 0; k <= n; ++k) {
                const quint16 id = k < n ? line.formats.at(k) : line.endFormat;
                DeviceFont& font = *fonts[id];
                width += k < n ? font.advanceAt(line.text, k) : kLineEndWidth;
                height = qMax(height, font.height());
                current = id;
                if (width <= maxWidth)
                    continue;
                int cut = breakPosition(line.text, k);
                // A break at the line's start would leave the next line the same text,
                // broken the same way again without end.
                if (cut == 0)
                    cut = firstCharacterLength(line.text);
                if (cut < n)
                    doc.splitLine(lineIndex, cut); // invalidates line; leave at once
                break;
            }
        }
        total += height;
    }

    doc.setSelection(selectionStart, 0);
    return total;
}

} // namespace rich
