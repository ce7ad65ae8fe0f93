// SPDX-License-Identifier: GPL-2.0-or-later
// The main list following files that another program changes in a large collection:
// one changed recipe file, and 10,000 files added in one go, each from the watcher's
// report to the list shown again, in processor time of the window's thread, against a
// plain read of the same files in the same run. Runs offscreen.
//
//   QT_QPA_PLATFORM=offscreen bench_watch [count]

#include "benchsupport.h"
#include "recipegenerator.h"

#include "app/F_main.h"
#include "app/recipelistmodel.h"
#include "common/session.h"
#include "platform/folderwatcher.h"
#include "recipes/recipefile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

namespace {

qint64 plainRead(const QString& folder, const QStringList& names)
{
    qint64 bytes = 0;
    for (const QString& name : names) {
        QFile file(folder + name);
        if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            bytes += file.readAll().size();
    }
    return bytes;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    RecipeGenerator generator;
    generator.writeCollection(base, count);
    copyFolder(QStringLiteral(DILBO_SOURCE_DIR "/data/Graphic"), base + QStringLiteral("Graphic"));
    QDir().mkpath(base + QStringLiteral("PRGDATA"));
    setBaseFolder(base);
    CurrentSettings() = initialSettings(base);
    const QString folder = recipeFolder(base);

    Catalogue catalogue;
    TFMain main(catalogue);
    main.folderWatcher()->setDelays(3600 * 1000, 3600 * 1000); // reports only when asked
    main.FillRecipeList(true);
    main.show();
    app.processEvents();
    main.searchIndex().waitUntilBuilt();
    // A search is on, as it often is: the list is searched again with the change.
    main.ESuchen->setText(QStringLiteral("fluffy"));
    main.searchIndex().waitUntilBuilt();
    app.processEvents();

    // One file changed, twenty times over: each time another recipe's file gets a new
    // line of instructions, as a second copy of the program saving it would write; and
    // twenty times a recipe that gets another name, so that it moves in the list.
    QList<double> oneRead, oneUpdate, oneMoved;
    for (int run = 0; run < 40; ++run) {
        const QString name = QStringLiteral("recipe %1.vrez").arg((run * 7919) % count);
        QFile file(folder + name);
        TKVG r;
        if (!file.open(QIODevice::ReadOnly) || !parseRecipeFile(file.readAll(), r, nullptr))
            return 1;
        file.close();
        r.Instructions.append(QByteArray(QByteArray("whisk until fluffy, run ") + QByteArray::number(run)));
        const bool moves = run >= 20;
        if (moves)
            r.Name.prepend("Quick ");
        if (!file.open(QIODevice::WriteOnly) || file.write(recipeFileBytes(r)) < 0)
            return 1;
        file.close();
        const QStringList names{name};
        if (!moves)
            oneRead << timeStep([&] { plainRead(folder, names); }).cpu;
        (moves ? oneMoved : oneUpdate) << timeStep([&] {
                                              main.applyFolderChanges(names);
                                              app.processEvents(); // the list painted again
                                          }).cpu;
    }

    // 10,000 files added by another program in one go.
    QStringList added;
    for (int i = 0; i < 10000; ++i) {
        const TKVG r = generator.recipe(count + i, folder);
        QFile file(r.FilePath);
        if (!file.open(QIODevice::WriteOnly) || file.write(recipeFileBytes(r)) < 0)
            return 1;
        added << r.FileName;
    }
    const double manyRead = timeStep([&] { plainRead(folder, added); }).cpu;
    const StepTime manyUpdate = timeStep([&] {
        main.applyFolderChanges(added);
        app.processEvents();
    });
    const double rebuild = timeStep([&] { main.searchIndex().waitUntilBuilt(); }).wall;
    const int rows = main.listModel()->rowCount();

    std::printf("%d recipes, a search for \"fluffy\" on; processor time of the window's thread\n",
                count);
    std::printf("one changed file, read plainly:   %8.3f ms (median of 20)\n", median(oneRead));
    std::printf("  into the list:                  %8.3f ms  (%.1f x the plain read)\n",
                median(oneUpdate), median(oneUpdate) / median(oneRead));
    std::printf("  renamed inside, so it moves:    %8.3f ms  (%.1f x the plain read)\n",
                median(oneMoved), median(oneMoved) / median(oneRead));
    std::printf("10,000 added files, read plainly: %8.1f ms\n", manyRead);
    std::printf("  into the list:                  %8.1f ms  (%.2f x the plain read; %.1f ms "
                "wall)\n",
                manyUpdate.cpu, manyUpdate.cpu / manyRead, manyUpdate.wall);
    std::printf("  search lines prepared again on the second thread: %.1f ms more (wall)\n",
                rebuild);
    std::printf("list rows afterwards: %d\n", rows);
    main.setOptionsRead(false);
    return 0;
}
