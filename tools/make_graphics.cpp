// SPDX-License-Identifier: GPL-2.0-or-later
// Draws the installation's pictures.
//
//   make_graphics <folder>                  every picture of the base folder, below <folder>
//   make_graphics --desktop-icons <folder>  the program icon as <n>x<n>/apps/dilboscan.png
//   make_graphics --sheet <file.png> [text] the pictures (whose path holds text) enlarged on
//                                           one sheet, to look at

#include "graphics/pictureset.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <cstdio>

namespace {

int writeAll(const QString& folder, const QList<gfx::Picture>& pictures)
{
    QTextStream err(stderr);
    for (const gfx::Picture& picture : pictures) {
        QString error;
        if (!gfx::writePicture(folder, picture, &error)) {
            err << error << Qt::endl;
            return 1;
        }
    }
    QTextStream(stdout) << pictures.size() << " pictures written to " << folder << Qt::endl;
    return 0;
}

// A contact sheet to look at: small pictures at their size and four times enlarged
// pixel by pixel, large ones at their size (the background scaled down), with names.
int writeSheet(const QString& file, const QString& filter)
{
    constexpr int sheetWidth = 1400, cellHeight = 200, pad = 10;
    const QList<gfx::Picture> pictures = gfx::installationPictures();
    struct Cell {
        QImage image;
        QImage shown;
        QString name;
        QPoint at;
    };
    QList<Cell> cells;
    QPoint at(0, 0);
    for (const gfx::Picture& picture : pictures) {
        if (!picture.path.contains(filter, Qt::CaseInsensitive))
            continue;
        Cell cell{picture.render(picture.sizes.last()), {}, picture.path, {}};
        const QImage& image = cell.image;
        if (image.width() <= 64)
            cell.shown =
                image.scaled(image.size() * 4, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        else if (image.width() > 320)
            cell.shown = image.scaledToWidth(320, Qt::SmoothTransformation);
        const int width = image.width() + pad + (cell.shown.isNull() ? 0 : cell.shown.width());
        const int cellWidth = qMax(200, width + 2 * pad);
        if (at.x() + cellWidth > sheetWidth)
            at = QPoint(0, at.y() + cellHeight + 40);
        cell.at = at;
        at.rx() += cellWidth;
        cells.append(cell);
    }
    QImage sheet(sheetWidth, at.y() + cellHeight + 40, QImage::Format_RGB32);
    sheet.fill(QColor(0xe4, 0xe4, 0xe4));
    QPainter p(&sheet);
    for (const Cell& cell : cells) {
        const QPoint origin = cell.at + QPoint(pad, pad);
        p.drawImage(origin, cell.image.width() > 320 ? cell.shown : cell.image);
        if (!cell.shown.isNull() && cell.image.width() <= 64)
            p.drawImage(origin + QPoint(cell.image.width() + pad, 0), cell.shown);
        p.drawText(cell.at + QPoint(pad, cellHeight + 25), cell.name);
    }
    p.end();
    return sheet.save(file) ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args.at(1) == QLatin1String("--desktop-icons"))
        return writeAll(args.at(2), gfx::desktopIcons());
    if ((args.size() == 3 || args.size() == 4) && args.at(1) == QLatin1String("--sheet"))
        return writeSheet(args.at(2), args.value(3));
    if (args.size() == 2 && !args.at(1).startsWith(QLatin1Char('-')))
        return writeAll(args.at(1), gfx::installationPictures());
    std::fputs(
        "usage: make_graphics <folder> | --desktop-icons <folder> | --sheet <file.png> [text]\n",
        stderr);
    return 2;
}
