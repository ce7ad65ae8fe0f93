// SPDX-License-Identifier: GPL-2.0-or-later
// One keystroke in the search box: FilterRecipeRows over 10,000 generated recipes with
// prepared search indexes (no reload), against a plain substring scan (memmem) of the
// recipes' prepared lines for the same words, sauce spellings included, in the same run.
//
//   bench_fill [count]

#include "benchsupport.h"
#include "recipegenerator.h"

#include "recipes/recipelist.h"
#include "recipes/textrules.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

int plainScan(const SearchIndex& index, const QByteArrayList& words)
{
    int hits = 0;
    for (qsizetype i = 0; i < index.size(); ++i) {
        bool all = true;
        const QByteArrayView lines = index.lines(int(i));
        for (const QByteArray& word : words) {
            all = all && ::memmem(lines.data(), size_t(lines.size()), word.constData(),
                                  size_t(word.size())) != nullptr;
        }
        hits += all;
    }
    return hits;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    RecipeGenerator generator;
    TKV kv;
    for (int i = 0; i < count; ++i)
        kv << generator.recipe(i, QStringLiteral("/base/prepared_recipes/"));
    SortByName(kv);
    SearchIndex index;
    const double prepare = timeMs([&] { index.rebuild(kv); });
    std::printf("%d recipes; preparing the search indexes (once per reload): %.1f ms\n", count,
                prepare);
    SearchIndex scanned(SearchIndex::Options{0, false}); // keeps the prepared lines
    scanned.rebuild(kv);

    const QByteArrayList texts{"o",  "onion", "onion garlic", "cr\xe8me sauce", "golden minutes",
                               "xyz"};
    for (const QByteArray& text : texts) {
        ListFilter filter;
        filter.searchText = text;
        const QByteArrayList words = SplitSearchWords(text, true, true, true).words;
        QList<double> fill, scan;
        int rows = 0, hits = 0;
        for (int run = 0; run < 21; ++run) {
            fill << timeMs([&] { rows = int(FilterRecipeRows(kv, index, filter).size()); });
            scan << timeMs([&] { hits = plainScan(scanned, words); });
        }
        std::printf("search %-16s fill %6.2f ms (%5d rows)  plain scan %6.2f ms (%5d hits)  "
                    "ratio %.2f\n",
                    QByteArray('"' + text + '"').constData(), median(fill), rows, median(scan),
                    hits, median(fill) / median(scan));
    }
    std::printf("goal: ratio <= 2.0 and a fill within one frame (16 ms)\n");
    return 0;
}
