// SPDX-License-Identifier: GPL-2.0-or-later
// Opening the print preview on a recipe, from the command to the shown window with every
// element shown, against laying out and drawing the same texts once with QTextLayout
// in the same run. Two recipes: a normal one with 5,000 characters of formatted
// instructions, and a deluxe one with 30 rows. Prints the medians and their ratio. The
// progress window's deliberate pauses (100 ms before it shows) are left out.
//
//   QT_QPA_PLATFORM=offscreen bench_preview [repetitions [normal|deluxe]]
//
// Every opening creates the preview's temporary files anew below TMPDIR and closing
// deletes them. Creating files right after deleting others is slow on some file
// systems (ext4 without a journal searches past recently freed inodes), which then
// dominates the small deluxe figures; TMPDIR=/dev/shm measures the program instead.

#include "benchsupport.h"
#include "previewbench.h"
#include "recipegenerator.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/session.h"
#include "platform/richtext/devicefont.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "preview/printers.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextLayout>

#include <cstdio>
#include <ctime>

using namespace rich;

namespace {

TKVG deluxeRecipe(const QString& base)
{
    QRandomGenerator random(13);
    TKVG r = benchRecipe(base, QStringLiteral("Deluxe.vrez"));
    r.Kind = 1;
    r.Quantities = cookingLines(random, 30, 1);
    r.Units = cookingLines(random, 30, 1);
    r.IngredientNames = cookingLines(random, 30, 2);
    r.Descriptions = cookingLines(random, 30, 5);
    return r;
}

struct Opened {
    double ms = 0;
    double cpu = 0;
    QList<RichDocument> texts; ///< the shown texts as laid out, for the baseline
    QList<int> widths;
};

Opened openPreview(Catalogue& catalogue)
{
    Opened result;
    QElapsedTimer timer;
    double cpuStart = 0;
    SetPreviewShownHook([&](TFVor& preview) {
        for (QAction* item : preview.unitItems) {
            if (item->isEnabled() && !item->isChecked())
                item->trigger();
        }
        QCoreApplication::processEvents(); // the window painted
        result.ms = timer.nsecsElapsed() / 1e6;
        result.cpu = cpuMs() - cpuStart;
        for (int i = 0; i < kElementCount; ++i) {
            const TGFXL& e = preview.elements().at(i);
            if (!e.Shown || e.IsPicture || e.ContentFile.isEmpty())
                continue;
            RichDocument doc;
            readRtfFile(e.ContentFile, doc);
            result.texts << doc;
            result.widths << e.width() - 4;
        }
        preview.close();
    });
    timer.start();
    cpuStart = cpuMs();
    ShowProgress();
    OpenPreview(catalogue, true, false);
    return result;
}

void run(const char* name, Catalogue& catalogue, int repetitions)
{
    QList<double> ours;
    QList<double> qt;
    QList<double> oursCpu;
    QList<double> qtCpu;
    int texts = 0;
    for (int r = 0; r < repetitions; ++r) {
        const Opened opened = openPreview(catalogue);
        const auto [wall, cpu] = qtBaseline(opened.texts, opened.widths);
        ours << opened.ms;
        oursCpu << opened.cpu;
        qt << wall;
        qtCpu << cpu;
        texts = int(opened.texts.size());
    }
    const double a = median(ours);
    const double b = median(qt);
    const double ac = median(oursCpu);
    const double bc = median(qtCpu);
    std::printf("%-26s preview %7.2f ms  QTextLayout %6.2f ms  (%d texts)  ratio %.2f"
                "  (CPU time: %.2f / %.2f ms, ratio %.2f)\n",
                name, a, b, texts, b > 0 ? a / b : 0.0, ac, bc, bc > 0 ? ac / bc : 0.0);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    // The progress window waits 100 ms before it shows and 50 ms after it hides, on
    // purpose; setUpPreviewBase leaves those pauses out of the figures.
    setUpPreviewBase(
        base, std::make_unique<FixedPagePrinter>(QStringLiteral("Laser"), QSize(4900, 6400), 600));

    Catalogue normal;
    normal.recipes = {normalBenchRecipe(base)};
    normal.CurrentRecipe = 0;
    Catalogue deluxe;
    deluxe.recipes = {deluxeRecipe(base)};
    deluxe.CurrentRecipe = 0;
    openPreview(normal); // warms the font caches of both sides
    const QString only = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    if (only != QLatin1String("deluxe"))
        run("normal, 5,000 characters", normal, repetitions);
    if (only != QLatin1String("normal"))
        run("deluxe, 30 rows", deluxe, repetitions);
    return 0;
}
