// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/openpreview.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/hook.h"
#include "common/session.h"
#include "drafts/draftfile.h"
#include "platform/cp1252.h"
#include "preview/F_Vor.h"
#include "preview/pagegeometry.h"
#include "preview/printdialog.h"
#include "preview/recipefill.h"

#include <QDir>
#include <QEventLoop>
#include <QMenu>

namespace {

constexpr int kDeluxeQuestion = 13;

int chooseKind(const TKV& kv, int index)
{
    if (SecondRecipeType(kv, index) != 1)
        return kv.at(index).Kind;
    return ShowMsg(kDeluxeQuestion, 2, 4) == kAnswerYes ? 1 : 0;
}

// Shows or hides the preview's menus and puts it on the first page of the default
// paper format, in the orientation of the settings.
void startOnDefaultPage(TFVor& preview, bool menusShown)
{
    for (QMenu* menu : {preview.Datei1, preview.Druckelemente1, preview.Seite1})
        menu->menuAction()->setVisible(menusShown);
    PreviewState& state = preview.state();
    state.FormatIndex = kDefaultFormatIndex;
    state.CurrentPage = 0;
    state.Landscape = CurrentSettings().landscape;
    ComputeDefaultPageMetrics();
}

} // namespace

void ComputeDefaultPageMetrics()
{
    InitPaperFormats(CurrentPaperFormats());
    ComputePageMetrics(CurrentDrucker(), CurrentPaperFormats(), kDefaultFormatIndex,
                       CurrentSettings().landscape, false);
}

namespace {

void prepare(TFVor& preview)
{
    startOnDefaultPage(preview, true);
    ResetElements(preview.elements(), ResetMode::Create);
    preview.state().LastPageIndex = 0;
    preview.LoadGlyphs();
}

/// The recipe being previewed; null while the preview is closed.
TKVG*& previewedRecipe()
{
    static TKVG* recipe = nullptr;
    return recipe;
}

/// What reading the standard draft came to.
struct StandardDraft {
    bool usable = true;  ///< it places every element: apply it
    bool damaged = false; ///< a line that should hold a number holds none
    QString problem;     ///< what is wrong with it, naming the file (and line)
    QString note;        ///< the status line's word on it: empty when it is used
};

/// Reads the standard draft of the layout kind into the current draft. A damaged one is
/// never applied half-read. A missing, foreign or cut-off one holds no layout the user
/// chose as a whole, so none of these is used: the note says why.
/// The folder decides the layout kind, so a draft of the other kind copied there never
/// turns a deluxe preview into a normal one.
StandardDraft readStandardDraft(int kind)
{
    TDruckvorlage& draft = CurrentDraft();
    draft.DraftFile = standardDraftPath(BaseFolder(), kind);
    StandardDraft result;
    QString& why = result.problem;
    bool cut = false;
    const DraftRead read = readDraftFile(draft.DraftFile, draft, &why, &cut);
    if (read == DraftRead::Read && cut) {
        why = QStringLiteral("%1 ends early").arg(QDir::toNativeSeparators(draft.DraftFile));
        result.usable = false;
    } else if (read != DraftRead::Read) {
        result.usable = false;
        result.damaged = read == DraftRead::Malformed;
    }
    if (!result.usable) {
        result.note = QStringLiteral("The standard draft is not used (%1): every element is at "
                                     "its default place.")
                          .arg(why);
    }
    draft.DraftFile.chop(2); // "Standard.KVP": the name a later save proposes
    draft.LayoutKind = kind;
    return result;
}

// List mode: the recipe rows of the list go to the printer chosen in the print
// dialog, without a preview window.
void printList(const Catalogue& catalogue)
{
    startOnDefaultPage(*PreviewWindow(), false);
    // The caller's window is disabled meanwhile, so the dialogs stand on their own.
    PrintListedRecipes(nullptr, catalogue.recipes);
}

void waitUntilClosed(TFVor& preview)
{
    QEventLoop loop;
    const auto connection = QObject::connect(&preview, &TFVor::hidden, &loop, &QEventLoop::quit);
    preview.show();
    preview.activateWindow();
    if (hookSlot<SetPreviewShownHook>()) {
        hookSlot<SetPreviewShownHook>()(preview);
        // The hook answers for the user: whatever its checks said (a failed check
        // returns early), the preview ends here, so its caller never waits for a user
        // who is not there.
        if (preview.isVisible()) {
            preview.CloseOwnedWindows();
            preview.close();
        }
    }
    if (preview.isVisible())
        loop.exec();
    QObject::disconnect(connection);
}

} // namespace

TFVor* PreviewWindow()
{
    static TFVor* window = new TFVor;
    return window;
}

bool PreviewShowsRecipe()
{
    return previewedRecipe() != nullptr && PreviewWindow()->isVisible();
}

void SetPreviewShownHook(PreviewShownHook hook)
{
    hookSlot<SetPreviewShownHook>() = std::move(hook);
}

bool LayOutRecipe(Catalogue& catalogue, const QString& draftFile, QString* error,
                  DamagedDraft onDamage)
{
    const int index = catalogue.CurrentRecipe;
    if (index < 0 || index >= catalogue.recipes.size()) {
        HideProgress(); // the caller showed it for a preview that does not come
        return false;
    }
    // A given draft is read first, so a bad one leaves nothing to clean up.
    TDruckvorlage given;
    if (!draftFile.isEmpty() && !ReadDraft(draftFile, given, error)) {
        HideProgress();
        return false;
    }
    TFVor& preview = *PreviewWindow();
    prepare(preview);
    PreviewState& state = preview.state();
    state.PreviewKind = chooseKind(catalogue.recipes, index);
    QString why;
    QStringList notices;
    if (!FillElementsFromRecipe(preview.elements(), catalogue.recipes[index], BaseFolder(),
                                preview.scratchEdit(), &why, &notices)) {
        // Nothing to show: the files written so far go, and the preview does not open.
        HideProgress();
        ReportError(&preview, why);
        DeletePreviewFiles(preview.elements(), BaseFolder());
        preview.ReleaseElements();
        return false;
    }
    for (const QString& notice : notices)
        ReportErrorOnce(&preview, notice);
    preview.StartServings(cp1252::toUnicode(catalogue.recipes.at(index).Servings), false);
    if (draftFile.isEmpty()) {
        const StandardDraft standard = readStandardDraft(state.PreviewKind);
        if (standard.damaged && onDamage == DamagedDraft::Abandon) {
            // Printing without a window: a layout the user did not make is not printed
            // in its place.
            HideProgress();
            if (error)
                *error = standard.problem;
            DeletePreviewFiles(preview.elements(), BaseFolder());
            preview.ReleaseElements();
            return false;
        }
        if (standard.damaged)
            ReportError(&preview, standard.problem);
        if (standard.usable)
            preview.ApplyDraft();
        else
            preview.ApplyDefaultLayout();
        preview.ShowNote(standard.note);
    } else {
        given.DraftFile = draftFile;
        given.LayoutKind = state.PreviewKind; // the elements were filled for this kind
        CurrentDraft() = given;
        preview.ApplyDraft();
        preview.ShowNote(QString());
    }
    preview.DeselectAll();
    HideProgress();
    return true;
}

void OpenPreview(Catalogue& catalogue, bool recipeMode, bool listMode)
{
    if (listMode && !recipeMode) {
        printList(catalogue);
        return;
    }
    if (!recipeMode || listMode) {
        HideProgress();
        return;
    }
    if (!LayOutRecipe(catalogue))
        return;
    TFVor& preview = *PreviewWindow();
    previewedRecipe() = &catalogue.recipes[catalogue.CurrentRecipe];
    waitUntilClosed(preview);
    previewedRecipe() = nullptr;
    preview.ReleaseElements();
}

bool RefillPreview(TFVor& preview, QString* error)
{
    TKVG* recipe = previewedRecipe();
    if (!recipe) {
        if (error)
            *error = QStringLiteral("No recipe is being previewed");
        return false;
    }
    preview.ReleaseElements();
    ResetElements(preview.elements(), ResetMode::Create);
    QStringList notices;
    const bool filled = FillElementsFromRecipe(preview.elements(), *recipe, BaseFolder(),
                                               preview.scratchEdit(), error, &notices);
    for (const QString& notice : notices)
        ReportErrorOnce(&preview, notice);
    preview.StartServings(cp1252::toUnicode(recipe->Servings), true);
    preview.ApplyDraft();
    return filled;
}
