// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up to a shown main window over a generated collection of 10,000 recipes, and
// one full reload of the list, against a plain read of every byte of the recipe files
// in the same run; also how much longer the search index takes on its second thread,
// and a reload while that thread still works. Runs offscreen.
//
//   QT_QPA_PLATFORM=offscreen bench_startup [count]

#include "benchsupport.h"
#include "recipegenerator.h"

#include "app/F_main.h"
#include "app/application.h"
#include "common/session.h"
#include "platform/filelookup.h"
#include "recipes/recipefile.h"

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

    QList<double> plain, start, reload, reloadAtOnce, ready;
    for (int run = 0; run < 5; ++run) {
        plain << timeMs([&] { plainReadOfRecipes(base); });
        Application application;
        QString error;
        bool started = false;
        start << timeMs([&] {
            started = application.start(&error);
            app.processEvents(); // the first paint of the shown window
        });
        if (!started) {
            std::fprintf(stderr, "start failed: %s\n", qPrintable(error));
            return 1;
        }
        TFMain* main = application.mainWindow();
        // The search index is prepared on a second thread after each reload; the reload
        // is measured once that work is done, and again at once after another reload.
        ready << timeMs([&] { main->searchIndex().waitUntilBuilt(); });
        reload << timeMs([&] {
            main->FillRecipeList(true);
            app.processEvents();
        });
        reloadAtOnce << timeMs([&] {
            main->FillRecipeList(true);
            app.processEvents();
        });
        main->searchIndex().waitUntilBuilt();
        main->setOptionsRead(false);
    }
    const double p = median(plain);
    std::printf("%d recipes, medians of 5 runs\n", count);
    std::printf("plain read of every byte:      %8.1f ms\n", p);
    std::printf("start-up to a shown window:    %8.1f ms  (%.2f x the plain read)\n", median(start),
                median(start) / p);
    std::printf("one full reload of the list:   %8.1f ms  (%.2f x the plain read)\n",
                median(reload), median(reload) / p);
    std::printf("  the same right after a reload: %7.1f ms  (%.2f x the plain read)\n",
                median(reloadAtOnce), median(reloadAtOnce) / p);
    std::printf("search index ready after the shown window: %.1f ms more\n", median(ready));
    return 0;
}
