// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/draftlayout.h"

#include <QPainter>

#include <utility>

void CapturePlacements(TDruckvorlage& draft, const ElementArray& elements)
{
    draft.Placements.clear();
    for (const TGFXL& e : elements)
        draft.Placements << TElementPlacement{e.Left, e.Top, e.Page};
}

void CaptureLayout(TDruckvorlage& draft, const PreviewState& state, const QString& name,
                   const QString& commentText)
{
    draft.DisplayName = name;
    draft.LayoutKind = state.PreviewKind;
    draft.PaperFormat = state.FormatIndex;
    draft.LastPage = state.LastPageIndex;
    draft.Landscape = state.Landscape;
    draft.DraftComments.clear();
    if (!commentText.isEmpty())
        draft.DraftComments = commentText.split(QLatin1Char('\n'));
}

QImage DrawThumbnail(const ElementArray& elements, int page, QSize sheet)
{
    QImage thumbnail(sheet.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    thumbnail.fill(Qt::white);
    QPainter painter(&thumbnail);
    for (const TGFXL& e : elements) {
        if (e.Page == page && !e.Bitmap.isNull())
            painter.drawImage(e.Left, e.Top, e.Bitmap);
    }
    return thumbnail;
}

namespace {

QString sizeText(double width, double height, bool landscape, const char* unit)
{
    if (landscape)
        std::swap(width, height);
    const QString u = QLatin1String(unit);
    return QString::number(width, 'f', 2) + QLatin1Char(' ') + u + QStringLiteral(" x ") +
           QString::number(height, 'f', 2) + QLatin1Char(' ') + u;
}

} // namespace

QString paperSizeInches(const TDruckModi& format, bool landscape)
{
    return sizeText(format.WidthInch, format.HeightInch, landscape, "inch");
}

QString paperSizeCentimetres(const TDruckModi& format, bool landscape)
{
    return sizeText(format.WidthCm, format.HeightCm, landscape, "cm");
}

QImage pageOutline(bool landscape)
{
    QImage outline(landscape ? QSize(100, 60) : QSize(60, 70), QImage::Format_RGB32);
    outline.fill(Qt::white);
    QPainter painter(&outline);
    painter.setPen(Qt::black);
    painter.drawRect(outline.rect().adjusted(0, 0, -1, -1));
    return outline;
}
