// SPDX-License-Identifier: GPL-2.0-or-later
// Reading the catalogue: ReadCatalogue plus the sort by name over a generated
// collection, against a plain read of every byte of the same files in the same run.
//
//   bench_catalogue [count]          timing and memory (default 10,000 recipes)
//   bench_catalogue --generate FOLDER count   write a collection (for profiling)
//   bench_catalogue --read FOLDER             read once and report peak memory

#include "benchsupport.h"
#include "recipegenerator.h"

#include "platform/filelookup.h"
#include "recipes/recipefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Resident and peak resident memory of this process in KiB.
qint64 statusKiB(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

int readOnce(const QString& baseFolder)
{
    const qint64 before = statusKiB("VmRSS:");
    TKV kv;
    ReadCatalogue(baseFolder, kv);
    SortByName(kv);
    const qint64 peak = statusKiB("VmHWM:");
    std::printf("%lld %lld %lld\n", static_cast<long long>(before), static_cast<long long>(peak),
                static_cast<long long>(kv.size()));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--read"))
        return readOnce(args[2]);
    if (args.size() == 4 && args[1] == QLatin1String("--generate")) {
        RecipeGenerator().writeCollection(args[2] + QLatin1Char('/'), args[3].toInt());
        return 0;
    }

    const int count = args.size() > 1 ? args[1].toInt() : 10000;
    QTemporaryDir dir;
    const QString base = dir.path() + QLatin1Char('/');
    const qint64 totalBytes = RecipeGenerator().writeCollection(base, count);
    std::printf("%d recipes, %.1f MB of recipe files\n", count, totalBytes / 1e6);

    QList<double> plain, catalogue, sortOnly;
    for (int run = 0; run < 7; ++run) {
        plain << timeMs([&] { plainReadOfRecipes(base); });
        TKV kv;
        catalogue << timeMs([&] {
            ReadCatalogue(base, kv);
            SortByName(kv);
        });
        ReadCatalogue(base, kv);
        sortOnly << timeMs([&] { SortByName(kv); });
        if (kv.size() != count)
            std::printf("warning: read %lld recipes\n", static_cast<long long>(kv.size()));
    }
    const double p = median(plain), c = median(catalogue);
    std::printf("plain read of every byte: %8.1f ms (median of 7)\n", p);
    std::printf("ReadCatalogue + sort:     %8.1f ms (sort alone %.1f ms)\n", c, median(sortOnly));
    std::printf("ratio catalogue / plain:  %8.2f (goal <= 2.0)\n", c / p);

    QProcess child;
    child.start(app.applicationFilePath(), {QStringLiteral("--read"), base});
    child.waitForFinished(-1);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() == 3) {
        const double grownKiB = fields[1].toDouble() - fields[0].toDouble();
        std::printf("peak memory of the read: %.1f MB over the start, %.2f x the file size\n",
                    grownKiB / 1024, grownKiB * 1024 / double(totalBytes));
    }
    return 0;
}
