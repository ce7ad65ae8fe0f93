// SPDX-License-Identifier: GPL-2.0-or-later
// Typesets the user manual as a PDF:
//
//   make_manual <manual.html> <base folder> <output.pdf>
//
// A4 pages: a title page with the program icon and the contents, then the manual's
// text with the running title and page numbers at the foot of each page. Pictures in
// the text are taken from the base folder, so the manual shows the program's own icons.

#include "graphics/pictureset.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextStream>
#include <QUrl>

namespace {

const QColor kInk(0x37, 0x40, 0x4a);
const QColor kRed(0xb0, 0x3a, 0x22);
const QColor kRule(0xcf, 0xd6, 0xdd);

struct Heading {
    QString text;
    int page; // 1-based, counting the title page
};

class ManualPrinter {
public:
    ManualPrinter(QPdfWriter& writer, QTextDocument& doc) : m_writer(writer), m_doc(doc)
    {
        // The text is laid out at 96 units per inch, as on screen, so the stylesheet's
        // pixels and the pictures keep their usual size; pages are drawn scaled up.
        m_dpi = writer.resolution();
        m_scale = m_dpi / 96.0;
        m_footer = mm(12);
        m_body = QSizeF(writer.width(), writer.height() - m_footer);
        doc.setPageSize(m_body / m_scale);
    }

    int bodyPages() const { return m_doc.pageCount(); }

    // Moves every heading that would end a page to the top of the next one, so a
    // heading always stands above its text.
    void keepHeadingsWithText()
    {
        for (int pass = 0; pass < 8; ++pass) {
            bool moved = false;
            for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
                const QTextBlock next = block.next();
                if (block.blockFormat().headingLevel() == 0 || !next.isValid() ||
                    block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                    continue;
                if (pageOf(block) == pageOf(next))
                    continue;
                QTextBlockFormat format;
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(block).mergeBlockFormat(format);
                // The layout's own update after a format change loses the pages after
                // the break; lay the whole document out again instead.
                m_doc.markContentsDirty(0, m_doc.characterCount());
                moved = true;
                break; // the pages after it change; look again from the start
            }
            if (!moved)
                return;
        }
    }

    // The first-level headings and the page each starts on.
    QList<Heading> headings() const
    {
        QList<Heading> out;
        for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
            if (block.blockFormat().headingLevel() != 1)
                continue;
            out.append({block.text(), 2 + pageOf(block)});
        }
        return out;
    }

    void print(const QString& title)
    {
        QPainter p(&m_writer);
        p.setRenderHint(QPainter::Antialiasing);
        titlePage(p, title);
        for (int page = 0; page < bodyPages(); ++page) {
            m_writer.newPage();
            p.save();
            p.scale(m_scale, m_scale);
            const QSizeF size = m_doc.pageSize();
            p.translate(0, -page * size.height());
            const QRectF visible(QPointF(0, page * size.height()), size);
            p.setClipRect(visible);
            m_doc.drawContents(&p, visible);
            p.restore();
            footer(p, title, page + 2);
        }
    }

private:
    double mm(double millimetres) const { return millimetres / 25.4 * m_dpi; }

    // The page a block's first line is on (its top margin may still be on the page
    // before); the line's middle decides, as a line starts right at a page's top edge.
    int pageOf(const QTextBlock& block) const
    {
        double y = m_doc.documentLayout()->blockBoundingRect(block).top();
        if (block.layout() && block.layout()->lineCount() > 0) {
            const QTextLine line = block.layout()->lineAt(0);
            y += line.y() + line.height() / 2;
        }
        return int(y / m_doc.pageSize().height());
    }

    QFont font(const char* family, double points, bool bold = false) const
    {
        QFont f(QString::fromLatin1(family));
        f.setPointSizeF(points);
        f.setBold(bold);
        return f;
    }

    void titlePage(QPainter& p, const QString& title)
    {
        const double width = m_writer.width();
        // A warm band across the top with the program icon.
        p.fillRect(QRectF(-mm(20), -mm(20), width + mm(40), mm(95)), QColor(0xfb, 0xea, 0xd5));
        const double icon = mm(38);
        p.drawImage(QRectF((width - icon) / 2, mm(8), icon, icon), gfx::programIcon(512));
        p.setPen(kRed);
        p.setFont(font("DejaVu Sans", 30, true));
        p.drawText(QRectF(0, mm(50), width, mm(16)), Qt::AlignCenter, QStringLiteral("Dilboscan"));
        p.setPen(kInk);
        p.setFont(font("Liberation Sans", 14));
        p.drawText(QRectF(0, mm(66), width, mm(9)), Qt::AlignCenter, title);

        p.setFont(font("DejaVu Sans", 13, true));
        p.drawText(QRectF(0, mm(95), width, mm(10)), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Contents"));
        p.setFont(font("Liberation Sans", 11));
        double y = mm(108);
        const double row = mm(8);
        for (const Heading& heading : headings()) {
            const QRectF line(0, y, width, row);
            p.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, heading.text);
            p.drawText(line, Qt::AlignRight | Qt::AlignVCenter, QString::number(heading.page));
            p.setPen(QPen(kRule, mm(0.2), Qt::DotLine));
            const double textRight = p.fontMetrics().horizontalAdvance(heading.text) + mm(3);
            p.drawLine(QPointF(textRight, y + row * 0.7), QPointF(width - mm(10), y + row * 0.7));
            p.setPen(kInk);
            y += row;
        }
        p.setFont(font("Liberation Sans", 9));
        p.setPen(QColor(0x8d, 0x99, 0xa6));
        p.drawText(QRectF(0, m_writer.height() - mm(10), width, mm(8)), Qt::AlignCenter,
                   QStringLiteral("Your recipes: typed in, on paper, always at hand."));
    }

    void footer(QPainter& p, const QString& title, int page)
    {
        const double top = m_body.height() + mm(4);
        p.setPen(QPen(kRule, mm(0.25)));
        p.drawLine(QPointF(0, top), QPointF(m_body.width(), top));
        p.setPen(QColor(0x8d, 0x99, 0xa6));
        p.setFont(font("Liberation Sans", 8.5));
        const QRectF box(0, top + mm(1), m_body.width(), mm(6));
        p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Dilboscan – ") + title);
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("Page %1 of %2").arg(page).arg(bodyPages() + 1));
    }

    QPdfWriter& m_writer;
    QTextDocument& m_doc;
    int m_dpi = 300;
    double m_scale = 1;
    double m_footer = 0;
    QSizeF m_body;
};

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 4) {
        err << "usage: make_manual <manual.html> <base folder> <output.pdf>" << Qt::endl;
        return 2;
    }
    QFile source(args.at(1));
    if (!source.open(QIODevice::ReadOnly)) {
        err << args.at(1) << ": " << source.errorString() << Qt::endl;
        return 1;
    }
    QTextDocument doc;
    // Relative picture names resolve against the base folder.
    QString base = args.at(2);
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    doc.setMetaInformation(QTextDocument::DocumentUrl, QUrl::fromLocalFile(base).toString());
    doc.setHtml(QString::fromUtf8(source.readAll()));
    doc.setDocumentMargin(0);
    const QString title = QStringLiteral("User manual");

    QPdfWriter writer(args.at(3));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 14), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(QStringLiteral("Dilboscan – ") + title);
    writer.setCreator(QStringLiteral("Dilboscan make_manual"));

    ManualPrinter printer(writer, doc);
    printer.keepHeadingsWithText();
    printer.print(title);
    QTextStream(stdout) << args.at(3) << ": " << printer.bodyPages() + 1 << " pages" << Qt::endl;
    return 0;
}
