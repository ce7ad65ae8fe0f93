// SPDX-License-Identifier: GPL-2.0-or-later

#include "recipes/upgrade.h"

#include "platform/filelookup.h"
#include "platform/safefile.h"
#include "platform/textfile.h"
#include "recipes/textrules.h"

namespace {

// Old files allow any count: zero or less is an empty list.
void readOldList(LineReader& in, TSTRING& lines)
{
    const qint32 count = in.readInteger();
    for (qint32 i = 0; i < count && !in.atEnd() && in.ok(); ++i)
        lines.append(in.readLineView());
}

} // namespace

bool parseOldRecipeFile(const QByteArray& bytes, TKVG& r, FileProblem* problem)
{
    LineReader in(bytes);
    if (in.readLine() != kOldRecipeHeader)
        return false;
    r.Name = in.readLine();
    r.PictureFile = fileTextToPath(in.readLine());
    r.Categories = NormaliseOldCategories(in.readLine());
    r.Difficulty = in.readInteger();
    in.skipLine();
    r.PrepTime = in.readLine();
    r.Devices = in.readLine();
    r.Servings = in.readLine();
    for (TSTRING* list : {&r.Ingredients, &r.Instructions, &r.Comments})
        readOldList(in, *list);
    for (QByteArray* text : {&r.Binder, &r.Magazine, &r.Book, &r.Page, &r.Remark})
        *text = in.readLine();
    for (TSTRING* list : {&r.Quantities, &r.Units, &r.IngredientNames, &r.Descriptions})
        readOldList(in, *list);
    r.Kind = r.Quantities.isEmpty() ? 0 : 1;
    if (!in.ok()) {
        if (problem) {
            problem->line = in.errorLine();
            problem->message = in.error();
        }
        return false;
    }
    return true;
}

QByteArray upgradedRecipeBytes(const TKVG& recipe)
{
    TKVG r = recipe;
    r.LastCooked = 0;
    r.CookedDates.clear();
    for (QString* path : {&r.QuantitiesRtf, &r.UnitsRtf, &r.IngredientNamesRtf, &r.DescriptionsRtf,
                          &r.IngredientsRtf, &r.InstructionsRtf, &r.CommentsRtf})
        path->clear();
    return recipeFileBytes(r);
}

bool upgradeRecipeFile(const QString& baseFolder, const QString& name, QByteArray* bytes,
                       QList<FileProblem>* problems)
{
    const QString path = lookupPath(recipeFolder(baseFolder)) + name;
    TKVG record;
    FileProblem problem{path, 0, {}};
    if (!parseOldRecipeFile(*bytes, record, &problem)) {
        if (!problem.message.isEmpty() && problems)
            problems->append(problem);
        return false;
    }
    record.FileName = name;
    record.FilePath = recipeFolder(baseFolder) + name;
    QByteArray upgraded = upgradedRecipeBytes(record);
    QString error;
    if (!writeFileAtomically(path, upgraded, &error)) {
        if (problems)
            problems->append({path, 0, error});
        return false;
    }
    *bytes = std::move(upgraded);
    return true;
}
