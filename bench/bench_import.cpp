// SPDX-License-Identifier: GPL-2.0-or-later
// Importing a MealMaster collection: importRecipeFiles of one generated file of 10,000
// recipes (about 17 MB) into an empty recipe folder, against the least a crash-safe
// import must do: reading the file, writing the same recipe files (the same records)
// plainly and syncing them once (one sync of the file system and one of the folder),
// in the same run.
//
//   bench_import [count]

#include "benchsupport.h"
#include "recipegenerator.h"

#include "import/importer.h"
#include "import/mealmaster.h"
#include "platform/safefile.h"
#include "recipes/recipefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

QByteArray words(QRandomGenerator& random, int min, int max)
{
    QStringList out;
    const int n = min + random.bounded(max - min + 1);
    for (int i = 0; i < n; ++i)
        out << cookingWord(random);
    return out.join(QLatin1Char(' ')).toLatin1();
}

QByteArray ingredient(QRandomGenerator& random)
{
    static const char* const kQuantities[] = {"1", "2", "1/2", "1 1/2", "3/4", "250", "4", ""};
    static const char* const kUnits[] = {"c", "ts", "tb", "lb", "oz", "g", "md", "", "pn"};
    QByteArray text = words(random, 1, 3);
    if (random.bounded(3) == 0)
        text += "; " + words(random, 1, 2);
    return QByteArray(kQuantities[random.bounded(8)]).rightJustified(7, ' ') + ' ' +
           QByteArray(kUnits[random.bounded(9)]).leftJustified(2, ' ') + ' ' + text.left(28);
}

// A MealMaster file of count recipes in both framings, some with two ingredients a line,
// section headings and continuation lines, directions wrapped at 70 columns.
QByteArray mealMasterFile(int count)
{
    QRandomGenerator random(4711);
    QByteArray out;
    out.reserve(qsizetype(count) * 1800);
    for (int n = 0; n < count; ++n) {
        const bool ms = n % 2;
        out += ms ? "MMMMM----- Recipe via Meal-Master (tm) v8.06\r\n\r\n"
                  : "---------- Recipe via Meal-Master (tm) v8.05\r\n\r\n";
        out += "      Title: " + words(random, 2, 4) + ' ' + QByteArray::number(n) + "\r\n";
        out += " Categories: " + words(random, 1, 1) + ", " + words(random, 1, 1) + "\r\n";
        out += "   Servings: " + QByteArray::number(1 + random.bounded(8)) + "\r\n\r\n";
        const int rows = 6 + random.bounded(8);
        for (int i = 0; i < rows; ++i) {
            if (i == rows / 2)
                out += ms ? "MMMMM--------------------------SAUCE----------------------------\r\n"
                          : "-----------------------------SAUCE-----------------------------\r\n";
            if (i % 3 == 0)
                out +=
                    ingredient(random).leftJustified(40, ' ') + ' ' + ingredient(random) + "\r\n";
            else
                out += ingredient(random) + "\r\n";
            if (i == 1)
                out += "           -" + words(random, 1, 2) + "\r\n";
        }
        out += "\r\n";
        for (int p = 0; p < 5; ++p) {
            QByteArray line = "  ";
            const QByteArray paragraph = words(random, 25, 45);
            for (const QByteArray& word : paragraph.split(' ')) {
                if (line.size() + word.size() > 70) {
                    out += line + "\r\n";
                    line = "  ";
                }
                line += word + ' ';
            }
            out += line + "\r\n\r\n";
        }
        out += ms ? "MMMMM\r\n\r\n" : "-----\r\n\r\n";
    }
    return out;
}

// Writes the file without a temporary name or a sync of its own.
bool writePlainly(const QString& path, const QByteArray& bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), size_t(bytes.size())) == bytes.size();
    return ::close(fd) == 0 && written;
}

// Syncs the file system of folder once, and the folder itself.
void syncOnce(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    ::syncfs(fd);
    ::fsync(fd);
    ::close(fd);
}

void emptyFolder(const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 10000;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("collection.mmf"));
    const QByteArray bytes = mealMasterFile(count);
    if (!writeFileAtomically(file, bytes))
        return 1;
    std::printf("%d MealMaster recipes, one file of %.1f MB\n", count, bytes.size() / 1e6);

    // The records the baseline writes: the ones the import makes, with file names.
    const QString base = dir.path() + QStringLiteral("/base/");
    const QString folder = recipeFolder(base);
    TKV records;
    QList<ImportProblem> problems;
    readMealMaster(
        bytes, file, [&](ImportedRecipe& r) { records << r.toRecord(); }, &problems);
    for (int i = 0; i < records.size(); ++i) {
        records[i].FileName = QStringLiteral("recipe %1.vrez").arg(i);
        records[i].FilePath = folder + records[i].FileName;
    }
    if (records.size() != count || !problems.isEmpty())
        std::printf("warning: %lld recipes read, %lld problems\n",
                    static_cast<long long>(records.size()),
                    static_cast<long long>(problems.size()));

    QList<double> baseline, import, baselineCpu, importCpu;
    for (int run = 0; run < 3; ++run) {
        emptyFolder(folder);
        syncOnce(folder); // the removal of the last run's files is not measured
        double cpu = cpuMs();
        baseline << timeMs([&] {
            QByteArray read;
            readWholeFile(file, &read);
            for (TKVG& record : records) {
                normaliseKind(record);
                if (!writePlainly(record.FilePath, recipeFileBytes(record)))
                    std::printf("warning: %s not written\n", qPrintable(record.FilePath));
            }
            syncOnce(folder);
        });
        baselineCpu << cpuMs() - cpu;
        emptyFolder(folder);
        syncOnce(folder);
        cpu = cpuMs();
        int imported = 0;
        import << timeMs([&] { imported = importRecipeFiles({file}, base).imported; });
        importCpu << cpuMs() - cpu;
        if (imported != count)
            std::printf("warning: %d recipes imported\n", imported);
    }
    const double b = median(baseline), i = median(import);
    std::printf("read, write %d recipe files, sync once: %8.1f ms wall, %8.1f ms CPU (median of 3)\n",
                count, b, median(baselineCpu));
    std::printf("importRecipeFiles:                        %8.1f ms wall, %8.1f ms CPU\n", i,
                median(importCpu));
    std::printf("ratio import / floor:                     %8.2f wall, %.2f CPU (goal <= 3.0)\n",
                i / b, median(importCpu) / median(baselineCpu));
    return 0;
}
