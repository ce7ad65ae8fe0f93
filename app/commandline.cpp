#include "app/commandline.h"

#include "app/startup.h"
#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "recipes/recipejson.h"

#include <QCommandLineParser>
#include <QJsonDocument>
#include <QTextStream>

namespace {

void reportProblems(const QList<FileProblem>& problems, QTextStream& err)
{
    for (const FileProblem& problem : problems)
        err << problem.toString() << Qt::endl;
}

int exportJson(QTextStream& out, QTextStream& err)
{
    TKV kv;
    QList<FileProblem> problems;
    loadCatalogueAtStartup(currentBaseFolder(), kv, &problems);
    reportProblems(problems, err);
    out << QString::fromUtf8(QJsonDocument(catalogueToJson(kv)).toJson(QJsonDocument::Indented));
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
    parser.process(arguments);

    if (parser.isSet(exportOption))
        return exportJson(out, err);
    return printCatalogue(out, err);
}
