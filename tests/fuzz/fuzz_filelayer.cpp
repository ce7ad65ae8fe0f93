// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target for the file layer around the parsers: each input builds a recipe
// folder of files of random kinds (current and old recipe files, side files, FIFOs,
// folders and links where files belong, links to devices, temporary files left by a
// crash, names that are not UTF-8) with random line ends, and the program's readers
// go over it as start-up and the export do.
//
// Nothing may crash, hang (a FIFO read would wait for ever) or grow without bound (a
// device read would); every converted old file must read as current afterwards, and
// the leftover temporary files, and only they, must be removed.

#include "platform/safefile.h"
#include "platform/textfile.h"
#include "recipes/recipefile.h"
#include "recipes/recipetexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "fuzz_filelayer: %s\n", what);
        std::abort();
    }
}

QByteArray withLineEnds(const QByteArray& text, int style)
{
    static const char* const kEnds[] = {"\r\n", "\n", "\r"};
    QByteArray out = text;
    out.replace("\r\n", "\n");
    return out.replace('\n', kEnds[style % 3]);
}

void writeRaw(const QByteArray& path, const QByteArray& bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    if (::write(fd, bytes.constData(), size_t(bytes.size())) < 0)
        std::perror("write");
    ::close(fd);
}

// A stored side-file path: beside the recipe, from another system, or a device.
QString storedPath(FuzzedDataProvider& in, const QString& folder, int count)
{
    const int other = in.ConsumeIntegralInRange<int>(0, count);
    const QString suffix = QStringLiteral(".00%1").arg(in.ConsumeIntegralInRange<int>(1, 7));
    switch (in.ConsumeIntegralInRange<int>(0, 4)) {
    case 0:
        return folder + QStringLiteral("r%1.vrez").arg(other) + suffix;
    case 1:
        return QStringLiteral("C:\\Kochen\\prepared_recipes\\R%1.VREZ").arg(other) + suffix;
    case 2:
        return QStringLiteral("/dev/zero");
    case 3:
        return QStringLiteral("/dev/stdin");
    default:
        return QString::fromUtf8(in.ConsumeRandomLengthString(40));
    }
}

struct Folder {
    QByteArray path; // with a trailing "/"
    int leftovers = 0;
};

void addEntry(FuzzedDataProvider& in, const Folder& folder, int index, int count)
{
    const QByteArray name = (in.ConsumeBool() ? "r" : "R") + QByteArray::number(index) +
                            (in.ConsumeBool() ? ".vrez" : ".VREZ");
    const QByteArray path = folder.path + name;
    const int lineEnds = in.ConsumeIntegralInRange<int>(0, 2);
    switch (in.ConsumeIntegralInRange<int>(0, 9)) {
    case 0: { // a current recipe that names side files
        TKVG r;
        r.Name = QByteArray::fromStdString(in.ConsumeRandomLengthString(30));
        r.Instructions = {QByteArray::fromStdString(in.ConsumeRandomLengthString(60))};
        for (const RecipeTextField& field : recipeTextFields()) {
            if (in.ConsumeBool())
                r.*field.richText = storedPath(in, QFile::decodeName(folder.path), count);
        }
        writeRaw(path, withLineEnds(recipeFileBytes(r), lineEnds));
        break;
    }
    case 1: // a current header and anything after it
        writeRaw(path, withLineEnds("[MENDRAKE_TARVOLIN 2.00]\n" +
                                        QByteArray::fromStdString(in.ConsumeRandomLengthString()),
                                    lineEnds));
        break;
    case 2: // an old recipe file
        writeRaw(path, withLineEnds("[MENDRAKE_TARVOLIN 1.5]\n" +
                                        QByteArray::fromStdString(in.ConsumeRandomLengthString()),
                                    lineEnds));
        break;
    case 3: // a side file
        writeRaw(QByteArray(path + ".00") + QByteArray::number(in.ConsumeIntegralInRange<int>(1, 7)),
                 "{\\rtf1\\ansi " + QByteArray::fromStdString(in.ConsumeRandomLengthString()) + "}");
        break;
    case 4: // a FIFO where a recipe or side file belongs
        ::mkfifo(QByteArray(in.ConsumeBool() ? path : path + ".003").constData(), 0600);
        break;
    case 5: // a folder where a file belongs
        ::mkdir(QByteArray(in.ConsumeBool() ? path : path + ".001").constData(), 0700);
        break;
    case 6: // links to a device and to nothing
        ::symlink("/dev/zero", QByteArray(in.ConsumeBool() ? path : path + ".002").constData());
        ::symlink("/nonexistent/file", QByteArray(path + ".004").constData());
        break;
    case 7: // a save killed before its rename
        writeRaw(QByteArray(path + ".dilbotmp-0badf00d-Ab12C") + QByteArray::number(index % 10),
                 QByteArray::fromStdString(in.ConsumeRandomLengthString()));
        break;
    case 8: // a name that is not UTF-8
        writeRaw(QByteArray(folder.path + "Kn\xf6" + name), "[MENDRAKE_TARVOLIN 2.00]\r\n");
        break;
    default: // arbitrary bytes
        writeRaw(path, QByteArray::fromStdString(in.ConsumeRandomLengthString()));
        break;
    }
}

/// Removes a folder with everything in it, FIFOs included, when it goes out of scope.
struct Remover {
    std::string path;
    ~Remover()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // QTemporaryDir cannot remove FIFOs; the folder is removed below instead.
    QTemporaryDir dir;
    dir.setAutoRemove(false);
    const Remover remover{QFile::encodeName(dir.path()).toStdString()};
    const QString base = dir.path() + QLatin1Char('/');
    QDir().mkpath(recipeFolder(base));
    Folder folder{QFile::encodeName(recipeFolder(base))};
    const int count = in.ConsumeIntegralInRange<int>(1, 8);
    for (int i = 0; i < count; ++i)
        addEntry(in, folder, i, count);
    int leftovers = 0;
    for (const QString& name : QDir(recipeFolder(base)).entryList(QDir::Files | QDir::Hidden))
        leftovers += name.contains(QLatin1String(".dilbotmp-")) ? 1 : 0;

    const auto ended = [](const QString&) { return false; };
    check(removeLeftoverTemporaryFiles(recipeFolder(base), ended).size() == leftovers,
          "leftover temporary files were not all removed");
    TKV kv;
    QList<FileProblem> problems;
    ReadCatalogue(base, kv, &problems, OldFiles::Convert);
    for (const TKVG& r : kv) {
        for (const RecipeTextField& field : recipeTextFields())
            displayedText(r, field);
    }
    // Every old file was converted or reported.
    for (const QString& name : QDir(recipeFolder(base)).entryList({QStringLiteral("*.vrez")},
                                                                   QDir::Files)) {
        QByteArray bytes;
        // An old file is one whose first line is the old header; a file that merely
        // starts with its letters is neither old nor current and is passed over.
        if (!readWholeFile(recipeFolder(base) + name, &bytes) ||
            LineReader(bytes).readLine() != "[MENDRAKE_TARVOLIN 1.5]")
            continue;
        bool reported = false;
        for (const FileProblem& problem : problems)
            reported = reported || problem.file.endsWith(name);
        check(reported, "an old file was neither converted nor reported");
    }
    return 0;
}
