// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/shoppingprint.h"

#include "common/errorreport.h"
#include "common/session.h"
#include "platform/richtext/richlayout.h"
#include "platform/richtext/richpainter.h"
#include "preview/printdialog.h"
#include "preview/printing.h"
#include "preview/printjob.h"
#include "preview/previewstate.h"
#include "preview/rounding.h"
#include "recipes/shoppingsheet.h"

#include <QDir>
#include <QPainter>

#include <algorithm>

namespace {

// A block of text wrapped to width on the printer; its height is what it takes.
struct Block {
    rich::RichDocument doc;
    int height = 0;
};

Block wrapped(rich::RenderTarget& printer, const QList<std::pair<QString, rich::CharFormat>>& lines,
              int width)
{
    Block block;
    for (const auto& [text, format] : lines)
        block.doc.appendLine(text, block.doc.intern(format));
    block.height =
        rich::WrapText(printer, block.doc, std::max(1, width), -1, rich::PrinterStatus::Available);
    return block;
}

// The box in front of a line, its top-left corner at (x, y); crossed when ticked.
void drawBox(QPainter& painter, int x, int y, int side, int pen, bool ticked)
{
    painter.save();
    painter.setPen(QPen(Qt::black, pen));
    painter.setBrush(Qt::NoBrush);
    const QRect box(x, y, side, side);
    painter.drawRect(box);
    if (ticked) {
        const int in = side / 5;
        painter.drawLine(box.left() + in, box.top() + in, box.right() - in, box.bottom() - in);
        painter.drawLine(box.left() + in, box.bottom() - in, box.right() - in, box.top() + in);
    }
    painter.restore();
}

} // namespace

bool PrintShoppingSheet(PrintJob& job, const TDrucker& geometry, const ShoppingSheet& sheet,
                        QString* error)
{
    const TDrucker g = PrintGeometryForPage(geometry, job.pageSize());
    if (g.PrintWidth <= 0 || g.PrintHeight <= 0) {
        if (error)
            *error = QStringLiteral("The printer has no printable page for this paper format; "
                                    "nothing was printed.");
        return false;
    }
    QPainter painter;
    if (!job.begin(painter, error))
        return false;
    rich::RenderTarget printer(job.device(), rich::TargetKind::Printer);
    rich::CharFormat regular;
    regular.fontName = QStringLiteral("Arial");
    regular.setPointSize(11);
    rich::CharFormat small = regular;
    small.setPointSize(8);
    small.color = 0xff555555;
    rich::CharFormat heading = regular;
    heading.setPointSize(14);
    heading.style = rich::Bold;
    rich::DeviceFont& font = printer.font(regular);
    const int gap = font.height() / 3;
    const int side = font.ascent() * 4 / 5;
    const int boxRoom = side + font.advance(U'W');
    const int pen = std::max(1, job.resolution() / 150);
    // Text ends kRightMarginCm before the paper's right edge and inside what the printer
    // can print, as on the recipe list.
    const int right =
        std::min(job.pageSize().width() - roundEven(kRightMarginCm * job.resolution() / 2.54),
                 job.printableArea().right() + 1);
    const int top = g.PrintOffsetY;
    const int bottom = g.PrintOffsetY + g.PrintHeight;
    const int left = g.PrintOffsetX;

    int y = top;
    // Starts a new page when a block of height does not fit below y; a block taller
    // than a whole page starts at the top of one.
    const auto roomFor = [&](int height) {
        if (y == top || y + height <= bottom)
            return true;
        if (!job.newPage(error)) {
            job.abort(painter);
            return false;
        }
        y = top;
        return true;
    };
    const auto draw = [&](Block& block, int x) {
        int drawX = x;
        int drawY = y;
        rich::DrawRichText(printer, painter, drawX, drawY, block.doc);
    };

    QList<std::pair<QString, rich::CharFormat>> head{{QStringLiteral("Shopping list"), heading}};
    for (const ShoppingSheet::Recipe& recipe : sheet.recipes())
        head.append({recipe.name + QStringLiteral(": ") + ShoppingSheet::amountText(recipe), regular});
    Block headBlock = wrapped(printer, head, right - left);
    draw(headBlock, left);
    y += headBlock.height + 2 * font.height();

    for (const ShoppingSheet::Line& line : sheet.lines()) {
        QList<std::pair<QString, rich::CharFormat>> texts{{line.text(), regular}};
        if (!line.merged.recipes.isEmpty())
            texts.append({line.merged.recipes.join(QStringLiteral(", ")), small});
        Block block = wrapped(printer, texts, right - left - boxRoom);
        if (!roomFor(block.height))
            return false;
        drawBox(painter, left, y + (font.ascent() - side), side, pen, line.ticked);
        draw(block, left + boxRoom);
        y += block.height + gap;
    }
    return job.end(painter, error);
}

void PrintShoppingSheetOnChosen(QWidget* parent, const ShoppingSheet& sheet)
{
    // The default paper, as the recipe list prints on.
    InitPaperFormats(CurrentPaperFormats());
    TDrucker& d = CurrentDrucker();
    ComputePageMetrics(d, CurrentPaperFormats(), kDefaultFormatIndex, CurrentSettings().landscape,
                       false);
    const QString title = QStringLiteral("Shopping list");
    PrinterChoice choice;
    if (!ChoosePrinter(parent, currentPaperCm(), d.PageLandscape,
                       QDir::homePath() + QStringLiteral("/Shopping list.pdf"), &choice))
        return;
    const auto job = MakePrintJob(choice, currentPaperCm(), d.PageLandscape, title,
                                  PrintJobName(QStringLiteral("shopping list")));
    QString error;
    if (!PrintShoppingSheet(*job, d, sheet, &error))
        ReportError(parent, error);
}
