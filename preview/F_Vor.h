// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "platform/richtext/rendertarget.h"
#include "platform/richtext/richdocument.h"
#include "preview/elements.h"
#include "preview/menustate.h"
#include "preview/previewstate.h"
#include "preview/servingsscale.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class ElementImage;
class QDoubleSpinBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QWheelEvent;
class QScrollArea;
class QTextEdit;
class QToolButton;

// The print preview: one recipe laid out on one or two pages. The current page is a
// white sheet (IBlatt) with one transparent image per element lying on it; the menus
// show and hide elements and switch pages. The window holds the controls and applies
// what the preview logic decides.
class TFVor : public QMainWindow {
    Q_OBJECT
public:
    explicit TFVor(QWidget* parent = nullptr);
    ~TFVor() override;

    ElementArray& elements() { return m_elements; }
    PreviewState& state() { return m_state; }
    /// The hidden rich edit element i is rendered with (REConvert for the pictures).
    rich::RichDocument& richEdit(int i);
    /// The hidden scratch rich edit that recipe texts pass through when filled.
    rich::RichDocument& scratchEdit() { return m_scratch; }
    /// Whether the in-place edit box is open.
    bool editBoxOpen() const;
    ElementImage* elementImage(int i) const { return m_images.at(size_t(i)); }
    const MenuState& menuState() const { return m_menu; }

    /// Sizes the sheet and the window around it; unless sheetOnly, shows exactly the
    /// images of the current page's elements and updates the menus.
    void SetupSheet(bool sheetOnly);
    void UpdateMenus(int kind);
    /// Composes the current page: every shown element of it at its place.
    void Redraw(bool dragOnly);
    /// Shows element i on the current page, or hides it; 3 stands for the column group.
    void ShowElement(bool show, int i);
    /// Renders element i; a content or scratch file that cannot be read or written is
    /// reported and leaves the element as it was.
    bool RenderElement(bool full, int i);
    /// Applies the current draft to the preview and shows the result.
    void ApplyDraft();
    /// Makes the current draft the default layout (defaultPlacements) on the paper format
    /// and orientation of the settings, for the elements as they are filled, and applies
    /// it: every element with content is shown.
    void ApplyDefaultLayout();
    /// Makes window one of the preview's own (the draft and format windows): modal, so the
    /// preview takes no input while it is open (and refuses to close), and closed when
    /// the preview hides, so it never works on a preview that is gone.
    void AdoptWindow(QWidget* window);
    /// Closes the preview's own windows that are open.
    void CloseOwnedWindows();
    /// Shows note in the status line until the next note (an empty one clears it).
    void ShowNote(const QString& note);
    QString note() const;
    /// Frames element i and makes it the active element.
    void SelectElement(bool byMouse, int i);
    /// Deselects the active element, laying its text out again; returns its index or -1.
    int DeselectAll();
    /// Loads the arrow and printer glyphs below the base folder.
    void LoadGlyphs();
    /// Releases the elements and forgets the rich edits' texts.
    void ReleaseElements();
    /// Sets the servings control up for a recipe whose elements were just filled, from
    /// its Servings field: counting servings from the recipe's number, or a factor from 1
    /// for a recipe without one. keepCount (the same recipe filled again) keeps the count
    /// shown and scales the new content files to it; they are laid out by the caller.
    void StartServings(const QString& servingsField, bool keepCount);
    /// The servings control changed: the quantities of the temporary copies are scaled
    /// to it and the elements showing them laid out again where they are.
    void ServingsChange(double value);
    /// How the servings control counts for the recipe shown.
    const ServingsBase& servingsBase() const { return m_servingsBase; }

    // Menu commands.
    void Rezeptname1Click() { unitItemClicked(kItemName); }
    void Zutatenliste1Click() { unitItemClicked(kItemIngredients); }
    void Rezepttext1Click() { unitItemClicked(kItemDescription); }
    void Bemerkungen1Click() { unitItemClicked(kItemComments); }
    void SonstigeAngaben1Click() { unitItemClicked(kItemOtherNotes); }
    void Kochschwierigkeitsgrad1Click() { unitItemClicked(kItemDifficulty); }
    void Rezeptgrafik1Click() { unitItemClicked(kItemGraphic); }
    void Kochgeraete1Click() { unitItemClicked(kItemDevices); }
    void Einkaufsliste1Click() { unitItemClicked(kItemShopping); }
    void NeueSeite1Click();
    void Seitevor1Click();
    void Seitezurueck1Click();
    void BBRightClick() { Seitevor1Click(); }
    void BBLeftClick() { Seitezurueck1Click(); }
    void Seite2loeschenClick();
    void Druckbeenden1Click();
    /// "Print recipe": the pages of the layout on the printer chosen in the print dialog.
    void Drucken1Click();

    // Pointer handling: sheet (IBlatt), element images and window background. Form
    // coordinates are those of the canvas the sheet lies on; the element handlers get
    // coordinates relative to element i's image.
    void FormMouseMove(QPoint form, Qt::MouseButtons buttons);
    void IBlattMouseMove(QPoint local, Qt::MouseButtons buttons);
    void IBlattMouseDown(Qt::MouseButton button);
    void IBlattClick();
    void ElementMouseMove(int i, QPoint local, Qt::MouseButtons buttons);
    void ElementMouseDown(int i);
    void ElementMouseUp(int i, QPoint local, Qt::MouseButton button);
    /// Scrolls by 120 pixels per wheel notch; true when the event was used.
    bool FormMouseWheel(const QWheelEvent* event);

    // The element pop-up menu and its commands.
    /// Sets the pop-up items for the pointer's place; true when any item shows.
    bool PMREListenPopup();
    void Texteditieren1Click();
    void Ausblenden1Click();
    void Neujustieren1Click();
    void Zentrieren1Click();
    void Menueschliessen1Click();
    /// Enter in the preparation column's edit box: offers the new line to the other
    /// columns too. Returns false: the key is handled normally afterwards.
    bool REDummyKeyPress(const QKeyEvent* event);
    /// Fits every shown text element wider than the sheet to the sheet's width.
    void FitOverWideElements();
    /// Lays every picture element out for the current sheet (FitPictureElement): a
    /// picture larger than the sheet is shown fitted to it.
    void FitPictures();
    /// The cursor shape the last hit test chose.
    Qt::CursorShape lastCursor() const { return m_lastCursor; }

    QMenu* Datei1;
    QAction* Drucken1;
    QAction* Formatvorlageladen1;
    QAction* Formatvorlagespeichern1;
    QAction* Druckbeenden1;
    QMenu* Druckelemente1;
    std::array<QAction*, kUnitItemCount> unitItems{};
    QMenu* Seite1;
    QAction* NeueSeite1;
    QAction* Seitevor1;
    QAction* Seitezurueck1;
    QAction* Seite2loeschen;
    QLabel* IBlatt;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QToolButton* BBLeft;
    QToolButton* BBRight;
    QToolButton* BBDrucker;
    QTextEdit* REDummy;
    QLabel* ServingsLabel;
    QDoubleSpinBox* ServingsBox;
    QMenu* PMREListen;
    QAction* Texteditieren1;
    QAction* Ausblenden1;
    QAction* Neujustieren1;
    QAction* Zentrieren1;
    QAction* Menueschliessen1;

signals:
    /// The window was hidden: the preview is over.
    void hidden();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildMenus();
    void buildControls();
    void buildPopup();
    void pointerTracking(QPoint form, Qt::MouseButtons buttons);
    void dragActiveElement();
    void putPointer(QPoint sheet);
    void showPopupAt(const QPoint& global);
    QSize sheetSize() const;
    /// Sizes the canvas to the sheet and its margins, and to the edit box while it is
    /// open; returns the size.
    QSize fitCanvas();
    /// Shows the edit box where it was put and scrolls it into view.
    void showEditBox();
    bool activeElement(int* index) const;
    bool saveEditBox(int i);
    void changeEditBoxFont();
    // Reads a column's content file, changes its text and writes it back, reporting a
    // file that cannot be read or written.
    bool changeColumnText(int column, const std::function<void(rich::RichDocument&)>& change);
    bool applyFontToColumns(const QFont& font);
    bool addLineToColumns(int line);
    void unitItemClicked(int item);
    void showSingle(bool show, int i);
    void showColumnGroup(bool show);
    void placeImage(int i);
    void updateTitle();
    void pageChanged();
    void layOutScaled(const ServingsScaler::Change& change);

    ElementArray m_elements;
    PreviewState m_state;
    MenuState m_menu;
    std::array<rich::RichDocument, kElementCount> m_richEdits;
    rich::RichDocument m_convert; // REConvert
    rich::RichDocument m_scratch;
    std::unique_ptr<rich::RenderTarget> m_screen;
    QScrollArea* m_scroll;
    QWidget* m_canvas;
    std::array<ElementImage*, kElementCount> m_images{};
    // What each element's rich edit holds: the text of which content file (and what the
    // file held), laid out to which width. Laying the same text out again at the same
    // width gives the same bitmap, so deselecting an element just rendered keeps it.
    struct LaidOut {
        QString file;
        QByteArray content;
        int width = -1;
        QImage bitmap; ///< the bitmap that layout gave, without a frame
    };
    std::array<LaidOut, kElementCount> m_laidOut;
    QList<QPointer<QWidget>> m_owned;
    Qt::CursorShape m_lastCursor = Qt::ArrowCursor;
    int m_wheelRest = 0; ///< wheel turn not yet scrolled, in eighths of a degree
    ServingsBase m_servingsBase;
    ServingsScaler m_servings;
    bool unchangedSinceLayout(int i) const;
    void rememberLayout(int i, const QByteArray& content);
};
