// SPDX-License-Identifier: GPL-2.0-or-later

#include "demo/markup.h"

namespace demo {

namespace {

rich::CharFormat bodyFormat()
{
    rich::CharFormat f;
    f.fontName = QStringLiteral("Arial");
    f.setPointSize(10);
    f.pitch = rich::Pitch::Variable;
    return f;
}

rich::CharFormat lineFormat(QString* line)
{
    rich::CharFormat f = bodyFormat();
    if (line->startsWith(QLatin1String("# "))) {
        f.fontName = QStringLiteral("Verdana");
        f.setPointSize(11);
        f.style = rich::Bold;
        f.color = qRgb(0xb0, 0x3a, 0x22);
    } else if (line->startsWith(QLatin1String("> "))) {
        f.style = rich::Italic;
        f.color = qRgb(0x2d, 0x4b, 0x73);
    } else if (line->startsWith(QLatin1String("~ "))) {
        f.fontName = QStringLiteral("Courier New");
        f.pitch = rich::Pitch::Fixed;
    } else {
        return f;
    }
    line->remove(0, 2);
    return f;
}

} // namespace

MarkedText parseMarkup(const QString& text)
{
    MarkedText out;
    out.document.setDefaultFormat(bodyFormat());
    if (text.isEmpty())
        return out;
    for (QString line : text.split(QLatin1Char('\n'))) {
        rich::CharFormat format = lineFormat(&line);
        rich::RichLine richLine;
        quint16 id = out.document.intern(format);
        for (QChar ch : line) {
            if (ch == QLatin1Char('*') || ch == QLatin1Char('_')) {
                format.style ^= ch == QLatin1Char('*') ? rich::Bold : rich::Italic;
                id = out.document.intern(format);
                continue;
            }
            richLine.text += ch;
            richLine.formats.append(id);
        }
        richLine.endFormat = id;
        out.plainLines << richLine.text;
        out.document.lines().append(richLine);
    }
    return out;
}

QStringList plainLines(const QString& text)
{
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

} // namespace demo
