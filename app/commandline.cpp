#include "app/commandline.h"

#include "app/startup.h"
#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/recipejson.h"
#include "recipes/recipelist.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QTextStream>

namespace {

void reportProblems(const QList<FileProblem>& problems, QTextStream& err)
{
    for (const FileProblem& problem : problems)
        err << problem.toString() << Qt::endl;
}

int exportJson(QTextStream& out, QTextStream& err)
{
    const QString base = currentBaseFolder();
    removeLeftoverFiles(base);
    QList<FileProblem> problems;
    // Each recipe is read, written and let go in list order, so the collection is never
    // held whole; its text goes out as soon as it is built: as bytes straight to the
    // stream's device when it has one (standard output), otherwise through the stream.
    const RecipeSource byName = [&](const std::function<void(const TKVG&)>& visit) {
        ForEachRecipeByName(base, &problems, visit);
    };
    out.flush();
    QIODevice* device = out.device();
    QStringList unreadable;
    writeRecipesJson(
        byName,
        [&](QByteArrayView bytes) {
            if (device)
                device->write(bytes.data(), bytes.size());
            else
                out << QString::fromUtf8(bytes);
        },
        &unreadable);
    out.flush();
    reportProblems(problems, err);
    for (const QString& error : unreadable)
        err << error << Qt::endl;
    return 0;
}

int printCatalogue(QTextStream& out, QTextStream& err)
{
    TKV kv;
    QList<FileProblem> problems;
    loadCatalogueAtStartup(currentBaseFolder(), kv, &problems);
    reportProblems(problems, err);
    static const char* const kTypeNames[] = {"normal", "deluxe", "binder", "magazine", "book"};
    out << kv.size() << " recipes in " << currentBaseFolder() << "prepared_recipes" << Qt::endl;
    for (int i = 0; i < kv.size(); ++i) {
        const TKVG& r = kv[i];
        const QDate cooked = dateTimeFromDayCount(r.LastCooked).date();
        out << cp1252::toUnicode(r.Name) << '\t' << kTypeNames[RecipeType(kv, i)] << '\t'
            << QString(r.Difficulty, QLatin1Char('*')) << '\t'
            << QLocale().toString(cooked, QLocale::ShortFormat) << Qt::endl;
    }
    return 0;
}

struct ListOptions {
    QString search;
    QString category;
    int difficulty = 0;
    QString source;
};

// A row's fields are separated by tabs and rows by line ends: escape those characters
// (and the backslash) inside a field so every row keeps its columns.
QString listField(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\t':
            out += QLatin1String("\\t");
            break;
        case '\r':
            out += QLatin1String("\\r");
            break;
        case '\n':
            out += QLatin1String("\\n");
            break;
        case '\\':
            out += QLatin1String("\\\\");
            break;
        default:
            out += c;
        }
    }
    return out;
}

int printList(const ListOptions& options, QTextStream& out, QTextStream& err)
{
    TKV kv;
    QList<FileProblem> problems;
    loadCatalogueAtStartup(currentBaseFolder(), kv, &problems);
    reportProblems(problems, err);
    ListFilter filter;
    QString error;
    if (!filterFromEntries(kv, options.category, options.difficulty, options.source, &filter,
                           &error)) {
        err << error << Qt::endl;
        return 2;
    }
    filter.searchText = cp1252::fromUnicode(options.search);
    SearchIndex index;
    const QList<int> rows = FilterRecipeRows(kv, index, filter);
    out << QLatin1String(kNewRecipeRow) << "\t\t\t0\n";
    for (int i : rows) {
        const TKVG& r = kv[i];
        out << listField(cp1252::toUnicode(r.Name)) << '\t' << cookingDateText(r) << '\t'
            << difficultyStars(r) << '\t' << RecipeType(kv, i) + 1 << '\n';
    }
    out.flush();
    return 0;
}

} // namespace

int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Recipe manager. Started in a base folder, it works on the recipes in "
                       "its prepared_recipes folder."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption exportOption(
        QStringLiteral("export-json"),
        QStringLiteral("Convert old recipe files, read the recipe catalogue of the current "
                       "folder and print it as a JSON array to standard output. Problems "
                       "with single files go to standard error."));
    parser.addOption(exportOption);
    const QCommandLineOption listOption(
        QStringLiteral("list"),
        QStringLiteral("Print the rows of the recipe list after a reload, one a line: caption, "
                       "cooking date, difficulty stars and icon index, separated by tabs. A tab, "
                       "carriage return, line feed or backslash inside a caption is written "
                       "as \\t, \\r, \\n or \\\\."));
    const QCommandLineOption searchOption(QStringLiteral("search"),
                                          QStringLiteral("With --list: the search text."),
                                          QStringLiteral("TEXT"));
    const QCommandLineOption categoryOption(
        QStringLiteral("category"),
        QStringLiteral("With --list: the category entry (\"normal recipes\" or a category)."),
        QStringLiteral("ENTRY"));
    const QCommandLineOption difficultyOption(
        QStringLiteral("difficulty"),
        QStringLiteral("With --list: the difficulty entry, 0 (all) to 5 (tough)."),
        QStringLiteral("N"));
    const QCommandLineOption sourceOption(
        QStringLiteral("source"),
        QStringLiteral("With --list: the ring binder, magazine or book entry."),
        QStringLiteral("TEXT"));
    parser.addOptions({listOption, searchOption, categoryOption, difficultyOption, sourceOption});
    parser.process(arguments);

    if (parser.isSet(exportOption))
        return exportJson(out, err);
    if (parser.isSet(listOption)) {
        ListOptions options;
        options.search = parser.value(searchOption);
        options.category = parser.value(categoryOption);
        options.source = parser.value(sourceOption);
        bool ok = true;
        if (parser.isSet(difficultyOption))
            options.difficulty = parser.value(difficultyOption).toInt(&ok);
        if (!ok) {
            err << "--difficulty takes a number from 0 to 5" << Qt::endl;
            return 2;
        }
        return printList(options, out, err);
    }
    return printCatalogue(out, err);
}
