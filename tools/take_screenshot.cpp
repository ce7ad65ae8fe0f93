// SPDX-License-Identifier: GPL-2.0-or-later
// Starts the program in a base folder, as the user would, and saves a picture of the
// main window, or with --editor of the editor opened on the selected row, for checking
// the look of a change; with --preview, of the print preview of the selected row with
// every element that has content shown and laid out on the page (a recipe with both
// layouts is printed deluxe); with --standard, of the preview as the standard draft lays
// it out; with --save-draft, --load-draft or --print-format, of that window opened over
// the preview the standard draft laid out:
//
//   QT_QPA_PLATFORM=offscreen take_screenshot
//       [--editor|--preview|--standard|--save-draft|--load-draft|--print-format]
//       BASEFOLDER OUT.png [SEARCH [ROW]]

#include "app/F_main.h"
#include "app/application.h"
#include "common/F_Msg.h"
#include "editor/F_KVE.h"
#include "preview/F_PDraftL.h"
#include "preview/F_PDraftS.h"
#include "preview/F_PrintS.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QToolButton>
#include <QTreeView>

#include <algorithm>
#include <cstdio>

namespace {

/// Shows every element that has content and lays the first page out as a user would:
/// the name with its stars, the notes and devices below, the picture on the right, then
/// the ingredients and the texts, all from the sheet's top-left corner.
void layOut(TFVor& preview)
{
    // A menu item toggles its element, and the standard draft has shown some already:
    // only the unchecked ones are clicked.
    for (QAction* item : preview.unitItems) {
        if (item->isEnabled() && !item->isChecked())
            item->trigger();
    }
    preview.DeselectAll();
    ElementArray& e = preview.elements();
    const int sheetWidth = preview.IBlatt->width();
    int y = 10;
    // The standard draft may have put an element on the second page.
    auto put = [&](int i, int x) {
        if (!e.at(i).Shown)
            return false;
        e[i].Left = x;
        e[i].Top = y;
        e[i].Page = 0;
        return true;
    };
    auto below = [&](int i) { return e.at(i).Shown ? e.at(i).Top + e.at(i).height() + 12 : y; };
    // The picture stands at the top right; the texts flow beside and below it.
    put(kRecipeGraphic, std::max(10, sheetWidth - e.at(kRecipeGraphic).width() - 10));
    if (put(kRecipeName, 10))
        y = below(kRecipeName);
    if (put(kDifficulty, 10))
        y = below(kDifficulty);
    if (put(kOtherNotes, 10))
        y = below(kOtherNotes);
    if (put(kCookingDevices, 10))
        y = below(kCookingDevices);
    y = std::max(y, below(kRecipeGraphic));
    if (put(kIngredients, 10))
        y = below(kIngredients);
    if (put(kQuantity, 10)) {
        for (int j = kQuantity; j <= kPreparation; ++j)
            e[j].Page = 0;
        AlignColumns(e, kQuantity);
        for (int j = kQuantity; j <= kPreparation; ++j)
            y = std::max(y, below(j));
    }
    if (put(kDescription, 10))
        y = below(kDescription);
    put(kComments, 10);
    preview.Redraw(false);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool editor = args.removeAll(QStringLiteral("--editor")) > 0;
    const bool preview = args.removeAll(QStringLiteral("--preview")) > 0;
    const bool standard = args.removeAll(QStringLiteral("--standard")) > 0;
    const bool saveDraft = args.removeAll(QStringLiteral("--save-draft")) > 0;
    const bool loadDraft = args.removeAll(QStringLiteral("--load-draft")) > 0;
    const bool printFormat = args.removeAll(QStringLiteral("--print-format")) > 0;
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: take_screenshot [--editor|--preview|--standard|--save-draft|"
                             "--load-draft|--print-format] BASEFOLDER OUT.png [SEARCH [ROW]]\n");
        return 2;
    }
    if (!QDir::setCurrent(args.at(0))) {
        std::fprintf(stderr, "no folder %s\n", qPrintable(args.at(0)));
        return 1;
    }
    Application application;
    QString error;
    if (!application.start(&error)) {
        std::fprintf(stderr, "start failed: %s\n", qPrintable(error));
        return 1;
    }
    TFMain* main = application.mainWindow();
    if (args.size() > 2)
        main->ESuchen->setText(args.at(2));
    main->selectRow(args.size() > 3 ? args.at(3).toInt() : 3);
    main->RefreshSummary();
    QWidget* shown = main;
    if (editor) {
        main->Rezeptladen1Click();
        shown = application.editor();
    }
    bool saved = false;
    if (preview || standard || saveDraft || loadDraft || printFormat) {
        SetShowMsgHook([](int number, int, int) { return number == 13 ? kAnswerYes : kAnswerOK; });
        SetPrintFormatShownHook([&](TFPrintS& window) {
            app.processEvents();
            saved = window.grab().save(args.at(1));
            window.BCancelClick();
        });
        SetPreviewShownHook([&](TFVor& window) {
            if (preview)
                layOut(window);
            app.processEvents();
            QWidget* grabbed = &window;
            if (saveDraft) {
                window.Formatvorlagespeichern1->trigger();
                grabbed = DraftSaveWindow();
            } else if (loadDraft) {
                window.Formatvorlageladen1->trigger();
                grabbed = DraftLoadWindow();
            }
            if (printFormat) {
                window.BBDrucker->click();
            } else {
                app.processEvents();
                saved = grabbed->grab().save(args.at(1));
            }
            if (grabbed != &window)
                grabbed->close();
            window.close();
        });
        main->Rezeptdrucken2Click();
        shown = nullptr;
    }
    if (shown) {
        app.processEvents();
        saved = shown->grab().save(args.at(1));
    }
    main->setOptionsRead(false);
    return saved ? 0 : 1;
}
