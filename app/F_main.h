// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "recipes/recipe.h"
#include "recipes/recipefile.h"
#include "recipes/recipelist.h"

#include <QMainWindow>

#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTextEdit;
class QTimer;
class QTreeView;
class FolderWatcher;
class RecipeListModel;
struct CatalogueUpdate;

/// The main window: filter boxes, the recipe list and the summary of the selected
/// recipe. The list content comes from the list filter logic; the window shows it and
/// runs the commands.
class TFMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFMain(Catalogue& catalogue, QWidget* parent = nullptr);

    /// Fills the list; with reload, first reads the catalogue from the recipe folder and
    /// rebuilds the filter boxes. The first reload of a run also converts old files.
    void FillRecipeList(bool reload);
    /// Reads the catalogue again (FillRecipeList(true)) and puts back the search text,
    /// the filter entries that still exist and the selected recipe when it is still
    /// listed: the list the user left, with the folder's changes.
    void ReloadKeepingView();
    /// Refreshes the summary of the selected recipe.
    void RefreshSummary();
    /// Brings the list in line with the named files of the recipe folder, which others
    /// changed: only they are read, and the search text, filters, scroll position and
    /// selection stay (a removed selected recipe passes the selection to the row that
    /// takes its place). While the editor, a preview or a question is open the changes
    /// wait, as those work on the catalogue as it is.
    void applyFolderChanges(const QStringList& names);
    /// The watcher of the recipe folder, which calls applyFolderChanges.
    FolderWatcher* folderWatcher() const { return m_watcher; }

    /// False when the options file could not be read: the window then closes without
    /// the exit question.
    void setOptionsRead(bool read) { m_optionsRead = read; }
    /// Problems with recipe files met by the last reload.
    const QList<FileProblem>& lastProblems() const { return m_problems; }

    QTreeView* recipeList() const { return LVRezepte; }
    RecipeListModel* listModel() const { return m_model; }
    const SearchIndex& searchIndex() const { return m_searchIndex; }
    /// The row of the current recipe: the current row when it is selected, otherwise
    /// the first selected row; -1 when none is selected. Commands for one recipe work
    /// on it.
    int selectedRow() const;
    void selectRow(int row);
    /// The catalogue indexes of the selected recipe rows, in row order.
    QList<int> selectedRecipes() const;

    // Commands.
    void NeuesRezept1Click();
    void Rezeptladen1Click();
    void Rezepteimportieren1Click();
    void Rezeptdrucken2Click();
    void Rezeptlistedrucken1Click();
    void Kochbuchdrucken1Click();
    void PMRezeptloeschenClick();
    void Einkaufsliste1Click();
    void Tooltipps1Click();
    void AnleitunganzeigenPDF1Click();
    void NeueVersionen1Click();
    void PMRezeptlistePopup();

signals:
    /// The editor is asked to open: on a new recipe (the editor adds the record) or on
    /// the recipe at CurrentRecipe.
    void editorRequested(bool newRecipe);
    /// The tooltips switch was flipped; the other windows follow it.
    void tooltipsSwitched(bool on);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    void connectHandlers();
    void loadPictures();
    void rebuildBoxes();
    void prepareSearchIndex();
    void rebuildSearchIndex(quint64 key);
    void ESuchenChange();
    void openSelectedRow();
    int selectedRecipe() const;
    void showSummaryText(int index);
    void showTypePictures(int index);
    void reportProblems();
    ListFilter currentFilter() const;
    void refreshBoxEntries(const CatalogueUpdate& update);
    /// Adds the rows the records (index before the update, file) show in now to the
    /// selection.
    void selectRowsNow(const QList<std::pair<int, QString>>& records,
                       const std::vector<int>& previousOf);
    bool busyWithCatalogue() const;
    bool severalSelected() const;

    Catalogue& m_catalogue;
    SearchIndex m_searchIndex;
    QList<FileProblem> m_problems;
    bool m_optionsRead = true;
    bool m_filling = false;
    bool m_oldFilesConverted = false;
    RecipeListModel* m_model = nullptr;
    FolderWatcher* m_watcher = nullptr;
    QStringList m_waitingChanges; // changed files that wait for the catalogue to be free
    bool m_reloadWaiting = false;
    QTimer* m_retry = nullptr;

public:
    // Controls, named as the interface texts address them.
    QLabel* IFBack = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* ESuchen = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* CBUKat = nullptr;
    QLabel* Label3 = nullptr;
    QComboBox* CBKochlevel = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* CBOZB = nullptr;
    QTreeView* LVRezepte = nullptr;
    QLabel* Label5 = nullptr;
    QTextEdit* RERezepttext = nullptr;
    QLabel* IRezept = nullptr;
    QLabel* IKat[3] = {};
    QLabel* IKoch[3] = {};
    QMenu* PMRezeptliste = nullptr;
    QAction* NeuesRezept1 = nullptr;
    QAction* Rezeptladen1 = nullptr;
    QAction* Rezepteimportieren1 = nullptr;
    QAction* Rezeptdrucken2 = nullptr;
    QAction* Rezeptlistedrucken1 = nullptr;
    QAction* Einkaufsliste1 = nullptr;
    QAction* Kochbuchdrucken1 = nullptr;
    QAction* Programmbeenden1 = nullptr;
    QAction* Tooltipps1 = nullptr;
    QAction* AnleitunganzeigenPDF1 = nullptr;
    QAction* NeueVersionen1 = nullptr;
    QAction* PMNeuesRezeptanlegen = nullptr;
    QAction* PMRezeptladen = nullptr;
    QAction* PMRezeptdrucken = nullptr;
    QAction* PMRezeptloeschen = nullptr;
    QAction* PMEinkaufsliste = nullptr;
};
