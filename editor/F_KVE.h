// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "editor/recipeform.h"
#include "editor/recipesave.h"
#include "recipes/recipe.h"

#include <QFrame>
#include <QLabel>
#include <QList>
#include <QMainWindow>

#include <functional>

class QAction;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QMenu;
class QTextEdit;

/// A picture that reacts to a click (the kind icon and the recipe picture).
class ClickableLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

/// The frame of the recipe picture. It comes last in the tab order, so the picture can
/// be chosen (Enter or Space), cleared (Delete) or its menu opened (menu key) without
/// the mouse; with the focus its edge is drawn in the highlight colour.
class PictureFrame : public QFrame {
    Q_OBJECT
public:
    using QFrame::QFrame;
signals:
    void activated();
    void clearRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

/// The recipe editor: shows the catalogue's current recipe, lets the user change it and
/// saves it. Created once and only shown and hidden; the main window hides while it is
/// open and reloads its list when it closes.
class TFKVE : public QMainWindow {
    Q_OBJECT
public:
    explicit TFKVE(Catalogue& catalogue, QWidget* parent = nullptr);

    // Opening, from the main window's commands.
    /// Opens on a fresh record appended to the catalogue.
    void OpenNewRecipe();
    /// Opens on the record at CurrentRecipe.
    void OpenRecipe();

    void ClearEditor();
    void ShowRecipeKind(int kind);

    /// The form as saving would store it.
    RecipeForm currentForm() const;
    /// The seven rich edits in the order of the side files (.001 to .007).
    const QList<QTextEdit*>& richEdits() const { return m_richEdits; }
    /// The four deluxe columns in the order the font command visits them.
    QList<QTextEdit*> deluxeColumns() const;

    // Handlers, also called by the tests as the user would trigger them.
    void IRezeptnameClick();
    void IRezeptgrafikClick();
    void MGrafikloeschenClick();
    void PMRezeptgrafikPopup();
    void CBIconlisteChange(int item);
    void CBRezeptkategorienChange(int item);
    void Rezeptspeichern1Click();
    void Rezeptspeichernunter1Click();
    void Rezeptdrucken1Click();
    void PMREPopup();
    void ZeichensatzClick();
    void EinfuegenClick();
    void AusschneidenClick();
    void KopierenClick();

signals:
    /// The main window is to refresh its summary of the current recipe.
    void recipeShown();
    /// The editor has closed: the catalogue is to be reloaded and the main window shown.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createEdits(QWidget* client);
    void createRichEdits(QWidget* client);
    void createPictures(QWidget* client);
    void createMenus();
    void connectHandlers();
    void setTabOrder();
    void loadBackgrounds();
    void fillFromRecipe(const TKVG& recipe);
    void showForm(const RecipeForm& form);
    TKVG* currentRecipe();
    int current() const { return m_catalogue.CurrentRecipe; }

    /// Shows a message with the window disabled, as the editor must not be used while
    /// it waits; the focus returns to where it was.
    int ask(int number, int headingKind, int buttonSet);
    void RecipeNameEnter();
    void RecipeNameChange();
    void RecipeNameExit(bool byClick);
    void ERezeptkategorienEnterExit();
    void DTP1Change();
    void CBKochlevelChange();
    void printedMatterChange();
    /// Saves form; false when nothing was saved (the reason has been shown).
    bool saveRecipe(const RecipeForm& form);
    /// Runs save, and when the recipe's files changed or went outside the program since
    /// the editor read or saved them, asks what to do and runs it again with the answer.
    SaveResult askAboutOutsideChanges(const std::function<SaveResult(OutsideChanges)>& save);
    bool reportSave(const SaveResult& result);
    QTextEdit* focusedRichEdit() const;
    bool Beschreibung1KeyPress();
    void clearPicture();

    Catalogue& m_catalogue;
    double m_cookingDate = 0; ///< what DTP1 stands for, without the picker's rounding
    bool m_busy = false;      ///< a message is open: focus handlers stay quiet
    bool m_filling = false;   ///< the form is being filled: change handlers stay quiet
    bool m_swallowClick = false; ///< the click that tried to leave an empty name is dropped
    QList<QTextEdit*> m_richEdits;
    QString m_backgroundPath; ///< the background picture the backgrounds were drawn from
    RecipeFilesState m_known; ///< the recipe's files as the editor last read or saved them

public:
    // Controls, named as the interface texts address them.
    QLabel* IFBack = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* RecipeName = nullptr;
    ClickableLabel* IRezeptname = nullptr;
    QLabel* IAbgeheftetBack = nullptr;
    QLineEdit* Ordner = nullptr;
    QLineEdit* Buch = nullptr;
    QLineEdit* Zeitschrift = nullptr;
    QLineEdit* Seite = nullptr;
    QLabel* IOrdner = nullptr;
    QLabel* IBuch = nullptr;
    QLabel* IZeitschrift = nullptr;
    QLineEdit* Bemerkung = nullptr;
    QComboBox* CBRezeptkategorien = nullptr;
    QLineEdit* ERezeptkategorien = nullptr;
    QLineEdit* Portionen = nullptr;
    QLineEdit* Zubzeit = nullptr;
    QComboBox* CBKochlevel = nullptr;
    QLabel* IKochlevel = nullptr;
    QDateTimeEdit* DTP1 = nullptr;
    QLabel* IKochdatum = nullptr;
    QLabel* IIconlisteBack = nullptr;
    QComboBox* CBIconliste = nullptr;
    QLabel* KochgeraetImage[7] = {};
    QTextEdit* MBemerkungstext = nullptr;
    QTextEdit* Zutatenliste = nullptr;
    QTextEdit* Rezepttext = nullptr;
    QTextEdit* Menge1 = nullptr;
    QTextEdit* Einheit1 = nullptr;
    QTextEdit* Name1 = nullptr;
    QTextEdit* Beschreibung1 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* LMenge1 = nullptr;
    QLabel* LEinheit1 = nullptr;
    QLabel* LName1 = nullptr;
    QLabel* LBeschreibung1 = nullptr;
    PictureFrame* Panel1 = nullptr;
    ClickableLabel* IRezeptgrafik = nullptr;
    QLabel* LGrafikvolldateiname = nullptr;
    QMenu* PMRezeptgrafik = nullptr;
    QAction* MGrafikloeschen = nullptr;
    QMenu* PMRE = nullptr;
    QAction* Zeichensatz = nullptr;
    QAction* Einfuegen = nullptr;
    QAction* Ausschneiden = nullptr;
    QAction* Kopieren = nullptr;
    QAction* Rezeptspeichern1 = nullptr;
    QAction* Rezeptspeichernunter1 = nullptr;
    QAction* Rezeptdrucken1 = nullptr;
    QAction* Rezepterfassungbeenden1 = nullptr;
    QAction* Info1 = nullptr;
};
