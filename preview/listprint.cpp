// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/listprint.h"

#include "imaging/pictureloader.h"
#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/richtext/richpainter.h"
#include "preview/printing.h"
#include "preview/printjob.h"
#include "preview/rounding.h"

#include <QHash>
#include <QPainter>

#include <algorithm>

namespace {

QString text(const QByteArray& bytes)
{
    return cp1252::toUnicode(bytes);
}

// The type icons of one job, each file read once: the printer then holds one copy of
// each picture however many recipes show it. Transparent parts become white paper.
class ListIcons {
public:
    explicit ListIcons(const QString& baseFolder) : m_base(baseFolder) {}

    const QImage& icon(int type)
    {
        const auto found = m_icons.constFind(type);
        if (found != m_icons.constEnd())
            return *found;
        QImage image;
        const QString file = listIconFile(type);
        if (!file.isEmpty()) {
            const QString path = lookupPath(m_base + QStringLiteral("Graphic/PNG/") + file);
            const QImage loaded = path.isEmpty() ? QImage() : loadPicture(path);
            if (!loaded.isNull()) {
                image = QImage(loaded.size(), QImage::Format_RGB32);
                image.fill(Qt::white);
                QPainter(&image).drawImage(0, 0, loaded);
            }
        }
        return *m_icons.insert(type, image);
    }

private:
    QString m_base;
    QHash<int, QImage> m_icons;
};

} // namespace

QString FitListLine(rich::DeviceFont& font, const QString& text, int width)
{
    int total = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        total += font.advanceAt(text, i);
    if (total <= width)
        return text;
    const QString dots = QStringLiteral("...");
    const int room = width - 3 * font.advance(U'.');
    int used = 0;
    qsizetype end = 0;
    // The second half of a surrogate pair has no width: it always stays with the first.
    while (end < text.size() && used + font.advanceAt(text, end) <= room)
        used += font.advanceAt(text, end++);
    return text.left(end) + dots;
}

ListEntryText ListEntryLines(const TKV& kv, int index)
{
    const TKVG& r = kv.at(index);
    const QString page = text(r.Page);
    QString s = !r.Binder.isEmpty()     ? text(r.Binder)
                : !r.Magazine.isEmpty() ? text(r.Magazine)
                                        : text(r.Book);
    if (!page.isEmpty() && !s.isEmpty())
        s += QStringLiteral(" page ") + page;
    if (SecondRecipeType(kv, index) != NoRecipeType && !s.isEmpty()) {
        QString t;
        if (!r.Magazine.isEmpty())
            t = s + QStringLiteral(" - ") + text(r.Magazine);
        else if (!r.Book.isEmpty())
            t = s + QStringLiteral(" - ") + text(r.Book);
        if (!page.isEmpty() && !t.isEmpty())
            s = t + QStringLiteral(" (page ") + page + QLatin1Char(')');
    }
    QString info;
    if (!s.isEmpty() && !r.Remark.isEmpty())
        info = QStringLiteral("Comments: ") + text(r.Remark);
    if (s.isEmpty()) {
        if (!r.Categories.isEmpty())
            s = QStringLiteral("Categories: ") + text(r.Categories);
        if (!r.Servings.isEmpty())
            info = QStringLiteral("Number of Servings: ") + text(r.Servings);
        if (!r.PrepTime.isEmpty()) {
            if (!info.isEmpty())
                info += QStringLiteral(" - ");
            info += QStringLiteral("cooking time: ") + text(r.PrepTime);
        }
    }
    return {s, info};
}

QList<int> ListedRecipes(const TKV& kv)
{
    QList<int> byRow;
    for (int i = 0; i < kv.size(); ++i) {
        const int row = kv.at(i).ListIndex;
        if (row < 1)
            continue;
        if (byRow.size() < row)
            byRow.resize(row, -1);
        byRow[row - 1] = i;
    }
    byRow.removeAll(-1);
    return byRow;
}

QString listIconFile(int type)
{
    static const char* const kFiles[] = {"Normal_48.png", "Deluxe_48.png", "Ordner_48.png",
                                         "Zeitschrift_48.png", "Buch_48.png"};
    return type >= 0 && type < int(std::size(kFiles)) ? QString::fromLatin1(kFiles[type])
                                                      : QString();
}

bool PrintRecipeList(PrintJob& job, const TDrucker& geometry, const TKV& kv, const QList<int>& rows,
                     const QString& baseFolder, QString* error)
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
    regular.setPointSize(10);
    rich::CharFormat bold = regular;
    bold.style = rich::Bold;
    rich::DeviceFont& font = printer.font(regular);
    const int iw = font.advance(U'W') * 3;
    const int ih = font.height() * 3;
    const int gap = font.height() / 2;
    ListIcons icons(baseFolder);
    // Text ends kRightMarginCm before the paper's right edge and inside what the printer
    // can print: a long remark is cut with "..." instead of running off the paper.
    const int right =
        std::min(job.pageSize().width() - roundEven(kRightMarginCm * job.resolution() / 2.54),
                 job.printableArea().right() + 1);

    int x = g.PrintOffsetX;
    int y = g.PrintOffsetY;
    for (qsizetype n = 0; n < rows.size(); ++n) {
        const int index = rows.at(n);
        const int top = y;
        for (int type :
             {RecipeType(kv, index), SecondRecipeType(kv, index), ThirdRecipeType(kv, index)}) {
            const QImage& icon = icons.icon(type);
            if (icon.isNull()) {
                x += iw + gap;
                continue;
            }
            // The icon lies at the block's corner, measured from the print offset like
            // the text beside it.
            int ix = x - g.PrintOffsetX;
            int iy = top - g.PrintOffsetY;
            PrintPicture(painter, g, ix, iy, icon, ih, iw);
            x = g.PrintOffsetX + ix + gap;
        }
        const ListEntryText lines = ListEntryLines(kv, index);
        const int width = right - x;
        rich::RichDocument block;
        block.appendLine(FitListLine(printer.font(bold), text(kv.at(index).Name), width),
                         block.intern(bold));
        block.appendLine(FitListLine(font, lines.source, width), block.intern(regular));
        block.appendLine(FitListLine(font, lines.info, width), block.intern(regular));
        rich::DrawRichText(printer, painter, x, y, block);

        y = top + ih + gap;
        x = g.PrintOffsetX;
        if (y + ih + gap >= g.PrintHeight && n + 1 < rows.size()) {
            if (!job.newPage(error)) {
                job.abort(painter);
                return false;
            }
            y = g.PrintOffsetY;
        }
    }
    return job.end(painter, error);
}
