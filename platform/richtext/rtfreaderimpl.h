// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/richdocument.h"
#include "platform/richtext/rtfkeywords.h"
#include "platform/richtext/rtfsyntax.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringDecoder>

#include <unordered_map>

// The RTF reader's state, shared by the files that make up the reader: the main loop
// and the entry points (rtfreader.cpp), control words and text runs (rtfreadtokens.cpp),
// groups and destinations (rtfreadgroups.cpp), the font and colour tables
// (rtfreadtables.cpp), and the text, lines and formats it produces (rtfreadtext.cpp).
// Only they include it.

namespace rich::rtfread {

using namespace rtf;

// Bounds that keep damaged or hostile input from nesting, growing or looping without
// end. Real documents stay far below all of them.
inline constexpr int kMaxDepth = 512;
inline constexpr int kMaxFonts = 4096;
inline constexpr int kMaxColors = 4096;
inline constexpr int kMaxFormats = 4096;
inline constexpr int kMaxSkipCount = 255;
inline constexpr qsizetype kMaxLines = qsizetype(1) << 21;
inline constexpr qsizetype kMaxChars = qsizetype(1) << 27;
inline constexpr qint64 kMaxParam = 2147483647;
inline constexpr int kMaxWordLength = 32;

inline bool isAsciiLetter(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool isAsciiDigit(uchar c)
{
    return c >= '0' && c <= '9';
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

} // namespace rich::rtfread
