// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

// Documents that exercise every attribute of the rich text model, shared by the
// round-trip tests of the RTF writer and the QTextDocument bridge.

#include "platform/richtext/richdocument.h"

#include <QList>
#include <QMetaType>
#include <QString>

#include <initializer_list>
#include <utility>

Q_DECLARE_METATYPE(rich::RichDocument)

namespace sample {

inline QString u8(const char* text)
{
    return QString::fromUtf8(text);
}

inline rich::CharFormat format(const char* font = "Arial", double points = 10, quint8 style = 0,
                               QRgb color = 0xff000000, rich::Pitch pitch = rich::Pitch::Variable,
                               quint8 charset = 0)
{
    rich::CharFormat f;
    f.fontName = u8(font);
    f.setPointSize(points);
    f.style = style;
    f.color = color;
    f.pitch = pitch;
    f.charset = charset;
    return f;
}

struct Run {
    const char* text;
    rich::CharFormat format;
};

/// Appends a line made of runs; its end mark takes the last run's format unless given.
inline void addLine(rich::RichDocument& doc, std::initializer_list<Run> runs,
                    const rich::CharFormat* endFormat = nullptr)
{
    rich::RichLine line;
    quint16 last = doc.defaultFormatId();
    for (const Run& run : runs) {
        const QString text = u8(run.text);
        last = doc.intern(run.format);
        line.text += text;
        for (qsizetype i = 0; i < text.size(); ++i)
            line.formats.append(last);
    }
    line.endFormat = endFormat ? doc.intern(*endFormat) : last;
    doc.lines().append(line);
}

/// Sets the default format as a reader leaves it: the format at the first position.
inline rich::RichDocument finished(rich::RichDocument doc)
{
    if (!doc.isEmpty())
        doc.setDefaultFormat(doc.format(doc.formatIdAt(0)));
    return doc;
}

inline QList<std::pair<const char*, rich::RichDocument>> documents()
{
    using namespace rich;
    QList<std::pair<const char*, RichDocument>> out;
    auto add = [&out](const char* name, const RichDocument& doc) {
        out.append({name, finished(doc)});
    };
    const CharFormat plain = format();
    {
        RichDocument d;
        addLine(d, {{"500 g Mehl", plain}});
        addLine(d, {{"2 Eier", plain}});
        add("plain lines", d);
    }
    for (const auto& [name, style] :
         {std::pair{"bold", quint8(Bold)},
          {"italic", quint8(Italic)},
          {"underline", quint8(Underline)},
          {"strike-out", quint8(StrikeOut)},
          {"all styles", quint8(Bold | Italic | Underline | StrikeOut)}}) {
        RichDocument d;
        addLine(d, {{"a ", plain}, {"styled", format("Arial", 10, style)}, {" c", plain}});
        addLine(d, {{"whole line", format("Arial", 10, style)}});
        add(name, d);
    }
    {
        RichDocument d;
        addLine(d, {{"tiny", format("Arial", 0.5)},
                    {"odd", format("Arial", 8.5)},
                    {"big", format("Arial", 72)},
                    {"largest", format("Arial", 1638)}});
        add("sizes", d);
    }
    {
        RichDocument d;
        addLine(d, {{"Arial ", plain},
                    {"Courier ", format("Courier New", 10, 0, 0xff000000, Pitch::Fixed)},
                    {"Times ", format("Times New Roman", 12)},
                    {"Comic ", format("Comic Sans MS", 10, 0, 0xff000000, Pitch::Default)},
                    {"Umlaut ", format("Schrift \xc3\x84rger")},
                    {"Odd", format("Odd;Name{x}\\")}});
        add("font names", d);
    }
    {
        RichDocument d;
        addLine(d, {{"red ", format("Arial", 10, 0, 0xffff0000)},
                    {"custom ", format("Arial", 10, 0, 0xff123456)},
                    {"white ", format("Arial", 10, 0, 0xffffffff)},
                    {"near black", format("Arial", 10, 0, 0xff010101)}});
        addLine(d, {{"red again", format("Arial", 10, 0, 0xffff0000)}});
        add("colours", d);
    }
    {
        RichDocument d;
        addLine(d, {{"default ", format("Arial", 10, 0, 0xff000000, Pitch::Default)},
                    {"fixed ", format("Arial", 10, 0, 0xff000000, Pitch::Fixed)},
                    {"variable", format("Arial", 10, 0, 0xff000000, Pitch::Variable)}});
        add("pitch", d);
    }
    {
        RichDocument d;
        for (quint8 charset : {0, 1, 2, 128, 204, 238})
            addLine(d, {{"\xc3\xa4\xce\xb1 x\xe2\x82\xac",
                         format("Arial", 10, 0, 0xff000000, Pitch::Variable, charset)}});
        add("character sets", d);
    }
    {
        RichDocument d;
        addLine(d,
                {{"\xc3\xa4\xc3\xb6\xc3\xbc\xc3\x9f \xe2\x82\xac \xc5\xb8\xc5\xa0 \xce\xa9\xce\xb1 "
                  "\xf0\x9f\x98\x80 \xc2\x80\xc2\x81 \xef\xbf\xbd \xef\x82\xb7",
                  plain}});
        add("unicode", d);
    }
    {
        RichDocument d;
        addLine(d, {{"{a} \\b\\ \\par ;", plain}});
        addLine(d, {{"1\t2\t", plain}});
        add("escapes and tabs", d);
    }
    {
        RichDocument d;
        // Text right after control words: digits, blanks and hyphens must not be taken
        // as parameters or delimiters.
        addLine(d, {{"x", format("Arial", 10, Bold)},
                    {"5 eggs", plain},
                    {" ", format("Arial", 11)},
                    {"-1", format("Arial", 10, Italic)},
                    {"  two blanks", plain}});
        add("text after control words", d);
    }
    {
        RichDocument d;
        const CharFormat boldEnd = format("Arial", 10, Bold);
        const CharFormat bigEnd = format("Courier New", 14, Italic, 0xff0000ff, Pitch::Fixed);
        addLine(d, {}, &boldEnd);
        addLine(d, {{"middle", plain}}, &bigEnd);
        addLine(d, {}, &bigEnd);
        add("empty lines and end marks", d);
    }
    {
        RichDocument d;
        d.setDefaultFormat(format("Courier New", 14, Bold, 0xff00ff00, Pitch::Fixed, 0));
        out.append({"empty document", d});
    }
    {
        RichDocument d;
        RichLine line;
        const quint16 a = d.intern(format("Arial", 10, Bold));
        const quint16 b = d.intern(format("Verdana", 9, Italic, 0xff336699));
        for (int i = 0; i < 10000; ++i) {
            line.text.append(QChar(u'a' + i % 26));
            line.formats.append(i % 7 < 3 ? a : b);
        }
        line.endFormat = b;
        d.lines().append(line);
        add("long line", d);
    }
    return out;
}

} // namespace sample
