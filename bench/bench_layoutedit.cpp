// SPDX-License-Identifier: GPL-2.0-or-later
// Laying an element out with the mouse in the print preview, on the description of a
// recipe holding 5,000 characters of formatted text fitted to the sheet's width:
//
// - one drag step (pointer moved with the button held, the element moved and the
//   window repainted) against drawing the element's image once at a new place on a
//   sheet-sized picture; the drag must lay no text out at all, which the run counts;
// - deselecting the element after its right edge was dragged to a new width (the text
//   laid out again and drawn) against QTextLayout laying the same text out at that
//   width.
//
//   QT_QPA_PLATFORM=offscreen bench_layoutedit [steps]

#include "benchsupport.h"
#include "previewbench.h"
#include "recipegenerator.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/session.h"
#include "platform/richtext/devicefont.h"
#include "platform/richtext/richlayout.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "preview/F_Vor.h"
#include "preview/elementimage.h"
#include "preview/layoutediting.h"
#include "preview/openpreview.h"
#include "preview/printers.h"
#include "preview/render.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextLayout>

#include <cstdio>

using namespace rich;

namespace {

/// Counts the paint events an object gets, to show that each drag step repainted.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

/// QTextLayout laying out doc's lines at width, each run in its own font.
void qtLayout(const RichDocument& doc, int width, QPaintDevice* device)
{
    qreal y = 0;
    for (const RichLine& line : doc.lines()) {
        QList<QTextLayout::FormatRange> formats;
        for (qsizetype i = 0; i < line.text.size();) {
            qsizetype end = i + 1;
            while (end < line.text.size() && line.formats.at(end) == line.formats.at(i))
                ++end;
            QTextCharFormat qf;
            qf.setFont(fontForDevice(doc.format(line.formats.at(i)), kScreenDpi));
            formats.append({int(i), int(end - i), qf});
            i = end;
        }
        QTextLayout layout(line.text, fontForDevice(doc.defaultFormat(), kScreenDpi), device);
        layout.setFormats(formats);
        layout.beginLayout();
        for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
            l.setLineWidth(width);
            l.setPosition(QPointF(0, y));
            y += l.height();
        }
        layout.endLayout();
    }
}

void measure(TFVor& v, int steps)
{
    v.Rezepttext1Click(); // shown at the origin and selected
    v.state().MouseX = 5;
    v.state().MouseY = 5;
    v.Neujustieren1Click(); // fitted to the sheet's width
    TGFXL& e = v.elements()[kDescription];
    const QSize sheet = v.IBlatt->size();
    std::printf("element: %d x %d pixels on a %d x %d sheet\n", e.width(), e.height(),
                sheet.width(), sheet.height());

    // Drag: narrowed to 600 pixels so that it can move sideways, selected by mouse,
    // grabbed near its top and moved back and forth.
    v.DeselectAll();
    v.state().MouseX = e.Left + 5;
    v.state().MouseY = e.Top + 5;
    v.SelectElement(true, kDescription);
    e.DragMode = kDragRight;
    v.FormMouseMove(v.IBlatt->pos() + QPoint(e.Left + 600, e.Top + 40), Qt::LeftButton);
    v.DeselectAll();
    std::printf("dragged: %d x %d pixels\n", e.width(), e.height());
    const QPoint grab(e.width() / 2, std::min(e.height() / 2, 100));
    v.state().MouseX = grab.x();
    v.state().MouseY = grab.y();
    v.SelectElement(true, kDescription);
    e.DragMode = kDragMove;
    const QPoint form = v.IBlatt->pos();
    QCoreApplication::processEvents();
    const QImage shown = transparentImage(e.Bitmap);
    QImage page(sheet, QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    QList<double> dragMs, dragCpu;
    QList<double> drawMs, drawCpu;
    PaintCounter counter;
    v.elementImage(kDescription)->installEventFilter(&counter);
    const quint64 passesBefore = layoutPasses();
    for (int s = 0; s < steps; ++s) {
        const QPoint to = form + grab + QPoint(s % 2 ? 40 : 0, 0);
        const StepTime drag = timeStep([&] {
            v.FormMouseMove(to, Qt::LeftButton);
            QCoreApplication::processEvents(); // the window repaints what the move changed
        });
        const StepTime draw = timeStep([&] {
            QPainter painter(&page);
            painter.drawImage(QPoint(e.Left, e.Top), shown);
        });
        dragMs << drag.wall;
        dragCpu << drag.cpu;
        drawMs << draw.wall;
        drawCpu << draw.cpu;
    }
    const quint64 passes = layoutPasses() - passesBefore;
    v.elementImage(kDescription)->removeEventFilter(&counter);
    const double drag = median(dragMs);
    const double draw = median(drawMs);
    std::printf("drag step   %7.3f ms  drawing the image once %7.3f ms  ratio %.2f  "
                "(CPU ratio %.2f)  text layouts during %d steps: %llu, repaints of the "
                "image: %d\n",
                drag, draw, draw > 0 ? drag / draw : 0.0,
                median(drawCpu) > 0 ? median(dragCpu) / median(drawCpu) : 0.0, steps,
                static_cast<unsigned long long>(passes), counter.paints);
    QString error;
    RichDocument text;
    readRtfFile(e.ContentFile, text, &error);
    v.DeselectAll();

    // Resize the right edge, then deselect: the text is laid out at the new width.
    QList<double> deselectMs, deselectCpu;
    QList<double> qtMs, qtCpu;
    QImage device(8, 8, QImage::Format_RGB32);
    for (int s = 0; s < std::max(steps / 10, 9); ++s) {
        const int width = s % 2 ? 500 : 620;
        v.state().MouseX = e.Left + 5;
        v.state().MouseY = e.Top + 5;
        v.SelectElement(true, kDescription);
        e.DragMode = kDragRight;
        v.FormMouseMove(form + QPoint(e.Left + width, e.Top + 40), Qt::LeftButton);
        const StepTime ours = timeStep([&] { v.DeselectAll(); });
        const StepTime theirs = timeStep([&] { qtLayout(text, width - 4, &device); });
        deselectMs << ours.wall;
        deselectCpu << ours.cpu;
        qtMs << theirs.wall;
        qtCpu << theirs.cpu;
    }
    const double ours = median(deselectMs);
    const double qt = median(qtMs);
    std::printf("deselect after resize %7.2f ms  QTextLayout at the new width %7.2f ms  "
                "ratio %.2f  (CPU ratio %.2f)\n",
                ours, qt, qt > 0 ? ours / qt : 0.0,
                median(qtCpu) > 0 ? median(deselectCpu) / median(qtCpu) : 0.0);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int steps = argc > 1 ? std::max(10, std::atoi(argv[1])) : 400;
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    setUpPreviewBase(
        base, std::make_unique<FixedPagePrinter>(QStringLiteral("Laser"), QSize(4900, 6400), 600));

    TKVG r;
    r.FileName = QStringLiteral("Cake.vrez");
    r.FilePath = base + QStringLiteral("prepared_recipes/Cake.vrez");
    r.Name = "Chocolate cake";
    r.Ingredients = {"flour", "eggs"};
    r.InstructionsRtf = r.FilePath + QStringLiteral(".003");
    QDir().mkpath(base + QStringLiteral("prepared_recipes"));
    writeRtfFile(r.InstructionsRtf, formattedText(5000));
    Catalogue catalogue;
    catalogue.recipes = {r};
    catalogue.CurrentRecipe = 0;
    SetPreviewShownHook([&](TFVor& v) {
        measure(v, steps);
        v.close();
    });
    OpenPreview(catalogue, true, false);
    return 0;
}
