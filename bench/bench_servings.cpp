// SPDX-License-Identifier: GPL-2.0-or-later
// Changing the servings in the print preview of a recipe with 60 ingredient rows, every
// element shown: from the new value to the window painted again (the quantities of the
// temporary copies rewritten, the changed elements laid out and placed), against
// QTextLayout laying out and drawing the same changed texts once in the same run. One
// frame at 60 Hz is 16.7 ms; the goal is below 16 ms. Two recipes: a normal one with
// 60 free ingredient lines and a deluxe one with 60 rows.
//
//   QT_QPA_PLATFORM=offscreen bench_servings [changes]
//
// TMPDIR=/dev/shm leaves the file system's own cost of replacing files out.

#include "benchsupport.h"
#include "previewbench.h"
#include "recipegenerator.h"

#include "platform/richtext/rtfreader.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "preview/servingsscale.h"

#include <QAction>
#include <QApplication>
#include <QDoubleSpinBox>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kRows = 60;

// Quantities as recipes write them, some that cannot be read among them.
const char* const kAmounts[] = {"1 1/2", "250", "2-3", "0,5", "3/4", "", "12", "1/3", "2"};
const char* const kUnits[] = {"cups", "g", "tbsp", "l", "tsp", "", "", "cup", "cans"};

TKVG servingsRecipe(const QString& base, bool deluxe)
{
    QRandomGenerator random(17);
    TKVG r =
        benchRecipe(base, deluxe ? QStringLiteral("Deluxe.vrez") : QStringLiteral("Cake.vrez"));
    r.Servings = "4 people";
    r.Kind = deluxe ? 1 : 0;
    const TSTRING names = cookingLines(random, kRows, 2);
    for (int k = 0; k < kRows; ++k) {
        const int n = k % int(std::size(kAmounts));
        const QByteArray amount = kAmounts[n];
        const QByteArray unit = kUnits[n];
        if (deluxe) {
            r.Quantities << amount;
            r.Units << unit;
            r.IngredientNames << names.at(k);
        } else {
            QByteArray line = amount.isEmpty() ? QByteArray("a pinch of") : amount;
            if (!unit.isEmpty())
                line += ' ' + unit;
            line += ' ';
            line += names.at(k);
            r.Ingredients << line;
        }
    }
    if (deluxe)
        r.Descriptions = cookingLines(random, kRows, 3);
    return r;
}

struct Figures {
    QList<double> wall;
    QList<double> cpu;
    QList<double> qtWall;
    QList<double> qtCpu;
    int texts = 0;
};

void measure(TFVor& preview, int changes, Figures& f)
{
    for (QAction* item : preview.unitItems) {
        if (item->isEnabled() && !item->isChecked())
            item->trigger();
    }
    preview.DeselectAll();
    QCoreApplication::processEvents();
    // Servings one after another, never the same twice in a row.
    const double counts[] = {3, 12, 6, 8, 2, 10, 5, 4};
    for (int c = 0; c < changes; ++c) {
        const double count = counts[c % std::size(counts)];
        // Process CPU time on both sides, as qtBaseline measures it.
        const double cpuStart = cpuMs();
        f.wall << timeMs([&] {
            preview.ServingsBox->setValue(count);
            QCoreApplication::processEvents(); // the window painted
        });
        f.cpu << cpuMs() - cpuStart;
        // The baseline: the texts that changed, laid out and drawn by QTextLayout.
        QList<rich::RichDocument> texts;
        QList<int> widths;
        for (int i : kScaledElements) {
            const TGFXL& e = preview.elements().at(i);
            if (!e.Shown || e.ContentFile.isEmpty())
                continue;
            rich::RichDocument doc;
            rich::readRtfFile(e.ContentFile, doc);
            texts << doc;
            widths << e.width() - 4;
        }
        const auto [wall, cpu] = qtBaseline(texts, widths);
        f.qtWall << wall;
        f.qtCpu << cpu;
        f.texts = int(texts.size());
    }
}

void run(const char* name, const TKVG& recipe, int changes)
{
    Catalogue catalogue;
    catalogue.recipes = {recipe};
    catalogue.CurrentRecipe = 0;
    Figures f;
    SetPreviewShownHook([&](TFVor& preview) {
        measure(preview, changes, f);
        preview.close();
    });
    OpenPreview(catalogue, true, false);
    const double a = median(f.wall);
    const double b = median(f.qtWall);
    const double ac = median(f.cpu);
    const double bc = median(f.qtCpu);
    std::printf("%-18s servings changed %6.2f ms (slowest %6.2f)  QTextLayout %5.2f ms"
                "  (%d texts)  ratio %.2f  (CPU time: %.2f / %.2f ms, ratio %.2f)  %s\n",
                name, a, *std::max_element(f.wall.cbegin(), f.wall.cend()), b, f.texts,
                b > 0 ? a / b : 0.0, ac, bc, bc > 0 ? ac / bc : 0.0,
                a < 16 ? "within one frame" : "OVER ONE FRAME");
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int changes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    setUpPreviewBase(
        base, std::make_unique<FixedPagePrinter>(QStringLiteral("Laser"), QSize(4900, 6400), 600));
    run("(warm-up)", servingsRecipe(base, false), 3); // the font caches of both sides
    run("normal, 60 lines", servingsRecipe(base, false), changes);
    run("deluxe, 60 rows", servingsRecipe(base, true), changes);
    return 0;
}
