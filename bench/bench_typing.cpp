// SPDX-License-Identifier: GPL-2.0-or-later
// Typing into the search box over a generated collection: the fill of each keystroke of
// "c", "cr", ... "creme sauce" and back by deletions, with the search index against the
// plain fill that checks every record (no piece index, no reuse), in the same run. Wall-clock
// medians; the processor time of the process is shown beside them, as other programs
// on a shared machine lengthen the wall-clock time. Also
// the list model's update for the same rows, the memory of the index, and a reload of
// the recipe files with and without preparing the index.
//
//   bench_typing [count] [runs] [rare] keystrokes (default 100,000 recipes, 5 runs); rare > 0
//                                     adds made-up words of a vocabulary of that size, one
//                                     word in five (see RecipeGenerator::setRareWords)
//   bench_typing --reload count       reload from files written to a temporary folder

#include "benchsupport.h"
#include "recipegenerator.h"

#include "app/recipelistmodel.h"
#include "recipes/recipefile.h"
#include "recipes/recipelist.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArrayList typingSequence()
{
    const QByteArray text("creme sauce");
    QByteArrayList keys;
    for (qsizetype n = 1; n <= text.size(); ++n)
        keys << text.left(n);
    for (qsizetype n = text.size() - 1; n >= 0; --n)
        keys << text.left(n);
    return keys;
}

TKV generated(int count, int rareWords)
{
    RecipeGenerator generator;
    generator.setRareWords(rareWords);
    TKV kv;
    kv.reserve(count);
    for (int i = 0; i < count; ++i)
        kv << generator.recipe(i, QStringLiteral("/base/prepared_recipes/"));
    SortByName(kv);
    return kv;
}

void reportPercentiles(const char* what, QList<double> samples)
{
    std::sort(samples.begin(), samples.end());
    std::printf("%-34s median %6.2f ms   worst %6.2f ms\n", what, median(samples), samples.last());
}

int typing(int count, int runs, int rareWords)
{
    TKV kv = generated(count, rareWords);
    const QByteArrayList keys = typingSequence();
    SearchIndex::Options plainOptions;
    plainOptions.indexBudget = 0;
    plainOptions.reuseResults = false;
    SearchIndex plain(plainOptions);
    const double prepare = timeMs([&] { plain.rebuild(kv); });
    QList<QList<double>> fast(keys.size()), slow(keys.size()), model(keys.size()),
        fastCpu(keys.size());
    QList<int> rowCounts(keys.size());
    double build = 0;
    qsizetype indexBytes = 0, heldBytes = 0, preparedBytes = plain.preparedBytes();
    RecipeListModel listModel;
    for (int run = 0; run < runs; ++run) {
        SearchIndex index; // a fresh index per run: no results kept from the run before
        build = timeMs([&] { index.rebuild(kv); });
        indexBytes = index.indexBytes();
        heldBytes = index.heldLineBytes();
        for (qsizetype k = 0; k < keys.size(); ++k) {
            ListFilter filter;
            filter.searchText = keys[k];
            QList<int> rows, plainRows;
            // Whichever fill runs second finds the records in the cache: alternate.
            const auto plainFill = [&] {
                slow[k] << timeMs([&] { plainRows = FilterRecipeRows(kv, plain, filter); });
            };
            if (run % 2)
                plainFill();
            const double cpu = cpuMs();
            fast[k] << timeMs([&] { rows = FilterRecipeRows(kv, index, filter); });
            fastCpu[k] << cpuMs() - cpu;
            model[k] << timeMs([&] { listModel.setRows(&kv, rows); });
            if (run % 2 == 0)
                plainFill();
            if (rows != plainRows) {
                std::fprintf(stderr, "rows differ for \"%s\"\n", keys[k].constData());
                return 1;
            }
            rowCounts[k] = int(rows.size());
        }
    }
    std::printf(
        "%d recipes, %s, medians of %d runs (the index is built afresh for each run)\n", count,
        rareWords > 0
            ? qPrintable(QStringLiteral("one word in five from %1 rare ones").arg(rareWords))
            : "48 common words",
        runs);
    std::printf("prepared lines %.1f MB in %.0f ms (the plain fill keeps them); the indexes in "
                "%.0f ms, %.1f MB (%.2f x the lines), lines kept beside them %.1f MB\n",
                preparedBytes / 1e6, prepare, build, indexBytes / 1e6,
                double(indexBytes) / double(preparedBytes), heldBytes / 1e6);
    std::printf("%-14s %7s %9s %9s %9s %6s %9s\n", "keystroke", "rows", "fill ms", "cpu ms",
                "plain ms", "ratio", "model ms");
    QList<double> fills, models, plains, cpus;
    for (qsizetype k = 0; k < keys.size(); ++k) {
        const double f = median(fast[k]), s = median(slow[k]), m = median(model[k]);
        const double cpu = median(fastCpu[k]);
        fills << f;
        plains << s;
        models << m;
        cpus << cpu;
        std::printf("%-14s %7d %9.2f %9.2f %9.2f %6.2f %9.2f\n",
                    QByteArray('"' + keys[k] + '"').constData(), rowCounts[k], f, cpu, s, f / s, m);
    }
    reportPercentiles("fill with the index:", fills);
    double slowest = 0;
    for (const QList<double>& samples : fast)
        slowest = std::max(slowest, *std::max_element(samples.cbegin(), samples.cend()));
    std::printf("%-34s %6.2f ms\n", "  slowest keystroke of all runs:", slowest);
    reportPercentiles("  its processor time:", cpus);
    reportPercentiles("plain fill of every record:", plains);
    reportPercentiles("list model update:", models);
    std::printf("goal: every keystroke under 16 ms, median under 4 ms (10,000 recipes: every "
                "keystroke under 2 ms)\n");
    return 0;
}

// The reload of the list's data: reading the files, sorting, the box entries and the
// fill without search; with the index its lines and pieces are prepared as well.
int reload(int count)
{
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    RecipeGenerator().writeCollection(base, count);
    QList<double> without, withIndex, shown, cpuWith, cpuWithout;
    for (int run = 0; run < 3; ++run) {
        for (int mode = 0; mode < 3; ++mode) {
            TKV kv;
            SearchIndex index;
            const double cpu = cpuMs();
            const double ms = timeMs([&] {
                ReadCatalogue(base, kv);
                SortByName(kv);
                categoryEntries(kv);
                sourceEntries(kv);
                FilterRecipeRows(kv, index, ListFilter());
                if (mode == 1)
                    index.rebuild(kv);
                if (mode == 2)
                    index.rebuildInBackground(kv);
            });
            (mode == 0 ? without : mode == 1 ? withIndex : shown) << ms;
            if (mode == 2) {
                const double ready = timeMs([&] { index.waitUntilBuilt(); });
                cpuWith << cpuMs() - cpu;
                std::printf("run %d: background index ready %.0f ms after the reload returned\n",
                            run, ready);
            } else if (mode == 0) {
                cpuWithout << cpuMs() - cpu;
            }
        }
    }
    const double w = median(without);
    std::printf("%d recipes, medians of 3 runs\n", count);
    std::printf("reload without index:                 %8.0f ms\n", w);
    std::printf("reload preparing the index at once:   %8.0f ms  (%.2f x)\n", median(withIndex),
                median(withIndex) / w);
    std::printf("reload, index on a second thread:     %8.0f ms  (%.2f x)\n", median(shown),
                median(shown) / w);
    std::printf("processor time, index on a second thread until ready: %.0f ms against %.0f ms "
                "(%.2f x)\n",
                median(cpuWith), median(cpuWithout), median(cpuWith) / median(cpuWithout));
    std::printf("goal: at most 1.3 x\n");
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--reload"))
        return reload(args[2].toInt());
    const int count = args.size() > 1 ? args[1].toInt() : 100000;
    const int runs = args.size() > 2 ? args[2].toInt() : 5;
    const int rareWords = args.size() > 3 ? args[3].toInt() : 0;
    return typing(count, runs, rareWords);
}
