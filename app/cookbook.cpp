// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/cookbook.h"

#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/hook.h"
#include "common/session.h"
#include "platform/cp1252.h"
#include "platform/pdfnavigation.h"
#include "preview/F_Vor.h"
#include "preview/bookplan.h"
#include "preview/openpreview.h"
#include "preview/pagegeometry.h"
#include "preview/previewstate.h"
#include "preview/printing.h"
#include "preview/printjob.h"
#include "preview/recipefill.h"
#include "preview/streamedpdfjob.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr int kDeluxeQuestion = 13;

// The deluxe question is answered with Yes, any other with No, and errors are collected:
// nothing waits for the user while the book is made. The hooks set before come back
// when the book is done.
class Unattended {
public:
    explicit Unattended(QStringList* problems)
        : m_msg(hookSlot<SetShowMsgHook>()), m_report(hookSlot<SetErrorReportHook>())
    {
        SetShowMsgHook([](int number, int, int) {
            return number == kDeluxeQuestion ? kAnswerYes : kAnswerNo;
        });
        SetErrorReportHook([problems](const QString& text) {
            if (problems && !problems->contains(text))
                problems->append(text);
        });
    }
    ~Unattended()
    {
        SetShowMsgHook(m_msg);
        SetErrorReportHook(m_report);
    }
    Unattended(const Unattended&) = delete;
    Unattended& operator=(const Unattended&) = delete;

private:
    ShowMsgHook m_msg;
    ErrorReportHook m_report;
};

// Lays recipe index out in the preview window; false with a line in problems when it
// cannot be. The caller ends the layout with endLayout.
bool layOut(Catalogue& catalogue, int index, QStringList* problems)
{
    catalogue.CurrentRecipe = index;
    QString error;
    if (LayOutRecipe(catalogue, QString(), &error, DamagedDraft::Abandon))
        return true;
    if (problems) {
        problems->append(QStringLiteral("\"%1\" was left out of the book%2")
                             .arg(cp1252::toUnicode(catalogue.recipes[index].Name),
                                  error.isEmpty() ? QString() : QStringLiteral(": ") + error));
    }
    return false;
}

void endLayout(TFVor& preview)
{
    DeletePreviewFiles(preview.elements(), BaseFolder());
    preview.ReleaseElements();
}

QFont bookFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Drawing the book's own pages and the page numbers on the job's pages, and the links
// and outline of a PDF file.
class BookPages {
public:
    BookPages(PrintJob& job, const TDrucker& geometry) : m_job(job)
    {
        m_dpi = job.resolution();
        m_sheet = PlaceSheetOnPage(geometry, m_dpi, job.printableArea());
        m_sheetRect = QRectF(m_sheet.origin,
                             QSizeF(geometry.SheetWidth, geometry.SheetHeight) * m_sheet.scale);
        m_printableBottom = job.printableArea().height();
    }

    bool usable() const { return m_sheet.scale > 0; }
    const SheetOnPage& sheet() const { return m_sheet; }
    int dpi() const { return m_dpi; }

    // Contents lines that fit below the heading of a contents page.
    int linesPerPage() const
    {
        const double room = m_sheetRect.height() - headingHeight();
        return int(room / lineHeight());
    }

    void drawTitle(QPainter& painter, const QString& title, int recipes) const
    {
        painter.save();
        painter.setFont(bookFont(28, true));
        QRectF upper = m_sheetRect;
        upper.setHeight(m_sheetRect.height() * 0.45);
        painter.drawText(upper, Qt::AlignHCenter | Qt::AlignBottom | Qt::TextWordWrap, title);
        painter.setFont(bookFont(12));
        QRectF lower = m_sheetRect;
        lower.setTop(upper.bottom() + lineHeight());
        painter.drawText(lower, Qt::AlignHCenter | Qt::AlignTop,
                         recipes == 1 ? QStringLiteral("1 recipe")
                                      : QStringLiteral("%1 recipes").arg(recipes));
        painter.restore();
    }

    // Draws a contents page and notes a link from each recipe line to its page.
    void drawContents(QPainter& painter, const QList<ContentsLine>& lines, int pageIndex)
    {
        painter.save();
        painter.setFont(bookFont(18, true));
        painter.drawText(
            QRectF(m_sheetRect.topLeft(), QSizeF(m_sheetRect.width(), headingHeight())),
            Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Contents"));
        double y = m_sheetRect.top() + headingHeight();
        for (const ContentsLine& line : lines) {
            const QRectF box(m_sheetRect.left(), y, m_sheetRect.width(), lineHeight());
            painter.setFont(bookFont(11, line.heading));
            if (line.heading) {
                painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, line.text);
            } else {
                const QString number = QString::number(line.page + 1);
                const double numberWidth = QFontMetricsF(painter.font(), m_job.device())
                                               .horizontalAdvance(QStringLiteral("00000"));
                const QRectF name = box.adjusted(lineHeight(), 0, -numberWidth, 0);
                const QString text = QFontMetricsF(painter.font(), m_job.device())
                                         .elidedText(line.text, Qt::ElideRight, name.width());
                painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, text);
                painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, number);
                m_links.append({pageIndex, box, line.page});
            }
            y += lineHeight();
        }
        painter.restore();
    }

    // The page's number centred in the bottom margin, below the elements on the page.
    void drawNumber(QPainter& painter, int pageIndex, const QList<QRectF>& elements) const
    {
        painter.save();
        painter.resetTransform();
        painter.setFont(bookFont(9));
        const QString text = QString::number(pageIndex + 1);
        const QFontMetricsF metrics(painter.font(), m_job.device());
        const QRectF box = PageNumberBox(m_sheetRect, elements, m_printableBottom,
                                         QSizeF(metrics.horizontalAdvance(text), metrics.height()));
        painter.drawText(box, Qt::AlignCenter, text);
        painter.restore();
    }

    // The rectangles of the elements on a page of the layout, in page pixels.
    QList<QRectF> elementBoxes(const ElementArray& elements, int page) const
    {
        QList<QRectF> boxes;
        for (const TGFXL& e : elements) {
            if (e.Page == page) {
                boxes.append(QRectF(m_sheet.origin + QPointF(e.Left, e.Top) * m_sheet.scale,
                                    QSizeF(e.Bitmap.width(), e.Bitmap.height()) * m_sheet.scale));
            }
        }
        return boxes;
    }

    // The links noted so far in points from the paper's top-left corner (a PDF page is
    // the whole paper).
    QList<pdfnav::Link> links() const
    {
        QList<pdfnav::Link> links = m_links;
        const double points = 72.0 / m_dpi;
        for (pdfnav::Link& link : links)
            link.rect = QRectF(link.rect.topLeft() * points, link.rect.size() * points);
        return links;
    }

private:
    double lineHeight() const { return QFontMetricsF(bookFont(11), m_job.device()).height() * 1.5; }
    double headingHeight() const
    {
        return QFontMetricsF(bookFont(18, true), m_job.device()).height() * 2;
    }

    PrintJob& m_job;
    int m_dpi = 0;
    SheetOnPage m_sheet;
    QRectF m_sheetRect;
    double m_printableBottom = 0;
    QList<pdfnav::Link> m_links;
};

// The outline: the contents, then each group's heading with its recipes, or the
// recipes alone.
QList<pdfnav::OutlineItem> outlineOf(const BookPlan& plan)
{
    QList<pdfnav::OutlineItem> items{{QStringLiteral("Contents"), plan.firstContentsPage(), {}}};
    qsizetype group = -1;
    for (const QList<ContentsLine>& page : plan.contents) {
        for (const ContentsLine& line : page) {
            if (line.heading) {
                items.append({line.text, 0, {}});
                group = items.size() - 1;
                continue;
            }
            const pdfnav::OutlineItem entry{line.text, line.page, {}};
            if (group < 0) {
                items.append(entry);
                continue;
            }
            // A heading shows the page of its first recipe.
            if (items[group].children.isEmpty())
                items[group].page = line.page;
            items[group].children.append(entry);
        }
    }
    return items;
}

} // namespace

QString firstCategory(const TKVG& recipe)
{
    return cp1252::toUnicode(recipe.Categories.split(',').value(0)).trimmed();
}

BookResult PrintBook(PrintJob& job, Catalogue& catalogue, const BookRequest& request,
                     const BookProgress& progress, QString* error, QStringList* problems)
{
    const Unattended unattended(problems);
    TFVor& preview = *PreviewWindow();
    const int steps = 2 * int(request.recipes.size());
    int done = 0;
    const auto step = [&] { return !progress || progress(++done, steps); };

    // First pass: the pages each recipe takes.
    QList<BookRecipe> listed;
    QList<int> indexes;
    for (int index : request.recipes) {
        if (layOut(catalogue, index, problems)) {
            const TKVG& recipe = catalogue.recipes[index];
            listed.append({cp1252::toUnicode(recipe.Name), firstCategory(recipe),
                           preview.state().LastPageIndex + 1});
            indexes.append(index);
            endLayout(preview);
        }
        if (!step())
            return BookResult::Cancelled;
    }
    const TDrucker& geometry = CurrentDrucker();
    BookPages pages(job, geometry);
    if (!pages.usable()) {
        if (error)
            *error = QStringLiteral("The printer has no printable page for this paper format; "
                                    "nothing was printed.");
        return BookResult::Failed;
    }
    const BookPlan plan = PlanBook(listed, request.grouped, pages.linesPerPage());

    QPainter painter;
    if (!job.begin(painter, error))
        return BookResult::Failed;
    rich::RenderTarget printer(job.device(), rich::TargetKind::Printer);
    int pageIndex = 0;
    // Ends the current page with its number and starts the next one.
    const auto turn = [&](const QList<QRectF>& elements) {
        pages.drawNumber(painter, pageIndex, elements);
        ++pageIndex;
        return pageIndex == plan.pageCount || job.newPage(error);
    };
    const auto failed = [&] {
        job.abort(painter);
        return BookResult::Failed;
    };
    pages.drawTitle(painter, request.title, int(listed.size()));
    if (!turn({}))
        return failed();
    for (const QList<ContentsLine>& contents : plan.contents) {
        pages.drawContents(painter, contents, pageIndex);
        if (!turn({}))
            return failed();
    }
    for (int position = 0; position < plan.order.size(); ++position) {
        const int listedAt = plan.order[position];
        if (!layOut(catalogue, indexes[listedAt], problems)) {
            if (error)
                *error = QStringLiteral("\"%1\" could not be laid out again; nothing was printed.")
                             .arg(listed[listedAt].name);
            return failed();
        }
        const ElementArray& elements = preview.elements();
        const auto richEdit = [&preview](int i) -> rich::RichDocument& {
            return preview.richEdit(i);
        };
        // The page count of the first pass holds, so the contents stay right.
        for (int p = 0; p < listed[listedAt].pages; ++p) {
            PrintSheetPage(painter, printer, geometry, pages.sheet(), pages.dpi(), elements,
                           richEdit, p);
            if (!turn(pages.elementBoxes(elements, p))) {
                endLayout(preview);
                return failed();
            }
        }
        endLayout(preview);
        if (!step()) {
            job.abort(painter);
            return BookResult::Cancelled;
        }
    }
    if (auto* pdf = dynamic_cast<StreamedPdfPrintJob*>(&job)) {
        const QList<pdfnav::Link> links = pages.links();
        const QList<pdfnav::OutlineItem> outline = outlineOf(plan);
        pdf->setFinisher([links, outline](QIODevice& document, QString* why) {
            return pdfnav::addNavigation(document, links, outline, why);
        });
    }
    return job.end(painter, error) ? BookResult::Printed : BookResult::Failed;
}
