// SPDX-License-Identifier: GPL-2.0-or-later
// The whole `dilboscan --export-json` command over a generated collection whose recipes
// also name side files, half of them missing, against `cat` of the same files (every
// recipe and side file) in the same run. Both write to /dev/null; each run is timed from
// start to exit; then `dilboscan --export-html` of the same collection against `cp -r` of
// its recipe folder, both writing a new folder beside it. Its peak memory (maximum resident set) is what /usr/bin/time reports
// for it: a fork of this larger process would count this process's pages as the child's.
//
//   bench_export [count ...]     default 10,000 recipes; the collection lives in a
//                                temporary folder (below TMPDIR) that is removed after;
//                                needs /usr/bin/time (Debian package "time")

#include "benchsupport.h"
#include "recipegenerator.h"

#include "recipes/recipefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct ChildRun {
    double ms = 0;
    double peakMB = 0;
    int status = -1;
};

// Runs command in folder under /usr/bin/time, standard output to /dev/null, and waits.
ChildRun runChild(const QString& folder, const QStringList& command)
{
    QTemporaryFile report;
    report.open();
    const QStringList timed =
        QStringList{QStringLiteral("/usr/bin/time"), QStringLiteral("-f"), QStringLiteral("%M"),
                    QStringLiteral("-o"), report.fileName()} +
        command;
    std::vector<QByteArray> bytes;
    for (const QString& arg : timed)
        bytes.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& arg : bytes)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    const QByteArray dir = QFile::encodeName(folder);

    ChildRun run;
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        // A long argument list needs a larger stack limit (the kernel allows a quarter).
        const rlimit stack{rlim_t(256) << 20, rlim_t(256) << 20};
        ::setrlimit(RLIMIT_STACK, &stack);
        const int null = ::open("/dev/null", O_WRONLY);
        if (null < 0 || ::dup2(null, 1) < 0 || ::chdir(dir.constData()) != 0)
            ::_exit(126);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    if (pid > 0)
        ::waitpid(pid, &run.status, 0);
    run.ms = timer.nsecsElapsed() / 1e6;
    run.peakMB = report.readAll().trimmed().toDouble() * 1024 / 1e6;
    return run;
}

// --export-html into a new folder against cp -r of the recipe folder to a new folder;
// each output is removed before the next run, so every run writes as much.
int measureHtml(const QString& base)
{
    const QString site = base + QStringLiteral("site");
    const QString copy = base + QStringLiteral("copy");
    const QStringList cp{QStringLiteral("/bin/cp"), QStringLiteral("-r"), QStringLiteral("prepared_recipes"), copy};
    const QStringList html{QStringLiteral(DILBO_PROGRAM), QStringLiteral("--export-html"), site};
    QList<double> cpMs, htmlMs, ratios;
    for (int run = 0; run < 6; ++run) { // the first pair warms the file cache
        const ChildRun c = runChild(base, cp);
        const ChildRun h = runChild(base, html);
        const int pages = int(QDir(site).entryList({QStringLiteral("*.html")}, QDir::Files).size());
        QDir(copy).removeRecursively();
        QDir(site).removeRecursively();
        if (c.status != 0 || h.status != 0 || pages == 0) {
            std::fprintf(stderr, "a run failed: cp status %d, export status %d, %d pages\n",
                         c.status, h.status, pages);
            return 1;
        }
        if (run == 0)
            continue;
        cpMs << c.ms;
        htmlMs << h.ms;
        ratios << h.ms / c.ms;
    }
    std::printf("  cp -r of the recipe folder: %9.1f ms (median of 5)\n", median(cpMs));
    std::printf("  --export-html:              %9.1f ms (median of 5)\n", median(htmlMs));
    std::printf("  time ratio export-html / cp -r: %6.2f (median of the pairs; goal <= 3.0)\n",
                median(ratios));
    return 0;
}

int measure(int count)
{
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    qint64 sideBytes = 0;
    const qint64 recipeBytes = RecipeGenerator().writeCollection(base, count, &sideBytes);
    const QString folder = recipeFolder(base);
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    const double totalMB = double(recipeBytes + sideBytes) / 1e6;
    std::printf("%d recipes: %lld files, %.1f MB (%.1f MB recipe files, %.1f MB side files)\n",
                count, static_cast<long long>(files.size()), totalMB, recipeBytes / 1e6,
                sideBytes / 1e6);

    const QStringList cat = QStringList{QStringLiteral("cat")} + files;
    const QStringList exportCommand{QStringLiteral(DILBO_PROGRAM), QStringLiteral("--export-json")};
    QList<double> catMs, exportMs, ratios;
    double catPeak = 0, exportPeak = 0;
    for (int run = 0; run < 6; ++run) { // the first pair warms the file cache
        const ChildRun c = runChild(folder, cat);
        const ChildRun e = runChild(base, exportCommand);
        if (c.status != 0 || e.status != 0) {
            std::fprintf(stderr, "a run failed: cat status %d, export status %d\n", c.status,
                         e.status);
            return 1;
        }
        if (run == 0)
            continue;
        catMs << c.ms;
        exportMs << e.ms;
        ratios << e.ms / c.ms;
        catPeak = qMax(catPeak, c.peakMB);
        exportPeak = qMax(exportPeak, e.peakMB);
    }
    std::printf("  cat of the files:   %9.1f ms (median of 5), peak memory %.1f MB\n",
                median(catMs), catPeak);
    std::printf("  --export-json:      %9.1f ms (median of 5), peak memory %.1f MB\n",
                median(exportMs), exportPeak);
    std::printf("  time ratio export / cat:        %6.2f (median of the pairs; goal <= 3.0)\n",
                median(ratios));
    std::printf("  peak memory / total file size:  %6.2f (goal <= 2.0)\n", exportPeak / totalMB);
    return measureHtml(base);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts << QByteArray(argv[i]).toInt();
    if (counts.isEmpty())
        counts << 10000;
    for (int count : counts) {
        if (const int failed = measure(count))
            return failed;
    }
    return 0;
}
