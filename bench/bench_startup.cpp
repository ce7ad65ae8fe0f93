// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up to a shown main window over a generated collection of 10,000 recipes, and
// one full reload of the list, against a plain read of every byte of the recipe files
// in the same run; also when the search is ready, from the search index cache and
// without it (prepared on a second thread), and a reload while that thread still works.
// Runs offscreen.
//
//   QT_QPA_PLATFORM=offscreen bench_startup [count]

#include "benchsupport.h"
#include "recipegenerator.h"

#include "app/F_main.h"
#include "app/application.h"
#include "common/session.h"
#include "platform/filelookup.h"
#include "recipes/recipefile.h"
#include "recipes/searchcache.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    RecipeGenerator().writeCollection(base, count);
    copyFolder(QStringLiteral(DILBO_SOURCE_DIR "/data/Graphic"), base + QStringLiteral("Graphic"));
    QDir().mkpath(base + QStringLiteral("PRGDATA"));
    QDir::setCurrent(base);

    // Each run starts twice: with the search index cache that the run before wrote (the
    // usual start), and without it, when the index is prepared on the second thread.
    QList<double> plain, start, ready, startCold, readyCold, reload, reloadAtOnce;
    for (int run = -1; run < 5; ++run) {
        for (const bool cached : {true, false}) {
            if (!cached)
                QFile::remove(searchCachePath(base));
            if (cached && run >= 0)
                plain << timeMs([&] { plainReadOfRecipes(base); });
            Application application;
            QString error;
            bool started = false;
            const double startMs = timeMs([&] {
                started = application.start(&error);
                app.processEvents(); // the first paint of the shown window
            });
            if (!started) {
                std::fprintf(stderr, "start failed: %s\n", qPrintable(error));
                return 1;
            }
            TFMain* main = application.mainWindow();
            const double readyMs = timeMs([&] { main->searchIndex().waitUntilBuilt(); });
            if (run >= 0) {
                (cached ? start : startCold) << startMs;
                (cached ? ready : readyCold) << startMs + readyMs;
            }
            if (!cached && run >= 0) {
                // A reload once the index is done, and again at once after another one.
                reload << timeMs([&] {
                    main->FillRecipeList(true);
                    app.processEvents();
                });
                reloadAtOnce << timeMs([&] {
                    main->FillRecipeList(true);
                    app.processEvents();
                });
            }
            main->searchIndex().waitUntilBuilt(); // and its cache written
            main->setOptionsRead(false);
        }
    }
    const double p = median(plain);
    const auto line = [p](const char* what, const QList<double>& samples) {
        std::printf("%-46s %8.1f ms  (%.2f x the plain read)\n", what, median(samples),
                    median(samples) / p);
    };
    std::printf("%d recipes, medians of 5 runs\n", count);
    std::printf("%-46s %8.1f ms\n", "plain read of every byte:", p);
    line("start-up to a shown window:", start);
    line("  search ready, from the search index cache:", ready);
    line("start-up without the search index cache:", startCold);
    line("  search ready, index prepared:", readyCold);
    line("one full reload of the list:", reload);
    line("  the same right after a reload:", reloadAtOnce);
    return 0;
}
