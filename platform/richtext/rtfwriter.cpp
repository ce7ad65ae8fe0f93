// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/richtext/rtfwriter.h"

#include "platform/cp1252.h"
#include "platform/richtext/rtfsyntax.h"
#include "platform/safefile.h"

#include <QHash>

namespace rich {
namespace {

// What one format of the document becomes in the output.
struct OutFormat {
    int font = -1;
    int halfPoints = -1;
    quint8 style = 0;
    int color = 0;
    bool ansi = true; // the font's 8-bit codes are Windows-1252
};

struct OutFont {
    QString name;
    Pitch pitch = Pitch::Default;
    quint8 charset = 0;
};

// Font family of the font table: RTF wants one, the document model keeps only the
// pitch, so well-known faces get their family and the rest is "nil".
const char* familyWord(const OutFont& font)
{
    static const QHash<QString, const char*> families = [] {
        QHash<QString, const char*> h;
        for (const char* name :
             {"arial", "helvetica", "verdana", "tahoma", "ms sans serif", "microsoft sans serif",
              "segoe ui", "calibri", "liberation sans", "dejavu sans", "trebuchet ms",
              "century gothic", "franklin gothic medium", "arial narrow", "arial black"})
            h.insert(QString::fromLatin1(name), "fswiss");
        for (const char* name :
             {"times new roman", "times", "georgia", "cambria", "liberation serif", "dejavu serif",
              "garamond", "book antiqua", "palatino linotype", "ms serif"})
            h.insert(QString::fromLatin1(name), "froman");
        for (const char* name : {"courier new", "courier", "consolas", "lucida console",
                                 "liberation mono", "dejavu sans mono"})
            h.insert(QString::fromLatin1(name), "fmodern");
        for (const char* name : {"comic sans ms", "script", "brush script mt", "segoe script"})
            h.insert(QString::fromLatin1(name), "fscript");
        for (const char* name : {"impact", "old english text mt"})
            h.insert(QString::fromLatin1(name), "fdecor");
        for (const char* name : {"symbol", "wingdings", "webdings", "marlett"})
            h.insert(QString::fromLatin1(name), "ftech");
        return h;
    }();
    if (font.pitch == Pitch::Fixed)
        return "fmodern";
    return families.value(font.name.toLower(), "fnil");
}

class RtfWriter {
public:
    explicit RtfWriter(const RichDocument& doc) : m_doc(doc) {}

    QByteArray write();

private:
    quint16 validId(quint16 id) const { return id < m_doc.formats().size() ? id : 0; }
    const OutFormat& outFormat(quint16 id);
    void collectTables();
    void writeHeader();
    void writeFormat(const OutFormat& to);
    void writeWord(const char* word);
    void writeWord(const char* word, int param);
    void writeChar(char16_t ch, bool ansi, bool inFontName = false);

    const RichDocument& m_doc;
    QList<int> m_outIndex; // format id -> index into m_out, -1 until first use
    QList<OutFormat> m_out;
    QList<OutFont> m_fonts;
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colors; // colour table entries after the automatic one
    QHash<QRgb, int> m_colorIndex;
    QByteArray m_bytes;
    OutFormat m_current;
    bool m_needDelimiter = false;
};

QByteArray RtfWriter::write()
{
    m_outIndex.fill(-1, m_doc.formats().size());
    collectTables();

    qsizetype chars = 0;
    for (const RichLine& line : m_doc.lines())
        chars += line.text.size() + 8;
    m_bytes.reserve(chars + 512);

    writeHeader();
    const QList<RichLine>& lines = m_doc.lines();
    if (lines.isEmpty()) {
        writeFormat(outFormat(validId(m_doc.defaultFormatId())));
        m_bytes.append("\\par\r\n");
    }
    for (const RichLine& line : lines) {
        const qsizetype n = line.text.size();
        for (qsizetype k = 0; k < n; ++k) {
            const quint16 id = validId(k < line.formats.size() ? line.formats[k] : line.endFormat);
            const OutFormat& f = outFormat(id);
            writeFormat(f);
            writeChar(line.text[k].unicode(), f.ansi);
        }
        writeFormat(outFormat(validId(line.endFormat)));
        m_bytes.append("\\par\r\n");
        m_needDelimiter = false;
    }
    m_bytes.append("}\r\n");
    return m_bytes;
}

const OutFormat& RtfWriter::outFormat(quint16 id)
{
    int& index = m_outIndex[id];
    if (index >= 0)
        return m_out.at(index);

    const CharFormat& f = m_doc.format(id);
    OutFont font;
    font.name = rtf::normalizedFontName(f.fontName);
    font.pitch = (f.pitch == Pitch::Fixed || f.pitch == Pitch::Variable) ? f.pitch : Pitch::Default;
    font.charset = f.charset;
    const QString key =
        font.name + QChar(u'\0') + QChar(char16_t(font.pitch)) + QChar(char16_t(font.charset));
    auto fit = m_fontIndex.constFind(key);
    if (fit == m_fontIndex.constEnd()) {
        fit = m_fontIndex.insert(key, int(m_fonts.size()));
        m_fonts.append(font);
    }

    OutFormat out;
    out.font = *fit;
    out.halfPoints = qBound(rtf::kMinHalfPoints, f.halfPoints, rtf::kMaxHalfPoints);
    out.style = f.style & (Bold | Italic | Underline | StrikeOut);
    out.ansi = rtf::isAnsiCharset(f.charset);
    const QRgb rgb = f.color & 0x00ffffff;
    if (rgb != 0) {
        auto cit = m_colorIndex.constFind(rgb);
        if (cit == m_colorIndex.constEnd()) {
            cit = m_colorIndex.insert(rgb, int(m_colors.size()) + 1);
            m_colors.append(rgb);
        }
        out.color = *cit;
    }
    index = int(m_out.size());
    m_out.append(out);
    return m_out.last();
}

// Fonts and colours are numbered in the order the text first uses them.
void RtfWriter::collectTables()
{
    const QList<RichLine>& lines = m_doc.lines();
    if (lines.isEmpty())
        outFormat(validId(m_doc.defaultFormatId()));
    for (const RichLine& line : lines) {
        quint16 last = 0xFFFF;
        for (quint16 id : line.formats) {
            if (id != last)
                outFormat(validId(id));
            last = id;
        }
        outFormat(validId(line.endFormat));
    }
}

void RtfWriter::writeHeader()
{
    m_bytes.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1031{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        const OutFont& font = m_fonts.at(i);
        m_bytes.append("{\\f").append(QByteArray::number(i));
        m_bytes.append('\\').append(familyWord(font));
        if (font.pitch != Pitch::Default)
            m_bytes.append("\\fprq").append(QByteArray::number(int(font.pitch)));
        m_bytes.append("\\fcharset").append(QByteArray::number(font.charset));
        m_needDelimiter = true;
        for (QChar ch : font.name)
            writeChar(ch.unicode(), rtf::isAnsiCharset(font.charset), true);
        m_bytes.append(";}");
    }
    m_bytes.append("}\r\n");
    if (!m_colors.isEmpty()) {
        m_bytes.append("{\\colortbl ;");
        for (QRgb rgb : std::as_const(m_colors)) {
            m_bytes.append("\\red").append(QByteArray::number(qRed(rgb)));
            m_bytes.append("\\green").append(QByteArray::number(qGreen(rgb)));
            m_bytes.append("\\blue").append(QByteArray::number(qBlue(rgb)));
            m_bytes.append(';');
        }
        m_bytes.append("}\r\n");
    }
    m_bytes.append("\\viewkind4\\uc1\\pard");
    m_needDelimiter = false;
}

// Writes the control words that turn the current attributes into to.
void RtfWriter::writeFormat(const OutFormat& to)
{
    if (to.color != m_current.color)
        writeWord("cf", to.color);
    const quint8 changed = to.style ^ m_current.style;
    if (changed & Bold)
        writeWord((to.style & Bold) ? "b" : "b0");
    if (changed & Italic)
        writeWord((to.style & Italic) ? "i" : "i0");
    if (changed & Underline)
        writeWord((to.style & Underline) ? "ul" : "ulnone");
    if (changed & StrikeOut)
        writeWord((to.style & StrikeOut) ? "strike" : "strike0");
    if (to.font != m_current.font)
        writeWord("f", to.font);
    if (to.halfPoints != m_current.halfPoints)
        writeWord("fs", to.halfPoints);
    m_current = to;
}

void RtfWriter::writeWord(const char* word)
{
    m_bytes.append('\\').append(word);
    m_needDelimiter = true;
}

void RtfWriter::writeWord(const char* word, int param)
{
    m_bytes.append('\\').append(word).append(QByteArray::number(param));
    m_needDelimiter = true;
}

void RtfWriter::writeChar(char16_t ch, bool ansi, bool inFontName)
{
    if (ch == u'\\' || ch == u'{' || ch == u'}') {
        m_bytes.append('\\').append(char(ch));
        m_needDelimiter = false;
        return;
    }
    if (ch == u'\t') {
        if (!inFontName)
            writeWord("tab");
        return;
    }
    if (rtf::isDroppedChar(ch))
        return;
    if (ch < 0x80 && !(inFontName && ch == u';')) {
        if (m_needDelimiter)
            m_bytes.append(' ');
        m_bytes.append(char(ch));
        m_needDelimiter = false;
        return;
    }
    const QChar qch(ch);
    if (ansi && cp1252::canEncode(qch)) {
        static const char hex[] = "0123456789abcdef";
        const uchar byte = uchar(cp1252::fromUnicode(QStringView(&qch, 1)).at(0));
        m_bytes.append("\\'").append(hex[byte >> 4]).append(hex[byte & 15]);
    } else {
        // RTF parameters are signed 16-bit numbers.
        m_bytes.append("\\u").append(QByteArray::number(int(qint16(ch)))).append('?');
    }
    m_needDelimiter = false;
}

} // namespace

QByteArray writeRtf(const RichDocument& doc)
{
    return RtfWriter(doc).write();
}

bool writeRtfFile(const QString& path, const RichDocument& doc, QString* error,
                  Durability durability)
{
    return writeFileAtomically(path, writeRtf(doc), error, durability);
}

} // namespace rich
