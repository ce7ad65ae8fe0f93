// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

// Helpers for the measuring, wrapping, drawing and font tests: formats, documents built
// from runs, and the ink of an image.

#include "platform/richtext/richdocument.h"

#include <QImage>
#include <QRect>
#include <QStringList>

namespace layouttest {

inline QString str(const char* text)
{
    return QString::fromUtf8(text);
}

inline rich::CharFormat format(const char* face, double points, quint8 style = 0,
                               QRgb color = 0xff000000)
{
    rich::CharFormat f;
    f.fontName = QString::fromLatin1(face);
    f.setPointSize(points);
    f.style = style;
    f.color = color;
    if (f.fontName == QLatin1String("Courier New"))
        f.pitch = rich::Pitch::Fixed;
    return f;
}

/// Appends text in format to the end of line (creating lines as needed); the line's
/// end mark takes the format of its last run.
inline void appendRun(rich::RichDocument& doc, int line, const QString& text,
                      const rich::CharFormat& f)
{
    while (doc.lineCount() <= line)
        doc.appendLine(QString());
    const quint16 id = doc.intern(f);
    rich::RichLine& l = doc.lines()[line];
    l.text += text;
    l.formats.append(QList<quint16>(text.size(), id));
    l.endFormat = id;
}

/// A document of lines, all in one format, which is also its default format.
inline rich::RichDocument documentOf(const QStringList& lines, const rich::CharFormat& f)
{
    rich::RichDocument doc;
    doc.setDefaultFormat(f);
    for (const QString& line : lines)
        doc.appendLine(line, doc.defaultFormatId());
    return doc;
}

/// The pixels of rect (the whole image by default) that are not white: their count and
/// bounding box.
struct Ink {
    int count = 0;
    QRect bounds;
};
inline Ink inkOf(const QImage& image, QRect rect = QRect())
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    rect = rect.isNull() ? img.rect() : rect.intersected(img.rect());
    Ink ink;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if ((img.pixel(x, y) & 0x00ffffff) != 0x00ffffff) {
                ++ink.count;
                ink.bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

} // namespace layouttest
