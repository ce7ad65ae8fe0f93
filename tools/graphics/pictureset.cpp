// SPDX-License-Identifier: GPL-2.0-or-later

#include "graphics/pictureset.h"

#include "graphics/canvas.h"
#include "graphics/drawings.h"
#include "graphics/icofile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace gfx {

namespace {

using DrawFn = std::function<void(QPainter&)>;

// A picture drawn in a square unit grid of `units`, transparent around the drawing.
std::function<QImage(QSize)> drawn(double units, DrawFn draw)
{
    return [units, draw](QSize size) {
        Canvas canvas(size, QSizeF(units, units));
        draw(canvas.painter());
        return canvas.finish();
    };
}

std::function<QImage(QSize)> drawnDish(DrawFn draw)
{
    return [draw](QSize size) {
        Canvas canvas(size, QSizeF(kDishWidth, kDishHeight), colour::paper);
        draw(canvas.painter());
        return canvas.finish();
    };
}

Picture png(const QString& path, QSize size, std::function<QImage(QSize)> render)
{
    return {path, FileFormat::Png, {size}, std::move(render)};
}

QString number(int n)
{
    return QString::number(n);
}

void addKindPictures(QList<Picture>& out)
{
    // List icons 0 to 5, and for the editor the plain and the "g" (greyed) form of 1 to 5,
    // used while the field the icon stands for is empty.
    for (int kind = 0; kind < kKindCount; ++kind) {
        out.append({QStringLiteral("Graphic/ICO/24/") + number(kind) + QStringLiteral(".ICO"),
                    FileFormat::Ico,
                    {QSize(24, 24)},
                    drawn(32, [kind](QPainter& p) { drawKind(p, kind); })});
    }
    for (int kind = 1; kind < kKindCount; ++kind) {
        const auto plain = drawn(32, [kind](QPainter& p) { drawKind(p, kind); });
        out.append({QStringLiteral("Graphic/ICO/24/") + number(kind) + QStringLiteral("g.ico"),
                    FileFormat::Ico,
                    {QSize(24, 24)},
                    [plain](QSize size) { return greyed(plain(size)); }});
    }
    // Type pictures of the main window's summary, recipe type t as (t + 1).
    for (int kind = 1; kind < kKindCount; ++kind) {
        out.append(png(QStringLiteral("Graphic/PNG/") + number(kind) + QStringLiteral("_32.png"),
                       {32, 32}, drawn(32, [kind](QPainter& p) { drawKind(p, kind); })));
    }
    // The printed recipe list: opaque white, as they are printed on paper as they are.
    const char* printed[] = {"Normal_48.png", "Deluxe_48.png", "Ordner_48.png",
                             "Zeitschrift_48.png", "Buch_48.png"};
    for (int kind = 1; kind < kKindCount; ++kind) {
        const auto plain = drawn(32, [kind](QPainter& p) { drawKind(p, kind); });
        out.append(png(QStringLiteral("Graphic/PNG/") + QLatin1String(printed[kind - 1]), {48, 48},
                       [plain](QSize size) { return flattened(plain(size), Qt::white); }));
    }
}

void addEditorPictures(QList<Picture>& out)
{
    out.append(png(QStringLiteral("Graphic/PNG/Background.png"), {1024, 768}, [](QSize size) {
        Canvas canvas(size, QSizeF(size));
        drawBackground(canvas.painter(), QSizeF(size));
        return flattened(canvas.finish(), Qt::white);
    }));
    for (int d = 1; d <= 5; ++d) {
        out.append(png(QStringLiteral("Graphic/PNG/") + number(d) + QStringLiteral("_Sterne.png"),
                       {30, 30}, drawn(30, [d](QPainter& p) { drawStars(p, d); })));
    }
    const std::pair<const char*, CookingDay> days[] = {
        {"Kalendar_Today.png", CookingDay::Today},
        {"Kalendar_Yesterday.png", CookingDay::Yesterday},
        {"Kalendar_Tomorrow.png", CookingDay::Tomorrow},
    };
    for (const auto& [name, day] : days) {
        const CookingDay which = day;
        out.append(png(QStringLiteral("Graphic/PNG/") + QLatin1String(name), {30, 30},
                       drawn(30, [which](QPainter& p) { drawCalendar(p, which); })));
    }
    out.append(png(QStringLiteral("Graphic/PNG/DummyKochgeraet.png"), {32, 32},
                   drawn(32, drawEmptyDeviceSlot)));
    out.append(png(QStringLiteral("Graphic/PNG/Rezeptdummy.png"), {281, 145},
                   drawnDish(drawNoRecipePicture)));
    const QStringList& devices = deviceNames();
    for (int i = 0; i < devices.size(); ++i) {
        out.append(png(QStringLiteral("Graphic/PNG/ENG/") + devices.at(i) + QStringLiteral(".PNG"),
                       {32, 32}, drawn(32, [i](QPainter& p) { drawDevice(p, i); })));
    }
}

void addOtherPictures(QList<Picture>& out)
{
    out.append(
        png(QStringLiteral("Graphic/PNG/ENG/Tarvolin.png"), {32, 32}, drawn(32, drawMakerLogo)));
    out.append(
        png(QStringLiteral("Graphic/PNG/ENG/kvlogo.png"), {32, 32}, drawn(32, drawProgramIcon)));
    // Button glyphs of the preview: opaque, on the button face colour, which the
    // lower-left pixel carries for a loader that keys it out.
    const std::pair<const char*, ButtonGlyph> glyphs[] = {
        {"Pfeil_Left.bmp", ButtonGlyph::Left},
        {"Pfeil_Right.bmp", ButtonGlyph::Right},
        {"Drucker.bmp", ButtonGlyph::Printer},
    };
    for (const auto& [name, glyph] : glyphs) {
        const ButtonGlyph which = glyph;
        out.append({QStringLiteral("Graphic/BMP/") + QLatin1String(name),
                    FileFormat::Bmp,
                    {QSize(24, 24)},
                    [which](QSize size) {
                        Canvas canvas(size, QSizeF(24, 24), colour::buttonFace);
                        drawButtonGlyph(canvas.painter(), which);
                        return flattened(canvas.finish(), colour::buttonFace);
                    }});
    }
    out.append({QStringLiteral("Dilboscan.ico"),
                FileFormat::Ico,
                {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48), QSize(64, 64),
                 QSize(256, 256)},
                [](QSize size) { return programIcon(size.width()); }});
    const std::pair<const char*, void (*)(QPainter&)> dishes[] = {
        {"Erdbeer_Marzipan_Torte.png", drawStrawberryCake},
        {"ChiliconCarneschnell.png", drawChili},
        {"Pancakes.png", drawPancakes},
        {"Vegetable_Curry.png", drawCurry},
        {"Cheese_Fondue.png", drawFondue},
        {"Belgian_Waffles.png", drawWaffles},
    };
    for (const auto& [name, draw] : dishes)
        out.append(
            png(QStringLiteral("Graphic/PNG/") + QLatin1String(name), {281, 145}, drawnDish(draw)));
}

bool writeBytes(const QString& path, const QByteArray& bytes, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

QImage programIcon(int size)
{
    Canvas canvas(QSize(size, size), QSizeF(32, 32));
    drawProgramIcon(canvas.painter());
    return canvas.finish();
}

QList<Picture> installationPictures()
{
    QList<Picture> out;
    addKindPictures(out);
    addEditorPictures(out);
    addOtherPictures(out);
    return out;
}

QList<Picture> desktopIcons()
{
    QList<Picture> out;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        out.append(png(QStringLiteral("%1x%1/apps/dilboscan.png").arg(size), {size, size},
                       [](QSize s) { return programIcon(s.width()); }));
    }
    return out;
}

bool writePicture(const QString& folder, const Picture& picture, QString* error)
{
    const QString path = QDir(folder).filePath(picture.path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        *error = QStringLiteral("%1: cannot create the folder").arg(path);
        return false;
    }
    QList<QImage> images;
    for (QSize size : picture.sizes)
        images.append(picture.render(size));
    switch (picture.format) {
    case FileFormat::Ico:
        return writeBytes(path, icoFileBytes(images), error);
    case FileFormat::Png:
    case FileFormat::Bmp: {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!images.first().save(&buffer, picture.format == FileFormat::Png ? "PNG" : "BMP")) {
            *error = QStringLiteral("%1: cannot encode the picture").arg(path);
            return false;
        }
        return writeBytes(path, bytes, error);
    }
    }
    return false;
}

} // namespace gfx
