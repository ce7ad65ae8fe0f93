// SPDX-License-Identifier: GPL-2.0-or-later
// Makes the standard drafts of the demo base folder with the program itself: opens the
// preview offscreen on a demo recipe of each layout kind, lays the page out (the name
// with its stars, the notes and devices below, the picture on the right, then the
// ingredients or the deluxe columns and the instructions, the comments last) and stores
// it with "Make standard". Works on a copy of DATA and puts the two drafts and their
// thumbnails back into DATA/PRGDATA/drafts/.
//
//   QT_QPA_PLATFORM=offscreen make_standard_drafts DATA

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "drafts/draftfile.h"
#include "preview/F_PDraftS.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "preview/printers.h"
#include "recipes/recipefile.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

// A text of another recipe may be longer: each block gets this much room beyond what
// the recipe the layout is made on needs.
constexpr int kSlack = 24;
constexpr int kMargin = 10;
/// Every element starts at the sheet's left edge: a long text is fitted to the sheet's
/// width when a preview opens, and only one that starts at the edge then ends at the
/// other edge.
constexpr int kLeft = 0;

bool copyFolder(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target))
            return false;
    }
    return true;
}

void layOut(TFVor& preview)
{
    for (int item = 0; item < kUnitItemCount; ++item) {
        if (preview.unitItems[size_t(item)]->isEnabled() &&
            !preview.unitItems[size_t(item)]->isChecked())
            preview.unitItems[size_t(item)]->trigger();
    }
    preview.DeselectAll();
    ElementArray& e = preview.elements();
    const int sheetWidth = preview.IBlatt->width();
    auto put = [&](int i, int x, int y) {
        e[i].Left = x;
        e[i].Top = y;
    };
    auto bottom = [&](int i) { return e.at(i).Shown ? e.at(i).Top + e.at(i).height() : 0; };
    put(kRecipeGraphic, sheetWidth - e.at(kRecipeGraphic).width() - kMargin, kMargin);
    put(kRecipeName, kLeft, kMargin);
    put(kDifficulty, kLeft, bottom(kRecipeName) + 6);
    put(kOtherNotes, kLeft, bottom(kDifficulty) + 8);
    put(kCookingDevices, kLeft, bottom(kOtherNotes) + kSlack);
    int y = std::max(bottom(kCookingDevices), bottom(kRecipeGraphic)) + 2 * kMargin;
    put(kIngredients, kLeft, y);
    put(kQuantity, kLeft, y);
    AlignColumns(e, kQuantity);
    for (int i : {kIngredients, kQuantity, kUnit, kIngredientName, kPreparation})
        y = std::max(y, bottom(i));
    // The texts follow one below the other, whichever of them the layout shows.
    for (int i : {kDescription, kComments, kShoppingList}) {
        if (!e.at(i).Shown)
            continue;
        put(i, kLeft, y + kSlack);
        y = bottom(i);
    }
    preview.Redraw(false);
}

bool makeStandard(Catalogue& catalogue, const QString& name, int kind)
{
    catalogue.CurrentRecipe = -1;
    for (int i = 0; i < catalogue.recipes.size(); ++i) {
        if (catalogue.recipes.at(i).Name == name.toLatin1())
            catalogue.CurrentRecipe = i;
    }
    if (catalogue.CurrentRecipe < 0) {
        std::fprintf(stderr, "no recipe %s\n", qPrintable(name));
        return false;
    }
    bool saved = false;
    SetShowMsgHook([&](int number, int, int) {
        if (number == 14)
            saved = true;
        return number == 13 ? (kind == 1 ? kAnswerYes : kAnswerNo) : kAnswerOK;
    });
    SetPreviewShownHook([&](TFVor& preview) {
        layOut(preview);
        preview.Formatvorlagespeichern1->trigger();
        TFPDraftS* window = DraftSaveWindow();
        window->EDisplayname->setText(QStringLiteral("Standard"));
        window->MKurzbeschreibung->setPlainText(
            kind == 1 ? QStringLiteral("Deluxe columns below the picture, then the instructions")
                      : QStringLiteral("Ingredients below the picture, then the instructions"));
        window->BStandard->click();
        preview.close();
    });
    OpenPreview(catalogue, true, false);
    SetPreviewShownHook({});
    SetShowMsgHook({});
    return saved;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_standard_drafts DATA\n");
        return 2;
    }
    const QString data = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + QLatin1Char('/');
    QTemporaryDir work;
    const QString base = work.path() + QLatin1Char('/');
    if (!copyFolder(data, base)) {
        std::fprintf(stderr, "cannot copy %s\n", qPrintable(data));
        return 1;
    }
    // Recipes name their pictures relative to the base folder, the current folder.
    QDir::setCurrent(base);
    setBaseFolder(base);
    CurrentSettings() = initialSettings(base);
    // The built-in PDF printer: the whole Letter paper at 600 dpi, the same everywhere.
    SetPrinters(std::make_unique<FixedPagePrinter>(QLatin1String(kPdfPrinterName),
                                                   QSize(5100, 6600), kPdfPrinterDpi));
    SetProgressPauseHook([](int) {});
    SetErrorReportHook([](const QString& text) { std::fprintf(stderr, "%s\n", qPrintable(text)); });
    Catalogue catalogue;
    ReadCatalogue(base, catalogue.recipes, nullptr, OldFiles::Skip);
    if (!makeStandard(catalogue, QStringLiteral("Fluffy Pancakes"), 0) ||
        // A recipe with columns and instructions: the deluxe draft places both, the
        // instructions below the columns (they move down for a longer list).
        !makeStandard(catalogue, QStringLiteral("Strawberry Birthday Cake"), 1))
        return 1;
    for (int kind : {0, 1}) {
        const QString made = standardDraftPath(base, kind);
        for (const QString& file : QStringList{made, made + QStringLiteral(".bmp")}) {
            const QString target = data + file.mid(base.size());
            QFile::remove(target);
            if (!QFile::copy(file, target)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(target));
                return 1;
            }
            std::printf("%s\n", qPrintable(target));
        }
    }
    return 0;
}
