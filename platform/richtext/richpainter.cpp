// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/richpainter.h"

#include "platform/richtext/richlayout.h"

#include <QGlyphRun>
#include <QPainter>

namespace rich {

namespace {

constexpr char32_t kBallotBox = U'\u2610';

// Collects the characters of one format on one line into a glyph run placed at our
// own advances, and draws it in one call; characters the format's face lacks are
// drawn one by one through Qt's font substitution. Decorations are drawn here too,
// across exactly the advances of the run, so they meet from run to run.
class RunPainter {
public:
    RunPainter(QPainter& painter, const RichDocument& doc, QPoint offset)
        : m_painter(painter), m_doc(doc), m_offset(offset)
    {
    }

    void start(quint16 formatId, DeviceFont* font, int x, int top)
    {
        m_formatId = formatId;
        m_font = font;
        m_startX = x;
        m_baseline = top + font->ascent();
        m_cellBottom = top + font->height();
        m_color = QColor::fromRgba(m_doc.format(formatId).color);
        m_glyphs.clear();
        m_positions.clear();
    }

    bool isFormat(quint16 formatId) const { return m_font && m_formatId == formatId; }

    void add(char32_t codePoint, int x, int width)
    {
        if (DeviceFont::isInvisible(codePoint))
            return;
        const quint32 glyph = m_font->glyph(codePoint);
        if (glyph != 0) {
            m_glyphs.append(glyph);
            m_positions.append(QPointF(x - m_startX, 0));
            return;
        }
        if (codePoint == kBallotBox) {
            drawBox(x, width);
            return;
        }
        // Not in the face: let Qt find a font that has it.
        m_painter.setFont(m_font->font());
        m_painter.setPen(m_color);
        m_painter.drawText(QPointF(x + m_offset.x(), m_baseline + m_offset.y()),
                           QString::fromUcs4(&codePoint, 1));
    }

    void finish(int endX)
    {
        if (!m_font)
            return;
        if (!m_glyphs.isEmpty()) {
            QGlyphRun run;
            run.setRawFont(m_font->rawFont());
            run.setGlyphIndexes(m_glyphs);
            run.setPositions(m_positions);
            m_painter.setPen(m_color);
            m_painter.drawGlyphRun(QPointF(m_startX + m_offset.x(), m_baseline + m_offset.y()),
                                   run);
        }
        const quint8 style = m_doc.format(m_formatId).style;
        if (style & (Underline | StrikeOut) && endX > m_startX) {
            const int thickness = m_font->lineWidth();
            if (style & Underline) {
                // Kept inside the text cell, so a line's ink stays within its height.
                const int top = qMin(m_baseline + m_font->underlinePos(), m_cellBottom - thickness);
                fillBar(top, endX, thickness);
            }
            if (style & StrikeOut)
                fillBar(m_baseline - m_font->strikeOutPos(), endX, thickness);
        }
        m_font = nullptr;
    }

private:
    // A box to tick (a shopping list's) in a face without one: an empty square standing
    // on the baseline, as high as a digit and centred in the character's advance, in
    // the face's line width, so it looks the same on every machine.
    void drawBox(int x, int width)
    {
        const int thickness = m_font->lineWidth();
        const int side = qMax(3 * thickness, qMin(width - 2 * thickness, m_font->ascent() * 3 / 4));
        const int left = x + (width - side) / 2 + m_offset.x();
        const int top = m_baseline - side + m_offset.y();
        for (const QRect& bar : {QRect(left, top, side, thickness),
                                 QRect(left, top + side - thickness, side, thickness),
                                 QRect(left, top, thickness, side),
                                 QRect(left + side - thickness, top, thickness, side)})
            m_painter.fillRect(bar, m_color);
    }

    void fillBar(int top, int endX, int thickness)
    {
        m_painter.fillRect(
            QRect(m_startX + m_offset.x(), top + m_offset.y(), endX - m_startX, thickness),
            m_color);
    }

    QPainter& m_painter;
    const RichDocument& m_doc;
    const QPoint m_offset;
    quint16 m_formatId = 0;
    DeviceFont* m_font = nullptr;
    int m_startX = 0;
    int m_baseline = 0;
    int m_cellBottom = 0;
    QColor m_color;
    QList<quint32> m_glyphs;
    QList<QPointF> m_positions;
};

} // namespace

void DrawRichText(RenderTarget& target, QPainter& painter, int& x, int& y, RichDocument& doc,
                  QPoint printerOffset)
{
    if (doc.isEmpty())
        return;
    Q_ASSERT(!painter.isActive() || painter.device()->logicalDpiY() == target.dpiY());
    const bool printer = target.isPrinter();
    const bool paint = painter.isActive();
    GlyphCache::FormatFonts fonts = target.glyphs().fontsOf(doc);
    const int startX = x;

    if (paint)
        painter.save();
    RunPainter runs(painter, doc, printer ? printerOffset : QPoint());
    for (int lineIndex = 0; lineIndex < doc.lineCount(); ++lineIndex) {
        if (printer && doc.lines().at(lineIndex).text.isEmpty()) {
            RichLine& empty = doc.lines()[lineIndex];
            empty.text = QStringLiteral(" ");
            empty.formats = {empty.endFormat};
        }
        const RichLine& line = std::as_const(doc).lines().at(lineIndex);
        const qsizetype n = line.text.size();
        x = startX;
        int height = 0;
        for (qsizetype k = 0; k < n; ++k) {
            const quint16 id = line.formats.at(k);
            DeviceFont* font = &fonts[id];
            const int width = font->advanceAt(line.text, k);
            height = qMax(height, font->height());
            const QChar c = line.text.at(k);
            char32_t codePoint = c.unicode();
            if (c.isHighSurrogate() && k + 1 < n && line.text.at(k + 1).isLowSurrogate())
                codePoint = QChar::surrogateToUcs4(c, line.text.at(k + 1));
            else if (c.isLowSurrogate() && k > 0 && line.text.at(k - 1).isHighSurrogate())
                continue; // drawn with its first half
            if (paint) {
                if (!runs.isFormat(id)) {
                    runs.finish(x);
                    runs.start(id, font, x, y);
                }
                runs.add(codePoint, x, width);
            }
            x += width;
        }
        if (paint)
            runs.finish(x);
        height = qMax(height, fonts[line.endFormat].height());
        x += kLineEndWidth;
        y += height;
    }
    if (paint)
        painter.restore();
}

} // namespace rich
