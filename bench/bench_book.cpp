// SPDX-License-Identifier: GPL-2.0-or-later
// A cookbook of generated recipes to PDF with --print-book, against printing the same
// recipes one by one with --print-pdf --deluxe (each a run of the program, as a user
// would script it) in the same run: the book's wall time over the sum of the single
// prints. Then the book's peak memory (maximum resident set of the program's process)
// for a quarter of the recipes and for all of them, which should not grow with the
// number of recipes.
//
//   QT_QPA_PLATFORM=offscreen bench_book [recipes]

#include "recipegenerator.h"

#include "app/startup.h"
#include "platform/cp1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace {

struct Run {
    bool ok = false;
    double ms = 0;
    long peakKb = 0;
};

// Runs the program in folder with arguments; its wall time and peak resident memory.
Run runProgram(const QString& folder, const QStringList& arguments)
{
    QList<QByteArray> args{QByteArray(DILBOSCAN_BINARY)};
    for (const QString& a : arguments)
        args.append(a.toLocal8Bit());
    QList<char*> argv;
    for (QByteArray& a : args)
        argv.append(a.data());
    argv.append(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, QFile::encodeName(folder).constData());
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        return run;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    run.ms = timer.nsecsElapsed() / 1e6;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakKb = usage.ru_maxrss;
    return run;
}

// A base folder of count generated recipes with the shipped interface pictures.
QString makeCollection(const QString& root, int count)
{
    const QString base = root + QStringLiteral("/%1/").arg(count);
    RecipeGenerator generator;
    generator.writeCollection(base, count);
    QDir(base + QStringLiteral("Graphic")).removeRecursively();
    copyFolder(QStringLiteral(DILBO_SOURCE_DIR "/data/Graphic"), base + QStringLiteral("Graphic"));
    return base;
}

QStringList recipeNames(const QString& base)
{
    TKV kv;
    loadCatalogueAtStartup(base, kv, nullptr);
    QStringList names;
    for (const TKVG& r : kv)
        names << cp1252::toUnicode(r.Name);
    return names;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(4, std::atoi(argv[1])) : 200;
    QTemporaryDir dir;
    const QString base = makeCollection(dir.path(), count);
    const QString quarter = makeCollection(dir.path(), count / 4);

    const QStringList names = recipeNames(base);
    double singles = 0;
    int failed = 0;
    for (int i = 0; i < names.size(); ++i) {
        const Run one =
            runProgram(base, {QStringLiteral("--print-pdf"), QStringLiteral("single%1.pdf").arg(i),
                              QStringLiteral("--recipe"), names[i], QStringLiteral("--deluxe")});
        singles += one.ms;
        failed += one.ok ? 0 : 1;
    }
    const Run book = runProgram(base, {QStringLiteral("--print-book"), QStringLiteral("book.pdf")});
    const Run small =
        runProgram(quarter, {QStringLiteral("--print-book"), QStringLiteral("book.pdf")});
    if (!book.ok || !small.ok || failed)
        std::printf("FAILED: book %d, quarter book %d, single prints failed %d\n", book.ok,
                    small.ok, failed);
    std::printf(
        "%d recipes: --print-book %.0f ms, %d x --print-pdf %.0f ms, ratio %.2f (goal <= 1.2)\n",
        int(names.size()), book.ms, int(names.size()), singles, book.ms / singles);
    std::printf("peak memory of --print-book: %d recipes %ld kB, %d recipes %ld kB, ratio %.2f\n",
                count / 4, small.peakKb, count, book.peakKb, double(book.peakKb) / small.peakKb);
    std::printf("book sizes: %lld / %lld bytes\n",
                qlonglong(QFileInfo(quarter + QStringLiteral("book.pdf")).size()),
                qlonglong(QFileInfo(base + QStringLiteral("book.pdf")).size()));
    return 0;
}
