#include "platform/richtext/rtfreader.h"

#include "platform/cp1252.h"
#include "platform/richtext/rtfcodepage.h"
#include "platform/richtext/rtfkeywords.h"
#include "platform/richtext/rtfsyntax.h"
#include "platform/safefile.h"

#include <QHash>
#include <QStringDecoder>

#include <string_view>
#include <unordered_map>

namespace rich {
namespace {

using namespace rtf;

// Bounds that keep damaged or hostile input from nesting, growing or looping without
// end. Real documents stay far below all of them.
constexpr int kMaxDepth = 512;
constexpr int kMaxFonts = 4096;
constexpr int kMaxColors = 4096;
constexpr int kMaxFormats = 4096;
constexpr int kMaxSkipCount = 255;
constexpr qsizetype kMaxLines = qsizetype(1) << 21;
constexpr qsizetype kMaxChars = qsizetype(1) << 27;
constexpr qint64 kMaxParam = 2147483647;
constexpr int kMaxWordLength = 32;

bool isAsciiLetter(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isAsciiDigit(uchar c)
{
    return c >= '0' && c <= '9';
}

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

struct FormatHash {
    size_t operator()(const CharFormat& f) const noexcept
    {
        return qHashMulti(0, f.fontName, f.halfPoints, f.heightPx, f.style, f.color,
                          quint8(f.pitch), f.charset);
    }
};

enum class Dest : quint8 { Text, FontTable, ColorTable };

// Attributes saved and restored with each group.
struct GroupState {
    int font = -1; // font number; -1: the \deff font
    int halfPoints = rtf::kDefaultHalfPoints;
    quint8 style = 0;
    int color = 0;
    int uc = 1;
    bool hidden = false;
    Dest dest = Dest::Text;
};

struct FontEntry {
    QString name;
    Pitch pitch = Pitch::Default;
    quint8 charset = 0;
    bool charsetGiven = false;
};

struct ColorEntry {
    QRgb rgb = 0xff000000;
    bool automatic = true;
};

class RtfReader {
public:
    // With plain given, only the text is kept: lines are joined into it with "\n" as
    // they end, and doc receives no lines.
    RtfReader(QByteArrayView data, RichDocument& doc, QString* plain = nullptr)
        : m_data(data), m_doc(doc), m_plain(plain)
    {
    }

    bool read(QString* error);
    void readPlainText();

private:
    bool atEnd() const { return m_pos >= m_data.size(); }
    uchar byteAt(qsizetype pos) const { return uchar(m_data[pos]); }
    GroupState& state() { return m_stack.back(); }

    void openGroup();
    void closeGroup();
    void skipGroup();
    void controlWord();
    void controlSymbol(uchar c);
    void dispatch(const Keyword* keyword, bool hasParam, int param);
    void setAnsiCodepage(Kw kw, bool hasParam, int param);
    void applyCharFormat(Kw kw, bool hasParam, int param);
    void applyTableWord(Kw kw, int param);
    void skipDestination();
    void textRun();
    void skipBinary(int length);
    void fail(const QString& message);

    void addChar(char16_t ch);
    void addByte(uchar byte);
    void flushBytes();
    void addTextToLine(QStringView text);
    void endLine();
    void finish();

    void ensureFormat();
    quint16 internFormat(const CharFormat& format);
    const FontEntry* fontEntry(int number) const;
    int textCodepage();
    QStringDecoder& decoder(int codepage);

    void beginFontEntry(int number);
    void commitFontEntry();
    void commitColor();

    QByteArrayView m_data;
    qsizetype m_pos = 0;
    RichDocument& m_doc;
    QString* m_plain;
    qsizetype m_plainLines = 0;
    QList<GroupState> m_stack;
    bool m_done = false;
    QString m_error;

    // Document settings.
    int m_ansiCodepage = 1252;
    int m_deff = 0;

    // Tables.
    QHash<int, FontEntry> m_fonts;
    QList<ColorEntry> m_colors;
    int m_fontNumber = -1; // entry being read in the font table
    FontEntry m_fontEntry;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;

    // Fallback characters of \u still to skip.
    int m_skip = 0;
    // 8-bit text waiting for a multi-byte code page decoder.
    QByteArray m_pendingBytes;
    int m_pendingCodepage = 0;
    std::unordered_map<int, QStringDecoder> m_decoders;

    // The line being read and the format of new text.
    RichLine m_line;
    qsizetype m_chars = 0;
    bool m_formatDirty = true;
    quint16 m_formatId = 0;
    int m_codepage = 1252;
    std::unordered_map<CharFormat, quint16, FormatHash> m_formatIds;
};

bool RtfReader::read(QString* error)
{
    m_doc = RichDocument();
    m_stack.reserve(64);
    m_stack.append(GroupState());

    // Leading blanks are tolerated; anything else than "{\rtf" is not RTF.
    while (!atEnd() && (byteAt(m_pos) == ' ' || byteAt(m_pos) == '\t' || byteAt(m_pos) == '\r' ||
                        byteAt(m_pos) == '\n'))
        ++m_pos;
    if (!m_data.sliced(m_pos).startsWith("{\\rtf")) {
        m_pos = 0;
        readPlainText();
        if (error)
            *error = QStringLiteral("The data is not RTF; it was read as plain text.");
        return false;
    }

    while (!atEnd() && !m_done) {
        const uchar c = byteAt(m_pos);
        switch (c) {
        case '{':
            ++m_pos;
            openGroup();
            break;
        case '}':
            ++m_pos;
            closeGroup();
            break;
        case '\\':
            controlWord();
            break;
        case '\r':
        case '\n':
            ++m_pos;
            break;
        default:
            textRun();
            break;
        }
    }
    if (!m_done && m_error.isEmpty())
        fail(QStringLiteral("The RTF data ends before its last group is closed."));
    finish();
    if (error)
        *error = m_error;
    return m_error.isEmpty();
}

void RtfReader::readPlainText()
{
    QStringView text;
    QString decoded;
    const bool utf8 = m_data.startsWith("\xEF\xBB\xBF");
    decoded = utf8 ? QString::fromUtf8(m_data.sliced(3)) : cp1252::toUnicode(m_data);
    text = decoded;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size() && !m_done; ++i) {
        const bool end = i == text.size();
        if (!end && text[i] != u'\r' && text[i] != u'\n')
            continue;
        for (QChar ch : text.sliced(start, i - start))
            addChar(ch.unicode());
        if (!end || !m_line.text.isEmpty())
            endLine();
        if (!end && text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    finish();
}

void RtfReader::fail(const QString& message)
{
    if (m_error.isEmpty())
        m_error = message;
}

void RtfReader::openGroup()
{
    flushBytes();
    m_skip = 0;
    if (m_stack.size() >= kMaxDepth) {
        fail(QStringLiteral("The RTF data nests groups too deeply; the deepest ones were "
                            "skipped."));
        skipGroup();
        return;
    }
    const GroupState inherited = m_stack.back();
    m_stack.append(inherited);
}

void RtfReader::closeGroup()
{
    flushBytes();
    m_skip = 0;
    // The outermost group closes the document; whatever follows is not read. Its
    // attributes stay in force for the end mark of a last line without \par.
    if (m_stack.size() <= 2) {
        m_done = true;
        return;
    }
    if (state().dest == Dest::FontTable && m_fontNumber >= 0 && !m_fontEntry.name.isEmpty())
        commitFontEntry();
    m_stack.removeLast();
    m_formatDirty = true;
}

// Skips to the end of the group whose opening brace was just read, with everything
// nested in it: the group is not pushed, so this needs no memory however deep it goes.
void RtfReader::skipGroup()
{
    int depth = 1;
    while (!atEnd()) {
        const uchar c = byteAt(m_pos++);
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0)
                return;
        } else if (c == '\\' && !atEnd()) {
            if (!isAsciiLetter(byteAt(m_pos))) {
                ++m_pos; // a control symbol: "\{" and "\}" are no braces
                continue;
            }
            const qsizetype start = m_pos;
            while (!atEnd() && isAsciiLetter(byteAt(m_pos)))
                ++m_pos;
            const bool bin = m_data.sliced(start, m_pos - start) == "bin";
            qint64 length = 0;
            while (!atEnd() && isAsciiDigit(byteAt(m_pos))) {
                length = qMin(kMaxParam, length * 10 + (byteAt(m_pos) - '0'));
                ++m_pos;
            }
            if (!atEnd() && byteAt(m_pos) == ' ')
                ++m_pos;
            if (bin)
                skipBinary(int(length));
        }
    }
}

void RtfReader::skipBinary(int length)
{
    m_pos += qMin<qsizetype>(qMax(0, length), m_data.size() - m_pos);
}

void RtfReader::controlWord()
{
    ++m_pos; // the backslash
    if (atEnd())
        return;
    const uchar first = byteAt(m_pos);
    if (!isAsciiLetter(first)) {
        ++m_pos;
        controlSymbol(first);
        return;
    }
    const qsizetype start = m_pos;
    while (!atEnd() && isAsciiLetter(byteAt(m_pos)))
        ++m_pos;
    const qsizetype nameLength = m_pos - start;
    bool hasParam = false;
    bool negative = false;
    qint64 value = 0;
    if (!atEnd() && byteAt(m_pos) == '-' && m_pos + 1 < m_data.size() &&
        isAsciiDigit(byteAt(m_pos + 1))) {
        negative = true;
        ++m_pos;
    }
    while (!atEnd() && isAsciiDigit(byteAt(m_pos))) {
        hasParam = true;
        value = qMin(kMaxParam, value * 10 + (byteAt(m_pos) - '0'));
        ++m_pos;
    }
    if (!atEnd() && byteAt(m_pos) == ' ')
        ++m_pos;

    const Keyword* keyword = nullptr;
    if (nameLength <= kMaxWordLength)
        keyword = findKeyword(std::string_view(m_data.data() + start, size_t(nameLength)));
    flushBytes();
    if (m_skip > 0) {
        // A control word stands for one fallback character of the last \u.
        --m_skip;
        if (keyword && keyword->kw == Kw::Bin)
            skipBinary(negative ? 0 : int(value));
        return;
    }
    dispatch(keyword, hasParam, negative ? int(-value) : int(value));
}

void RtfReader::controlSymbol(uchar c)
{
    if (c == '\'') {
        // \'hh: one byte in the current code page.
        int value = -1;
        if (m_pos + 1 >= m_data.size()) {
            m_pos = m_data.size(); // cut off in the middle of the escape
        } else {
            const int hi = hexValue(byteAt(m_pos));
            const int lo = hexValue(byteAt(m_pos + 1));
            if (hi >= 0 && lo >= 0) {
                value = hi * 16 + lo;
                m_pos += 2;
            }
        }
        if (m_skip > 0) {
            --m_skip;
            return;
        }
        if (value >= 0)
            addByte(uchar(value));
        return;
    }
    flushBytes();
    if (m_skip > 0) {
        --m_skip;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        addChar(c);
        break;
    case '~':
        addChar(0x00A0);
        break;
    case '_':
        addChar(0x2011);
        break;
    case '\r':
    case '\n':
        // A backslash before a line break is a paragraph mark.
        if (state().dest == Dest::Text)
            endLine();
        break;
    case '*':
        // An ignorable destination: none of them holds text of the document.
        skipDestination();
        break;
    default:
        break; // \- (optional hyphen), \| and \: and unknown symbols
    }
}

void RtfReader::dispatch(const Keyword* keyword, bool hasParam, int param)
{
    if (keyword == nullptr)
        return;
    GroupState& s = state();
    switch (keyword->kw) {
    case Kw::SkipDest:
        skipDestination();
        break;
    case Kw::FontTable:
        s.dest = Dest::FontTable;
        m_fontNumber = -1;
        break;
    case Kw::ColorTable:
        s.dest = Dest::ColorTable;
        m_colorGiven = false;
        m_red = m_green = m_blue = 0;
        break;
    case Kw::Ansi:
    case Kw::Mac:
    case Kw::Pc:
    case Kw::Pca:
    case Kw::AnsiCpg:
        setAnsiCodepage(keyword->kw, hasParam, param);
        break;
    case Kw::Deff:
        m_deff = param;
        m_formatDirty = true;
        break;
    case Kw::Uc:
        s.uc = qBound(0, param, kMaxSkipCount);
        break;
    case Kw::U:
        // Negative values stand for code units above 32767.
        if (const int code = param < 0 ? param + 65536 : param; code >= 0 && code <= 0xFFFF)
            addChar(char16_t(code));
        m_skip = s.uc;
        break;
    case Kw::Bin:
        skipBinary(param);
        break;
    case Kw::Par:
        if (s.dest == Dest::Text)
            endLine();
        break;
    case Kw::Char:
        if (s.dest == Dest::Text)
            addChar(keyword->ch);
        break;
    default:
        if (s.dest == Dest::Text)
            applyCharFormat(keyword->kw, hasParam, param);
        else
            applyTableWord(keyword->kw, param);
        break;
    }
}

void RtfReader::setAnsiCodepage(Kw kw, bool hasParam, int param)
{
    switch (kw) {
    case Kw::Mac:
        m_ansiCodepage = 10000;
        break;
    case Kw::Pc:
        m_ansiCodepage = 437;
        break;
    case Kw::Pca:
        m_ansiCodepage = 850;
        break;
    case Kw::AnsiCpg:
        if (hasParam && param > 0 && param <= 65535)
            m_ansiCodepage = param;
        break;
    default:
        m_ansiCodepage = 1252;
        break;
    }
    m_formatDirty = true;
}

void RtfReader::applyCharFormat(Kw kw, bool hasParam, int param)
{
    GroupState& s = state();
    const bool on = !hasParam || param != 0;
    auto setStyle = [&s, on](FontStyle bit) { s.style = on ? (s.style | bit) : (s.style & ~bit); };
    switch (kw) {
    case Kw::Plain:
        s = GroupState{-1, rtf::kDefaultHalfPoints, 0, 0, s.uc, false, s.dest};
        break;
    case Kw::Font:
        if (hasParam)
            s.font = param;
        break;
    case Kw::FontSize:
        if (hasParam && param > 0)
            s.halfPoints = qBound(rtf::kMinHalfPoints, param, rtf::kMaxHalfPoints);
        break;
    case Kw::Bold:
        setStyle(Bold);
        break;
    case Kw::Italic:
        setStyle(Italic);
        break;
    case Kw::Underline:
        setStyle(Underline);
        break;
    case Kw::UnderlineNone:
        s.style &= ~Underline;
        break;
    case Kw::Strike:
        setStyle(StrikeOut);
        break;
    case Kw::Color:
        s.color = param;
        break;
    case Kw::Hidden:
        s.hidden = on;
        break;
    default:
        return;
    }
    m_formatDirty = true;
}

// Words of the font and colour tables.
void RtfReader::applyTableWord(Kw kw, int param)
{
    switch (kw) {
    case Kw::Font:
        if (state().dest == Dest::FontTable)
            beginFontEntry(param);
        break;
    case Kw::FontCharset:
        m_fontEntry.charset = (param >= 0 && param <= 255) ? quint8(param) : 0;
        m_fontEntry.charsetGiven = true;
        break;
    case Kw::FontPitch:
        m_fontEntry.pitch = (param == 1 || param == 2) ? Pitch(param) : Pitch::Default;
        break;
    case Kw::Red:
        m_red = qBound(0, param, 255);
        m_colorGiven = true;
        break;
    case Kw::Green:
        m_green = qBound(0, param, 255);
        m_colorGiven = true;
        break;
    case Kw::Blue:
        m_blue = qBound(0, param, 255);
        m_colorGiven = true;
        break;
    default:
        break;
    }
}

// Skips the rest of the current group, a destination that holds no text of the
// document. At the top level that would swallow the whole document: ignored there.
void RtfReader::skipDestination()
{
    if (m_stack.size() <= 2)
        return;
    skipGroup();
    m_stack.removeLast();
    m_formatDirty = true;
}

// Plain text up to the next brace, backslash or line break.
void RtfReader::textRun()
{
    const qsizetype start = m_pos;
    while (!atEnd()) {
        const uchar c = byteAt(m_pos);
        if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
            break;
        ++m_pos;
    }
    const Dest dest = state().dest;
    qsizetype i = start;
    // Fallback characters of a \u come first.
    while (m_skip > 0 && i < m_pos) {
        --m_skip;
        ++i;
    }
    if (dest == Dest::ColorTable) {
        for (; i < m_pos; ++i) {
            if (byteAt(i) == ';')
                commitColor();
        }
        return;
    }
    if (dest == Dest::FontTable) {
        for (; i < m_pos; ++i) {
            const uchar c = byteAt(i);
            if (c == ';') {
                flushBytes();
                commitFontEntry();
            } else {
                addByte(c);
            }
        }
        return;
    }
    // Body text: ASCII goes in stretches, other bytes through the code page.
    while (i < m_pos) {
        qsizetype j = i;
        while (j < m_pos && byteAt(j) >= 0x20 && byteAt(j) < 0x80)
            ++j;
        if (j > i) {
            flushBytes();
            addTextToLine(QString::fromLatin1(m_data.sliced(i, j - i)));
            i = j;
        }
        if (i < m_pos) {
            addByte(byteAt(i));
            ++i;
        }
    }
}

void RtfReader::addByte(uchar byte)
{
    if (byte < 0x80) {
        flushBytes();
        addChar(byte);
        return;
    }
    int codepage = 1252;
    if (state().dest == Dest::FontTable) {
        codepage = m_fontEntry.charsetGiven ? codepageForCharset(m_fontEntry.charset) : 0;
        if (codepage == 0)
            codepage = m_ansiCodepage;
    } else {
        codepage = textCodepage();
    }
    if (codepage == 1252) {
        flushBytes();
        addChar(decodeCp1252(byte));
        return;
    }
    if (codepage == kCodepageSymbol) {
        flushBytes();
        addChar(byte);
        return;
    }
    if (!m_pendingBytes.isEmpty() && m_pendingCodepage != codepage)
        flushBytes();
    m_pendingCodepage = codepage;
    m_pendingBytes.append(char(byte));
}

void RtfReader::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    const QString text = decoder(m_pendingCodepage).decode(m_pendingBytes);
    m_pendingBytes.clear();
    for (QChar ch : text)
        addChar(ch.unicode());
}

QStringDecoder& RtfReader::decoder(int codepage)
{
    auto it = m_decoders.find(codepage);
    if (it == m_decoders.end()) {
        QStringDecoder d(decoderName(codepage).constData(), QStringDecoder::Flag::Stateless);
        if (!d.isValid())
            d = QStringDecoder(QStringDecoder::Latin1, QStringDecoder::Flag::Stateless);
        it = m_decoders.emplace(codepage, std::move(d)).first;
    }
    return it->second;
}

void RtfReader::addChar(char16_t ch)
{
    if (rtf::isDroppedChar(ch))
        return;
    switch (state().dest) {
    case Dest::Text:
        if (!state().hidden)
            addTextToLine(QStringView(&ch, 1));
        break;
    case Dest::FontTable:
        if (ch != u'\t' && m_fontEntry.name.size() < rtf::kMaxFontNameLength)
            m_fontEntry.name.append(QChar(ch));
        break;
    case Dest::ColorTable:
        break;
    }
}

void RtfReader::addTextToLine(QStringView text)
{
    if (m_done || state().dest != Dest::Text || state().hidden)
        return;
    if (m_chars + text.size() > kMaxChars) {
        fail(QStringLiteral("The RTF document is too large; its end was not read."));
        m_done = true;
        return;
    }
    ensureFormat();
    m_line.text.append(text);
    if (!m_plain)
        m_line.formats.insert(m_line.formats.size(), text.size(), m_formatId);
    m_chars += text.size();
}

void RtfReader::endLine()
{
    if (m_done)
        return;
    if ((m_plain ? m_plainLines : m_doc.lines().size()) >= kMaxLines) {
        fail(QStringLiteral("The RTF document has too many lines; its end was not read."));
        m_done = true;
        return;
    }
    ensureFormat();
    if (m_plain) {
        if (m_plainLines++ > 0)
            m_plain->append(QLatin1Char('\n'));
        m_plain->append(m_line.text);
        m_line.text.resize(0); // keeps its room for the next line
        return;
    }
    m_line.endFormat = m_formatId;
    m_doc.lines().append(std::move(m_line));
    m_line = RichLine();
}

void RtfReader::finish()
{
    flushBytes();
    const bool stopped = m_done;
    m_done = false;
    if (!m_line.text.isEmpty())
        endLine();
    m_done = stopped;
    ensureFormat();
    QList<RichLine>& lines = m_doc.lines();
    quint16 defaultId = m_formatId;
    // One empty paragraph is how a rich edit control writes an empty text.
    if (lines.size() == 1 && lines.first().text.isEmpty()) {
        defaultId = lines.first().endFormat;
        lines.clear();
    } else if (!lines.isEmpty()) {
        defaultId = m_doc.formatIdAt(0);
    }
    m_doc.setDefaultFormat(m_doc.format(defaultId));
}

const FontEntry* RtfReader::fontEntry(int number) const
{
    auto it = m_fonts.constFind(number);
    if (it == m_fonts.constEnd())
        it = m_fonts.constFind(m_deff);
    return it == m_fonts.constEnd() ? nullptr : &*it;
}

void RtfReader::ensureFormat()
{
    if (!m_formatDirty)
        return;
    m_formatDirty = false;
    const GroupState& s = state();
    CharFormat f;
    const FontEntry* font = fontEntry(s.font < 0 ? m_deff : s.font);
    f.fontName = font ? font->name : rtf::defaultFontName();
    f.pitch = font ? font->pitch : Pitch::Default;
    f.charset = font ? font->charset : 0;
    f.halfPoints = s.halfPoints;
    f.heightPx = heightForHalfPoints(s.halfPoints);
    f.style = s.style;
    if (s.color > 0 && s.color < m_colors.size() && !m_colors.at(s.color).automatic)
        f.color = m_colors.at(s.color).rgb;
    m_formatId = internFormat(f);

    int codepage = 0;
    if (font && font->charsetGiven)
        codepage = codepageForCharset(font->charset);
    m_codepage = codepage == 0 ? m_ansiCodepage : codepage;
}

int RtfReader::textCodepage()
{
    ensureFormat();
    return m_codepage;
}

quint16 RtfReader::internFormat(const CharFormat& format)
{
    const auto it = m_formatIds.find(format);
    if (it != m_formatIds.end())
        return it->second;
    // Past the cap new formats fall back to the one in use, so text is still read.
    if (m_formatIds.size() >= size_t(kMaxFormats))
        return m_formatId;
    const quint16 id = m_doc.intern(format);
    m_formatIds.emplace(format, id);
    return id;
}

void RtfReader::beginFontEntry(int number)
{
    if (m_fontNumber >= 0 && !m_fontEntry.name.isEmpty())
        commitFontEntry();
    m_fontNumber = number;
    m_fontEntry = FontEntry();
}

void RtfReader::commitFontEntry()
{
    if (m_fontNumber < 0) {
        m_fontEntry = FontEntry(); // a name without a font number
        return;
    }
    if (m_fonts.size() < kMaxFonts || m_fonts.contains(m_fontNumber)) {
        FontEntry entry = m_fontEntry;
        entry.name = entry.name.trimmed();
        m_fonts.insert(m_fontNumber, entry);
    }
    m_fontNumber = -1;
    m_fontEntry = FontEntry();
    m_formatDirty = true;
}

void RtfReader::commitColor()
{
    if (m_colors.size() < kMaxColors) {
        ColorEntry entry;
        entry.automatic = !m_colorGiven;
        entry.rgb = qRgb(m_red, m_green, m_blue);
        m_colors.append(entry);
    }
    m_red = m_green = m_blue = 0;
    m_colorGiven = false;
    m_formatDirty = true;
}

} // namespace

bool readRtf(QByteArrayView bytes, RichDocument& doc, QString* error)
{
    RtfReader reader(bytes, doc);
    return reader.read(error);
}

bool readRtfText(QByteArrayView bytes, QString* text, QString* error)
{
    RichDocument unused;
    text->clear();
    RtfReader reader(bytes, unused, text);
    return reader.read(error);
}

bool readRtfFileText(const QString& path, QString* text, QString* error)
{
    QByteArray bytes;
    if (!readWholeFile(path, &bytes, error)) {
        text->clear();
        return false;
    }
    QString message;
    const bool ok = readRtfText(bytes, text, &message);
    if (!ok && error)
        *error = QStringLiteral("%1: %2").arg(path, message);
    return ok;
}

bool readRtfFile(const QString& path, RichDocument& doc, QString* error)
{
    QByteArray bytes;
    if (!readWholeFile(path, &bytes, error)) {
        doc = RichDocument();
        return false;
    }
    QString message;
    const bool ok = readRtf(bytes, doc, &message);
    if (!ok && error)
        *error = QStringLiteral("%1: %2").arg(path, message);
    return ok;
}

} // namespace rich
