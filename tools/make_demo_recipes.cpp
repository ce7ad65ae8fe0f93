// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the demo recipes of tools/demo/ into the recipe folder of a base folder:
//
//   make_demo_recipes <base folder>
//
// Each recipe becomes a recipe file in the program's current format and, for texts
// with formatting, rich-text side files ".001" to ".007" beside it, exactly as the
// editor saves them. Stored paths are those of the Windows machine the collection was
// made on (C:\Kochen\); the program finds side files beside the recipe file anyway.
// Pictures are stored as paths below the base folder, which the program resolves
// because it runs in its base folder.

#include "demo/demorecipes.h"
#include "demo/markup.h"
#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/safefile.h"
#include "recipes/recipefile.h"
#include "recipes/recipetexts.h"
#include "recipes/textrules.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

namespace {

const QString kMadeIn = QStringLiteral("C:\\Kochen\\prepared_recipes\\");

QByteArray ansi(const char* utf8)
{
    return cp1252::fromUnicode(QString::fromUtf8(utf8));
}

TSTRING lineList(const QStringList& lines)
{
    TSTRING out;
    for (const QString& line : lines)
        out.append(cp1252::fromUnicode(line));
    return out;
}

double dayCount(const QDate& date)
{
    // Cooked in the evening, as most dinners are.
    return dayCountFromDateTime(QDateTime(date, QTime(18, 30)));
}

// A deluxe column as the editor keeps it: one line per ingredient row, quantities in
// bold and descriptions in italic.
demo::MarkedText columnText(const QStringList& rows, quint8 style)
{
    demo::MarkedText out = demo::parseMarkup(QString());
    rich::CharFormat format = out.document.defaultFormat();
    format.style = style;
    const quint16 id = out.document.intern(format);
    for (const QString& row : rows) {
        out.document.appendLine(row, id);
        out.document.lines().last().endFormat = id;
        out.plainLines << row;
    }
    return out;
}

class RecipeWriter {
public:
    explicit RecipeWriter(const QString& folder) : m_folder(folder) {}

    bool write(const demo::DemoRecipe& demo, QString* error)
    {
        TKVG r;
        const QString name = QString::fromUtf8(demo.name);
        r.FileName = name + QStringLiteral(".vrez");
        r.FilePath = kMadeIn + r.FileName;
        if (*demo.picture)
            r.PictureFile = QStringLiteral("Graphic/PNG/") + QString::fromUtf8(demo.picture);
        r.Name = ansi(demo.name);
        r.Categories = NormaliseCommaListStrict(ansi(demo.categories));
        r.Difficulty = demo.difficulty;
        r.PrepTime = ansi(demo.prepTime);
        r.Devices = NormaliseCommaList(ansi(demo.devices));
        r.Servings = ansi(demo.servings);
        r.LastCooked = dayCount(demo.lastCooked);
        for (const QDate& date : demo.cookedDates)
            r.CookedDates.append(dayCount(date));
        r.Binder = ansi(demo.binder);
        r.Magazine = ansi(demo.magazine);
        r.Book = ansi(demo.book);
        r.Page = ansi(demo.page);
        r.Remark = ansi(demo.remark);

        // The seven texts in the order of their side-file suffixes.
        const auto& fields = recipeTextFields();
        const char* texts[3] = {demo.comments, demo.ingredients, demo.instructions};
        for (int i = 0; i < 3; ++i) {
            const QString text = QString::fromUtf8(texts[i]);
            if (text.isEmpty())
                continue;
            if (!demo.richText) {
                r.*fields[i].lines = lineList(demo::plainLines(text));
                continue;
            }
            if (!put(r, fields[i], demo::parseMarkup(text), error))
                return false;
        }
        QStringList columns[4];
        for (const QString& row : demo::plainLines(QString::fromUtf8(demo.columns))) {
            const QStringList cells = row.split(QLatin1Char('|'));
            for (int c = 0; c < 4; ++c)
                columns[c] << cells.value(c);
        }
        const quint8 styles[4] = {rich::Bold, 0, 0, rich::Italic};
        for (int c = 0; c < 4 && !columns[0].isEmpty(); ++c) {
            if (!put(r, fields[3 + c], columnText(columns[c], styles[c]), error))
                return false;
        }
        normaliseKind(r);
        return writeFileAtomically(m_folder + r.FileName, recipeFileBytes(r), error);
    }

private:
    // The text's plain lines into the record and its formatted form into the side file.
    bool put(TKVG& r, const RecipeTextField& field, const demo::MarkedText& text, QString* error)
    {
        r.*field.lines = lineList(text.plainLines);
        const QString sideFile = r.FileName + QLatin1String(field.suffix);
        r.*field.richText = kMadeIn + sideFile;
        return rich::writeRtfFile(m_folder + sideFile, text.document, error);
    }

    QString m_folder;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: make_demo_recipes <base folder>" << Qt::endl;
        return 2;
    }
    const QString folder = recipeFolder(QDir(args.at(1)).absolutePath() + QLatin1Char('/'));
    if (!QDir().mkpath(folder)) {
        err << "cannot create " << folder << Qt::endl;
        return 1;
    }
    RecipeWriter writer(folder);
    for (const demo::DemoRecipe& recipe : demo::demoRecipes()) {
        QString error;
        if (!writer.write(recipe, &error)) {
            err << error << Qt::endl;
            return 1;
        }
    }
    QTextStream(stdout) << demo::demoRecipes().size() << " recipes written to " << folder
                        << Qt::endl;
    return 0;
}
