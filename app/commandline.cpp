// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/commandline.h"

#include "app/printcommands.h"
#include "app/startup.h"
#include "export/exporter.h"
#include "import/importer.h"
#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/recipejson.h"
#include "recipes/recipelist.h"
#include "recipes/shoppinglist.h"

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
    QList<int> rows;
    if (const int code = selectListRows(options, kv, &rows, err))
        return code;
    out << QLatin1String(kNewRecipeRow) << "\t\t\t0\n";
    for (int i : rows) {
        const TKVG& r = kv[i];
        out << listField(cp1252::toUnicode(r.Name)) << '\t' << cookingDateText(r) << '\t'
            << difficultyStars(r) << '\t' << RecipeType(kv, i) + 1 << '\n';
    }
    out.flush();
    return 0;
}

// Imports the files into the recipe folder of the current folder and prints the
// summary; 1 when nothing could be imported.
int importFiles(const QStringList& files, QTextStream& out, QTextStream& err)
{
    if (files.isEmpty()) {
        err << "--import needs at least one FILE" << Qt::endl;
        return 2;
    }
    const QString base = currentBaseFolder();
    removeLeftoverFiles(base);
    const ImportSummary summary = importRecipeFiles(files, base);
    out << summary.text();
    out.flush();
    // A stopped import failed, whatever it imported before it stopped.
    return summary.imported > 0 && !summary.stopped() ? 0 : 1;
}

// One recipe asked for on the command line: "NAME", "NAME:SERVINGS" or "NAME:xFACTOR".
struct ShoppingRequest {
    QString name;
    std::optional<double> servings;
    std::optional<double> factor;
};

// The amount after the last ":" when it reads as servings or a factor; otherwise the
// whole argument is the name (a recipe's name may hold a ":").
ShoppingRequest shoppingRequest(const QString& argument)
{
    ShoppingRequest request{argument, std::nullopt, std::nullopt};
    const qsizetype colon = argument.lastIndexOf(u':');
    if (colon < 0)
        return request;
    QStringView amount = QStringView(argument).sliced(colon + 1).trimmed();
    const bool factor = amount.startsWith(u'x') || amount.startsWith(u'*') ||
                        amount.startsWith(u'\u00D7');
    if (factor)
        amount = amount.sliced(1);
    const auto q = readQuantity(amount);
    if (!q || q->range || !(q->low > 0))
        return request;
    request.name = argument.left(colon);
    (factor ? request.factor : request.servings) = q->low;
    return request;
}

// --shopping-list: the recipes' ingredients scaled and merged, one line each with the
// recipes that need it. Reads the recipe files as they are and changes none.
int printShoppingList(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    if (arguments.isEmpty()) {
        err << "--shopping-list needs at least one NAME" << Qt::endl;
        return 2;
    }
    const QString base = currentBaseFolder();
    TKV kv;
    QList<FileProblem> problems;
    ReadCatalogue(base, kv, &problems, OldFiles::Skip);
    SortByName(kv);
    reportProblems(problems, err);

    QList<ShoppingRecipe> recipes;
    QStringList heads;
    for (const QString& argument : arguments) {
        const ShoppingRequest request = shoppingRequest(argument);
        const int index = findRecipeByName(kv, request.name);
        if (index < 0) {
            err << QStringLiteral("No recipe named \"%1\" in %2prepared_recipes.")
                       .arg(request.name, base)
                << Qt::endl;
            return 1;
        }
        const TKVG& recipe = kv[index];
        const QString written = cp1252::toUnicode(recipe.Servings).trimmed();
        double factor = request.factor.value_or(1);
        QString head = listField(request.name) + QStringLiteral(": ");
        if (request.servings) {
            const auto servings = servingsOf(written);
            if (!servings) {
                err << QStringLiteral("\"%1\" gives no number of servings; scale it by a "
                                      "factor instead, as \"%1:x2\".")
                           .arg(request.name)
                    << Qt::endl;
                return 2;
            }
            factor = *request.servings / *servings;
            head += QStringLiteral("%1 servings (written for %2)")
                        .arg(formatAmount(*request.servings, {}), listField(written));
        } else if (request.factor) {
            head += QStringLiteral("scaled by %1").arg(formatAmount(factor, {true, u'.'}));
        } else {
            head += written.isEmpty() ? QStringLiteral("as written") : listField(written);
        }
        heads << head;
        recipes.append({request.name, shoppingItems(ingredientTexts(recipe, true), factor)});
    }
    for (const QString& head : std::as_const(heads))
        out << head << '\n';
    out << '\n';
    for (const ShoppingLine& line : mergeShoppingList(recipes))
        out << listField(line.text()) << '\t' << listField(line.recipes.join(QStringLiteral(", ")))
            << '\n';
    out.flush();
    return 0;
}

// --export-jsonld, --export-mealmaster and --export-html: the recipes --list gives for
// options, in list order.
int exportList(ExportFormat format, const QString& target, const ListOptions& options,
               QTextStream& out, QTextStream& err)
{
    TKV kv;
    QList<int> rows;
    if (const int code = selectListRows(options, kv, &rows, err))
        return code;
    QList<const TKVG*> recipes;
    recipes.reserve(rows.size());
    for (int i : rows)
        recipes << &kv[i];
    const ExportOutcome outcome = exportRecipes(format, recipes, target);
    for (const QString& note : outcome.notes)
        err << note << Qt::endl;
    if (!outcome.ok()) {
        err << outcome.error << Qt::endl;
        return 1;
    }
    out << QStringLiteral("%1 recipes exported to %2").arg(outcome.exported).arg(target) << Qt::endl;
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
    const QCommandLineOption searchOption(
        QStringLiteral("search"),
        QStringLiteral("With --list, --print-list-pdf, --print-list --print-book or an export: the search text."),
        QStringLiteral("TEXT"));
    const QCommandLineOption categoryOption(
        QStringLiteral("category"),
        QStringLiteral("With --list, --print-list-pdf, --print-list --print-book or an export: the category entry "
                       "(\"normal recipes\" or a category)."),
        QStringLiteral("ENTRY"));
    const QCommandLineOption difficultyOption(
        QStringLiteral("difficulty"),
        QStringLiteral(
            "With --list, --print-list-pdf, --print-list --print-book or an export: the difficulty entry, 0 (all) "
            "to 5 (tough)."),
        QStringLiteral("N"));
    const QCommandLineOption sourceOption(
        QStringLiteral("source"),
        QStringLiteral("With --list, --print-list-pdf, --print-list --print-book or an export: the ring binder, "
                       "magazine or book entry."),
        QStringLiteral("TEXT"));
    parser.addOptions({listOption, searchOption, categoryOption, difficultyOption, sourceOption});
    const QCommandLineOption printPdfOption(
        QStringLiteral("print-pdf"),
        QStringLiteral("Lay the recipe given with --recipe out as the print preview does when "
                       "it opens and print its pages to the PDF file OUT through the built-in "
                       "600-dpi PDF printer."),
        QStringLiteral("OUT"));
    const QCommandLineOption recipeOption(
        QStringLiteral("recipe"),
        QStringLiteral("With --print-pdf or --print: the recipe's name as the list shows it."),
        QStringLiteral("NAME"));
    const QCommandLineOption deluxeOption(
        QStringLiteral("deluxe"),
        QStringLiteral("With --print-pdf or --print: a recipe with both layouts is printed deluxe."));
    const QCommandLineOption draftOption(
        QStringLiteral("draft"),
        QStringLiteral("With --print-pdf or --print: lay the recipe out by the draft FILE instead of the "
                       "standard draft of its layout kind."),
        QStringLiteral("FILE"));
    const QCommandLineOption printListOption(
        QStringLiteral("print-list-pdf"),
        QStringLiteral("Print the recipe rows of the list (as --list gives them, with the same "
                       "filters) with their icons to the PDF file OUT."),
        QStringLiteral("OUT"));
    const QCommandLineOption printOption(
        QStringLiteral("print"),
        QStringLiteral("As --print-pdf, but print on the system's printer QUEUE as the print "
                       "dialog would, and wait until the printer is done with the job."),
        QStringLiteral("QUEUE"));
    const QCommandLineOption printListQueueOption(
        QStringLiteral("print-list"),
        QStringLiteral("As --print-list-pdf, but print on the system's printer QUEUE."),
        QStringLiteral("QUEUE"));
    const QCommandLineOption printBookOption(
        QStringLiteral("print-book"),
        QStringLiteral("Print the recipes of the list (as --list gives them, with the same "
                       "filters) as a cookbook to the PDF file OUT: a title page, a table of "
                       "contents (grouped by category without --category) and each recipe laid "
                       "out as its print preview opens, deluxe where it has both layouts."),
        QStringLiteral("OUT"));
    const QCommandLineOption titleOption(
        QStringLiteral("title"), QStringLiteral("With --print-book: the text of the title page."),
        QStringLiteral("TEXT"));
    parser.addOptions({printPdfOption, recipeOption, deluxeOption, draftOption, printListOption,
                       printOption, printListQueueOption, printBookOption, titleOption});
    const QCommandLineOption importOption(
        QStringLiteral("import"),
        QStringLiteral("Import the recipes of the FILEs given after the options (MealMaster, "
                       "RecipeML, or web pages and JSON files with schema.org recipes) into "
                       "the prepared_recipes folder as new recipe files, and print how many "
                       "were imported and what could not be read. Exit status 1 when nothing "
                       "could be imported."));
    parser.addOption(importOption);
    const QCommandLineOption shoppingOption(
        QStringLiteral("shopping-list"),
        QStringLiteral("Print the shopping list of the recipes NAME given after the options, "
                       "as the list shows their names: one line per ingredient, amounts of the "
                       "same ingredient in the same or a convertible unit added up, then a tab "
                       "and the recipes that need it. NAME:SERVINGS scales a recipe from the "
                       "number of servings it gives to SERVINGS, NAME:xFACTOR by FACTOR. No "
                       "recipe file is changed."));
    parser.addOption(shoppingOption);
    const QCommandLineOption jsonLdOption(
        QStringLiteral("export-jsonld"),
        QStringLiteral("Write the recipes --list gives (same filters) to the folder FOLDER as "
                       "schema.org Recipe JSON-LD files, one per recipe, its picture beside it. "
                       "FOLDER must be missing, empty or an earlier export, which is replaced."),
        QStringLiteral("FOLDER"));
    const QCommandLineOption mealMasterOption(
        QStringLiteral("export-mealmaster"),
        QStringLiteral("Write the recipes --list gives (same filters) to FILE in MealMaster "
                       "format."),
        QStringLiteral("FILE"));
    const QCommandLineOption htmlOption(
        QStringLiteral("export-html"),
        QStringLiteral("Write the recipes --list gives (same filters) to the folder FOLDER as a "
                       "small website: an index page with a search box and a page per recipe "
                       "with its picture and schema.org data. FOLDER as with --export-jsonld."),
        QStringLiteral("FOLDER"));
    parser.addOptions({jsonLdOption, mealMasterOption, htmlOption});
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("With --import: a file to import."),
                                 QStringLiteral("[FILE...]"));
    parser.addPositionalArgument(QStringLiteral("NAME"),
                                 QStringLiteral("With --shopping-list: a recipe, NAME[:SERVINGS] "
                                                "or NAME:xFACTOR."),
                                 QStringLiteral("[NAME...]"));
    parser.process(arguments);

    if (parser.isSet(importOption))
        return importFiles(parser.positionalArguments(), out, err);
    if (parser.isSet(shoppingOption))
        return printShoppingList(parser.positionalArguments(), out, err);
    if (parser.isSet(exportOption))
        return exportJson(out, err);
    if (parser.isSet(printPdfOption) || parser.isSet(printOption)) {
        const bool pdf = parser.isSet(printPdfOption);
        if (!parser.isSet(recipeOption)) {
            err << (pdf ? "--print-pdf" : "--print") << " needs --recipe NAME" << Qt::endl;
            return 2;
        }
        const PrintTarget target = pdf ? PrintTarget{parser.value(printPdfOption), QString()}
                                       : PrintTarget{QString(), parser.value(printOption)};
        return printRecipe(target, parser.value(recipeOption), parser.isSet(deluxeOption),
                           parser.value(draftOption), err);
    }
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
    const std::pair<const QCommandLineOption*, ExportFormat> exports[] = {
        {&jsonLdOption, ExportFormat::JsonLd},
        {&mealMasterOption, ExportFormat::MealMaster},
        {&htmlOption, ExportFormat::Html}};
    for (const auto& [option, format] : exports) {
        if (parser.isSet(*option))
            return exportList(format, parser.value(*option), options, out, err);
    }
    if (parser.isSet(printBookOption))
        return printBookTo(parser.value(printBookOption), parser.value(titleOption), options, err);
    if (parser.isSet(printListOption))
        return printListTo({parser.value(printListOption), QString()}, options, err);
    if (parser.isSet(printListQueueOption))
        return printListTo({QString(), parser.value(printListQueueOption)}, options, err);
    if (parser.isSet(listOption))
        return printList(options, out, err);
    return printCatalogue(out, err);
}
