// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The document model of formatted recipe texts, as a rich edit control holds them:
// lines (paragraphs) of characters, each character with its own attributes, and a
// selection counted over the whole text with one position per line break.

namespace rich {

enum FontStyle : quint8 {
    Bold = 0x01,
    Italic = 0x02,
    Underline = 0x04,
    StrikeOut = 0x08,
};

enum class Pitch : quint8 {
    Default = 0,
    Fixed = 1,
    Variable = 2,
};

/// Character attributes.
struct CharFormat {
    QString fontName = QStringLiteral("Arial");
    int halfPoints = 20; ///< size in half points (RTF's unit); 20 = 10 pt
    int heightPx = 13;   ///< character height in pixels at 96 dpi
    quint8 style = 0;    ///< FontStyle flags
    QRgb color = 0xff000000;
    Pitch pitch = Pitch::Default;
    quint8 charset = 0; ///< Windows character set (0 ANSI, 2 symbol, ...)

    double pointSize() const { return halfPoints / 2.0; }
    /// Sets the size and the matching 96-dpi pixel height.
    void setPointSize(double points);
    bool operator==(const CharFormat& other) const = default;
};

size_t qHash(const CharFormat& format, size_t seed = 0);

/// Pixel height of a font size at 96 dpi, rounded as the platform rounds it.
int heightForHalfPoints(int halfPoints);

/// One line (paragraph). formats has one entry per character of text: an index into
/// the document's format table. endFormat is the format of the line's end mark.
struct RichLine {
    QString text;
    QList<quint16> formats;
    quint16 endFormat = 0;
};

/// A formatted text.
class RichDocument {
public:
    RichDocument();

    /// Format table; entry 0 always exists. Formats are interned: equal formats share
    /// one index.
    const QList<CharFormat>& formats() const { return m_formats; }
    const CharFormat& format(int id) const { return m_formats.at(id); }
    /// Index of format in the table, added when new.
    quint16 intern(const CharFormat& format);

    /// Attributes new text takes when nothing else says (the control's defaults).
    const CharFormat& defaultFormat() const { return m_formats.at(m_defaultId); }
    quint16 defaultFormatId() const { return m_defaultId; }
    void setDefaultFormat(const CharFormat& format);

    QList<RichLine>& lines() { return m_lines; }
    const QList<RichLine>& lines() const { return m_lines; }
    int lineCount() const { return int(m_lines.size()); }
    bool isEmpty() const { return m_lines.isEmpty(); }
    void clear();

    /// Appends a line of text in one format.
    void appendLine(const QString& text, quint16 formatId);
    void appendLine(const QString& text) { appendLine(text, m_defaultId); }

    /// The text with lines joined by "\n".
    QString plainText() const;
    /// The text as plain lines.
    QStringList plainLines() const;
    /// Length of the whole text as a rich edit counts it: every line break is one
    /// position, the last line has none.
    int textLength() const;
    /// Position of the first character of a line in whole-text counting.
    int lineStart(int line) const;
    /// Line holding a whole-text position (the line break belongs to its line).
    int lineOfPosition(int position) const;

    /// Format id of the character at a whole-text position; a line break position
    /// gives its line's endFormat. Past the end: the last line's endFormat, or the
    /// default for an empty document.
    quint16 formatIdAt(int position) const;
    const CharFormat& formatAt(int position) const { return format(formatIdAt(position)); }

    /// Splits a line at column: the rest becomes a new line right after it, with the
    /// same end format; the first part's end mark takes the format of the character at
    /// the split (or the line's end format when splitting at its end).
    void splitLine(int line, int column);
    /// Splits a line at several ascending columns at once: the same lines as splitLine
    /// at each column from the last to the first, but the text is copied only once.
    void splitLineAtColumns(int line, const QList<int>& columns);

    /// Selection in whole-text positions, clamped to the text.
    int selectionStart() const { return m_selStart; }
    int selectionLength() const { return m_selLength; }
    void setSelection(int start, int length);
    void selectAll() { setSelection(0, textLength()); }
    /// Attributes of the selection: those of its first character (or of the position
    /// before the caret when it is empty).
    CharFormat selectionFormat() const;
    /// Changes the characters of the selection through fn, which edits a copy of each
    /// character's format. With an empty selection the default format changes.
    template <typename Fn> void changeSelectionFormat(Fn fn);

private:
    void forEachSelectedId(const std::function<quint16(quint16)>& map);

    QList<CharFormat> m_formats;
    QHash<CharFormat, quint16> m_formatIds; // m_formats by content, for intern()
    quint16 m_defaultId = 0;
    QList<RichLine> m_lines;
    int m_selStart = 0;
    int m_selLength = 0;
};

template <typename Fn> void RichDocument::changeSelectionFormat(Fn fn)
{
    forEachSelectedId([this, &fn](quint16 id) {
        CharFormat f = m_formats.at(id);
        fn(f);
        return intern(f);
    });
}

} // namespace rich
