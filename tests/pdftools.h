// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QImage>
#include <QList>
#include <QProcess>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// Reading printed PDF files back with poppler-utils: page count, words with their
// boxes, fonts, and a rendered region. Tests skip when poppler-utils is missing.

namespace pdf {

inline bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty();
}

/// Standard output of a poppler tool; empty when it fails.
inline QByteArray run(const QString& tool, const QStringList& arguments)
{
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return process.readAllStandardOutput();
}

/// The size of the first page in points; empty when it cannot be read.
inline QSizeF pageSize(const QString& file)
{
    const QRegularExpression size(QStringLiteral("^Page size:\\s+([\\d.]+) x ([\\d.]+) pts"),
                                  QRegularExpression::MultilineOption);
    const auto match = size.match(QString::fromUtf8(run(QStringLiteral("pdfinfo"), {file})));
    return match.hasMatch() ? QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble())
                            : QSizeF();
}

inline int pageCount(const QString& file)
{
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    const auto match = pages.match(QString::fromUtf8(run(QStringLiteral("pdfinfo"), {file})));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

/// One word pdftotext found: its page (from 0) and its box in points.
struct Word {
    int page = 0;
    QString text;
    QRectF box;
};

inline QList<Word> words(const QString& file)
{
    const QString html = QString::fromUtf8(
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}));
    static const QRegularExpression word(
        QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" "
                       "yMax=\"([\\d.]+)\">([^<]*)</word>"));
    QList<Word> found;
    int page = -1;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page"))) {
            ++page;
            continue;
        }
        const QPointF topLeft(m.captured(1).toDouble(), m.captured(2).toDouble());
        const QPointF bottomRight(m.captured(3).toDouble(), m.captured(4).toDouble());
        QString text = m.captured(5);
        text.replace(QLatin1String("&apos;"), QLatin1String("'"));
        text.replace(QLatin1String("&quot;"), QLatin1String("\""));
        text.replace(QLatin1String("&lt;"), QLatin1String("<"));
        text.replace(QLatin1String("&gt;"), QLatin1String(">"));
        text.replace(QLatin1String("&amp;"), QLatin1String("&"));
        found.append({page, text, QRectF(topLeft, bottomRight)});
    }
    return found;
}

inline QStringList texts(const QList<Word>& found, int page = -1)
{
    QStringList out;
    for (const Word& w : found) {
        if (page < 0 || w.page == page)
            out << w.text;
    }
    return out;
}

/// The font lines of pdffonts (after its two heading lines).
inline QStringList fonts(const QString& file)
{
    QStringList lines =
        QString::fromUtf8(run(QStringLiteral("pdffonts"), {file})).split(QLatin1Char('\n'));
    lines = lines.mid(2);
    lines.removeAll(QString());
    return lines;
}

/// One picture embedded in a PDF, as pdfimages lists it: its pixels and how many of
/// them the page holds per inch.
struct Image {
    QSize pixels;
    QSize ppi;
};

inline QList<Image> images(const QString& file)
{
    QList<Image> found;
    const QStringList lines =
        QString::fromUtf8(run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), file}))
            .split(QLatin1Char('\n'));
    // page num type width height color comp bpc enc interp object ID x-ppi y-ppi ...
    for (const QString& line : lines.mid(2)) {
        const QStringList c = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (c.size() >= 14 && c.at(2) == QLatin1String("image"))
            found.append({QSize(c.at(3).toInt(), c.at(4).toInt()),
                          QSize(c.at(12).toInt(), c.at(13).toInt())});
    }
    return found;
}

/// Renders region (in pixels at dpi) of a page (from 0), without anti-aliasing.
inline QImage render(const QString& file, int page, int dpi, QRect region)
{
    const QByteArray ppm =
        run(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-f"),
             QString::number(page + 1), QStringLiteral("-l"), QString::number(page + 1),
             QStringLiteral("-x"), QString::number(region.x()), QStringLiteral("-y"),
             QString::number(region.y()), QStringLiteral("-W"), QString::number(region.width()),
             QStringLiteral("-H"), QString::number(region.height()), QStringLiteral("-aa"),
             QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"), file});
    return QImage::fromData(ppm, "PPM");
}

/// The bounding box of the pixels of colour in image; empty when there is none.
inline QRect boxOf(const QImage& image, QRgb colour)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xffffff) == (colour & 0xffffff))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace pdf
