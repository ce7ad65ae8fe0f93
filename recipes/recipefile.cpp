// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/recipefile.h"

#include "platform/daycount.h"
#include "platform/filelookup.h"
#include "platform/safefile.h"
#include "platform/textfile.h"
#include "recipes/textrules.h"
#include "recipes/upgrade.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <QVarLengthArray>
#include <algorithm>
#include <vector>

namespace {

constexpr int kReservedLines = 100;

void writeList(LineWriter& out, const TSTRING& lines)
{
    out.writeInteger(lines.size());
    for (QByteArrayView line : lines)
        out.writeText(line);
}

// Paths are file-system names; the file holds them in the code page.
void writePath(LineWriter& out, const QString& path)
{
    out.writeText(pathToFileText(path));
}

void readList(LineReader& in, TSTRING& lines)
{
    const qint32 count = in.readCount();
    // A count beyond the end of the file ends the list there, so a damaged count can
    // cost neither memory nor time. The list is allocated once at its exact size: the
    // lines of a short list are kept while they are measured, a long one is read twice
    // (from a copy of the reader) rather than holding a view of every line.
    constexpr qsizetype kKept = 64;
    QVarLengthArray<QByteArrayView, kKept> kept;
    const LineReader start = in;
    qsizetype found = 0, bytes = 0;
    for (; found < count && !in.atEnd() && in.ok(); ++found) {
        const QByteArrayView line = in.readLineView();
        bytes += line.size();
        if (found < kKept)
            kept.append(line);
    }
    if (found <= kKept) {
        const QByteArrayView* next = kept.constData();
        lines.assign(found, bytes, [&next] { return *next++; });
    } else {
        LineReader again = start;
        lines.assign(found, bytes, [&again] { return again.readLineView(); });
    }
}

QString readPath(LineReader& in)
{
    return fileTextToPath(in.readLine());
}

bool startsWithHeader(const QByteArray& bytes, const char* header)
{
    LineReader in(bytes);
    return in.readLine() == header;
}

} // namespace

QString recipeFolder(const QString& baseFolder)
{
    return baseFolder + QStringLiteral("prepared_recipes/");
}

QString FileProblem::toString() const
{
    // Messages of the file layer name the file themselves.
    if (line == 0 && message.contains(QDir::toNativeSeparators(file)))
        return message;
    const QString where = line > 0 ? QStringLiteral("%1, line %2").arg(file).arg(line) : file;
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(where), message);
}

void normaliseKind(TKVG& r)
{
    if (r.Kind != 1 && r.hasDeluxeLines() && r.Ingredients.isEmpty() && r.Instructions.isEmpty())
        r.Kind = 1;
    else if (r.Kind == 1 && !r.hasDeluxeLines())
        r.Kind = 0;
}

QByteArray recipeFileBytes(const TKVG& r)
{
    LineWriter out;
    out.reserve(4096);
    out.writeText(kRecipeHeader);
    out.writeInteger(r.Kind);
    writePath(out, r.FileName);
    writePath(out, r.FilePath);
    writePath(out, r.PictureFile);
    out.writeText(r.Name);
    out.writeText(r.Categories);
    out.writeInteger(r.Difficulty);
    out.writeText(r.PrepTime);
    out.writeText(r.Devices);
    out.writeText(r.Servings);
    out.writeDateTime(r.LastCooked);
    out.writeInteger(r.CookedDates.size());
    for (double date : r.CookedDates)
        out.writeDateTime(date);
    writeList(out, r.Ingredients);
    writeList(out, r.Instructions);
    writeList(out, r.Comments);
    for (const QByteArray* text : {&r.Binder, &r.Magazine, &r.Book, &r.Page, &r.Remark})
        out.writeText(*text);
    for (const TSTRING* list : {&r.Quantities, &r.Units, &r.IngredientNames, &r.Descriptions})
        writeList(out, *list);
    for (const QString* path :
         {&r.QuantitiesRtf, &r.UnitsRtf, &r.IngredientNamesRtf, &r.DescriptionsRtf,
          &r.IngredientsRtf, &r.InstructionsRtf, &r.CommentsRtf})
        writePath(out, *path);
    out.writeEmptyLines(kReservedLines);
    return out.data();
}

int WriteRecipeFile(TKV& kv, int index, QString* error)
{
    if (index < 0 || index >= kv.size())
        return -1;
    TKVG& r = kv[index];
    normaliseKind(r);
    return writeFileAtomically(r.FilePath, recipeFileBytes(r), error) ? 0 : -2;
}

bool parseRecipeFile(const QByteArray& bytes, TKVG& r, FileProblem* problem, StoredNames names)
{
    LineReader in(bytes);
    if (in.readLineView() != kRecipeHeader)
        return false;
    r.Kind = in.readInteger();
    if (names == StoredNames::Keep) {
        r.FileName = readPath(in);
        r.FilePath = readPath(in);
    } else {
        in.skipLine();
        in.skipLine();
    }
    r.PictureFile = readPath(in);
    r.Name = in.readLine();
    r.Categories = in.readLine();
    r.Difficulty = in.readInteger();
    r.PrepTime = in.readLine();
    r.Devices = in.readLine();
    r.Servings = in.readLine();
    r.LastCooked = in.readDouble();
    const qint32 dates = in.readCount();
    for (qint32 i = 0; i < dates && !in.atEnd() && in.ok(); ++i)
        r.CookedDates.append(in.readDouble());
    readList(in, r.Ingredients);
    readList(in, r.Instructions);
    readList(in, r.Comments);
    for (QByteArray* text : {&r.Binder, &r.Magazine, &r.Book, &r.Page, &r.Remark})
        *text = in.readLine();
    for (TSTRING* list : {&r.Quantities, &r.Units, &r.IngredientNames, &r.Descriptions})
        readList(in, *list);
    for (QString* path : {&r.QuantitiesRtf, &r.UnitsRtf, &r.IngredientNamesRtf, &r.DescriptionsRtf,
                          &r.IngredientsRtf, &r.InstructionsRtf, &r.CommentsRtf})
        *path = readPath(in);
    if (!in.ok()) {
        if (problem) {
            problem->line = in.errorLine();
            problem->message = in.error();
        }
        return false;
    }
    return true;
}

namespace {

// Folder-dependent reading rules, with the existence tests of device pictures cached
// for one read of the folder (a handful of devices serve thousands of recipes).
class ReadingRules {
public:
    explicit ReadingRules(const QString& baseFolder)
        : m_base(baseFolder), m_recipeFolder(recipeFolder(baseFolder))
    {
    }

    void apply(TKVG& r, const QString& foundName)
    {
        r.FileName = foundName;
        r.FilePath = m_recipeFolder + foundName;
        applySamplePicture(r);
        r.Difficulty = qBound(1, r.Difficulty, 5);
        applyDevices(r);
        if (r.LastCooked == 0)
            r.LastCooked = currentDayCount();
        r.ListIndex = 0;
    }

private:
    void applySamplePicture(TKVG& r)
    {
        if (r.PictureFile.isEmpty())
            return;
        QString picture;
        if (r.FileName == QLatin1String("Marzipan-Erdbeer-Torte.vrez") ||
            r.FileName == QLatin1String("Strawberry Birthday Cake.vrez"))
            picture = QStringLiteral("Erdbeer_Marzipan_Torte.png");
        else if (r.FileName == QLatin1String("Chili con Carne (schnell).vrez") ||
                 r.FileName == QLatin1String("Easy Chili Con Carne.vrez"))
            picture = QStringLiteral("ChiliconCarneschnell.png");
        if (picture.isEmpty())
            return;
        const QString path = lookupPath(m_base + QStringLiteral("Graphic/PNG/") + picture);
        if (!path.isEmpty())
            r.PictureFile = path;
    }

    void applyDevices(TKVG& r)
    {
        if (r.Devices.isEmpty())
            return;
        r.Devices = NormaliseCommaList(r.Devices);
        // The first of CollectDevices' sorted names is the smallest name that a comma
        // ends; found without building the list, as this runs for every record.
        QByteArrayView first;
        for (qsizetype start = 0, comma; (comma = r.Devices.indexOf(',', start)) >= 0;
             start = comma + 1) {
            const QByteArrayView name = QByteArrayView(r.Devices).sliced(start, comma - start);
            if (!name.isEmpty() && (first.isEmpty() || name < first))
                first = name;
        }
        if (first.isEmpty())
            return;
        const QByteArray key = first.toByteArray();
        auto cached = m_devicePictureExists.constFind(key);
        if (cached == m_devicePictureExists.constEnd()) {
            const QString picture = m_base + QStringLiteral("Graphic/PNG/ENG/") +
                                    fileTextToPath(key) + QStringLiteral(".PNG");
            cached = m_devicePictureExists.insert(key, pathExists(picture));
        }
        if (!cached.value())
            r.Devices.clear();
    }

    QString m_base;
    QString m_recipeFolder;
    QHash<QByteArray, bool> m_devicePictureExists;
};

} // namespace

namespace {

// The recipe files of a folder as a reading pass meets them: listed once, each read
// into a reused buffer, old files converted on the way, names that cannot be opened
// reported.
class RecipeFolderPass {
public:
    RecipeFolderPass(const QString& baseFolder, QList<FileProblem>* problems)
        : m_base(baseFolder), m_problems(problems), m_folder(lookupPath(recipeFolder(baseFolder))),
          m_files(m_folder.isEmpty() ? QStringLiteral(".") : m_folder)
    {
        if (m_folder.isEmpty())
            return;
        QStringList undecodable;
        m_names = enumerateFiles(m_folder, QStringLiteral("*.vrez"), &undecodable);
        if (problems) {
            for (const QString& name : undecodable)
                problems->append({m_folder + name, 0,
                                  QStringLiteral("the file name is not valid UTF-8 "
                                                 "and cannot be opened; rename the "
                                                 "file to read it")});
        }
    }

    const QStringList& names() const { return m_names; }

    /// The bytes of a current-format file in bytes; false for files that cannot be
    /// read (reported) or are not current recipe files.
    bool read(const QString& name, QByteArray* bytes, OldFiles old)
    {
        QString error;
        if (!m_files.read(name, bytes, m_problems ? &error : nullptr)) {
            if (m_problems)
                m_problems->append({m_folder + name, 0, error});
            return false;
        }
        // An old file is converted as it is met, so each file is read only once.
        if (old == OldFiles::Convert && bytes->startsWith(kOldRecipeHeader) &&
            !upgradeRecipeFile(m_base, name, bytes, m_problems))
            return false;
        return bytes->startsWith(kRecipeHeader) && startsWithHeader(*bytes, kRecipeHeader);
    }

    /// Parses bytes into record and applies the reading rules; a malformed file is
    /// reported and gives false.
    bool parse(const QString& name, const QByteArray& bytes, TKVG& record)
    {
        FileProblem problem;
        if (!parseRecipeFile(bytes, record, &problem, StoredNames::Skip)) {
            problem.file = m_folder + name;
            if (m_problems)
                m_problems->append(problem);
            return false;
        }
        m_rules.apply(record, name);
        return true;
    }

private:
    QString m_base;
    QList<FileProblem>* m_problems;
    QString m_folder;
    FolderFiles m_files; // the folder's path is resolved once, not per file
    QStringList m_names;
    ReadingRules m_rules{m_base};
};

// The name line of a current-format file: the sixth line.
QByteArray recipeNameOf(const QByteArray& bytes)
{
    LineReader in(bytes);
    for (int i = 0; i < 5; ++i)
        in.skipLine();
    return in.readLine();
}

} // namespace

void ReadCatalogue(const QString& baseFolder, TKV& kv, QList<FileProblem>* problems, OldFiles old)
{
    kv.clear();
    RecipeFolderPass pass(baseFolder, problems);
    kv.reserve(pass.names().size());
    QByteArray bytes;
    for (const QString& name : pass.names()) {
        if (!pass.read(name, &bytes, old))
            continue;
        // Parse straight into the catalogue's next record; a bad file removes it again.
        TKVG& record = kv.emplace_back();
        if (!pass.parse(name, bytes, record))
            kv.removeLast();
        else
            record.Stored = FileState::of(bytes);
    }
}

void ForEachRecipeByName(const QString& baseFolder, QList<FileProblem>* problems,
                         const std::function<void(const TKVG&)>& visit)
{
    RecipeFolderPass pass(baseFolder, problems);
    // First pass: only the names, in the order of the folder, sorted stably by name as
    // the catalogue is, so equal names keep their folder order.
    struct Entry {
        QByteArray name;
        qsizetype file;
    };
    std::vector<Entry> order;
    order.reserve(size_t(pass.names().size()));
    QByteArray bytes;
    for (qsizetype i = 0; i < pass.names().size(); ++i) {
        if (pass.read(pass.names()[i], &bytes, OldFiles::Convert))
            order.push_back({recipeNameOf(bytes), i});
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Entry& a, const Entry& b) { return a.name < b.name; });
    // Second pass: one record at a time.
    for (const Entry& entry : order) {
        const QString& name = pass.names()[entry.file];
        TKVG record;
        if (pass.read(name, &bytes, OldFiles::Skip) && pass.parse(name, bytes, record))
            visit(record);
    }
}

struct RecipeFileReader::Private {
    explicit Private(const QString& baseFolder)
        : folder(lookupPath(recipeFolder(baseFolder))),
          files(folder.isEmpty() ? QStringLiteral(".") : folder), rules(baseFolder)
    {
    }
    QString folder;
    FolderFiles files;
    ReadingRules rules;
    QByteArray bytes;
};

RecipeFileReader::RecipeFileReader(const QString& baseFolder)
    : d(std::make_unique<Private>(baseFolder))
{
}

RecipeFileReader::~RecipeFileReader() = default;

RecipeFileRead RecipeFileReader::read(const QString& name, TKVG* record, FileProblem* problem)
{
    if (d->folder.isEmpty() || name.contains(QLatin1Char('/')))
        return RecipeFileRead::Missing;
    QString error;
    if (!d->files.read(name, &d->bytes, &error)) {
        if (!QFileInfo::exists(d->folder + name))
            return RecipeFileRead::Missing;
        *problem = {d->folder + name, 0, error};
        return RecipeFileRead::Problem;
    }
    if (!d->bytes.startsWith(kRecipeHeader) || !startsWithHeader(d->bytes, kRecipeHeader))
        return RecipeFileRead::NotRecipe;
    *record = TKVG();
    if (!parseRecipeFile(d->bytes, *record, problem, StoredNames::Skip)) {
        problem->file = d->folder + name;
        return RecipeFileRead::Problem;
    }
    d->rules.apply(*record, name);
    record->Stored = FileState::of(d->bytes);
    return RecipeFileRead::Read;
}
