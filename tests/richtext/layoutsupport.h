#pragma once

// Helpers for the measuring, wrapping and drawing tests: formats, documents built from
// runs, and the facts about lines and images the tests check.

#include "platform/richtext/richdocument.h"
#include "platform/richtext/richlayout.h"

#include <QImage>
#include <QRect>
#include <QStringList>

#include <utility>

namespace layouttest {

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
    for (qsizetype i = 0; i < text.size(); ++i)
        l.formats.append(id);
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

/// A document holding only the given line of doc (same format table), for measuring
/// parts of a line.
inline rich::RichDocument withLine(const rich::RichDocument& doc, rich::RichLine line)
{
    rich::RichDocument copy = doc;
    copy.lines() = {std::move(line)};
    return copy;
}

/// The first count characters of a line (the end mark takes the format of the next
/// character, as it would after a break there).
inline rich::RichLine prefix(const rich::RichLine& line, qsizetype count)
{
    rich::RichLine part;
    part.text = line.text.left(count);
    part.formats = line.formats.mid(0, count);
    part.endFormat = count < line.formats.size() ? line.formats.at(count) : line.endFormat;
    return part;
}

/// The bounding box of every pixel that differs from white; empty when none does.
inline QRect inkBounds(const QImage& image)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if ((row[x] & 0x00ffffff) != 0x00ffffff) {
                left = qMin(left, x);
                right = qMax(right, x);
                top = qMin(top, y);
                bottom = qMax(bottom, y);
            }
        }
    }
    if (right < 0)
        return QRect();
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

/// Number of non-white pixels inside rect.
inline int inkIn(const QImage& image, const QRect& rect)
{
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    const QRect r = rect.intersected(img.rect());
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
            count += (row[x] & 0x00ffffff) != 0x00ffffff;
    }
    return count;
}

} // namespace layouttest
