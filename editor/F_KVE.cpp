// SPDX-License-Identifier: GPL-2.0-or-later
// The editor window's construction, opening and filling. Building the form is in
// kvelayout.cpp, the field rules and keyboard handling in kvefields.cpp, the recipe
// picture in kvepicture.cpp, and the menus, rich-text commands and saving in
// kvecommands.cpp.

#include "editor/F_KVE.h"

#include "common/errorreport.h"
#include "common/interfacetexts.h"
#include "common/windowplacement.h"
#include "editor/decorations.h"
#include "editor/fieldrules.h"
#include "editor/kvefields.h"
#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "platform/richtext/textdocumentbridge.h"
#include "recipes/recipetexts.h"
#include "recipes/textrules.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QTextEdit>

using namespace kve;

TFKVE::TFKVE(Catalogue& catalogue, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_catalogue(catalogue)
{
    setObjectName(QStringLiteral("TFKVE"));
    setWindowTitle(QLatin1String(kProgramTitle));
    createControls();
    createMenus();
    connectHandlers();
    setTabOrder();
    setFixedSize(sizeHint()); // the client area plus the menu bar

    DecorationLabels& labels = Decorations();
    labels.editorPicture = IRezeptgrafik;
    labels.editorPictureFrame = Panel1;
    labels.editorPictureName = LGrafikvolldateiname;
    for (int i = 0; i < 7; ++i)
        labels.editorDeviceSlots[size_t(i)] = KochgeraetImage[i];
    labels.editorDevicePanel = IIconlisteBack;
    labels.printedMatter = {PrintedMatterIcon{IOrdner, Ordner, 3},
                            PrintedMatterIcon{IZeitschrift, Zeitschrift, 4},
                            PrintedMatterIcon{IBuch, Buch, 5}};
    labels.editorDifficulty = CBKochlevel;
    labels.editorStars = IKochlevel;
    labels.editorCalendar = IKochdatum;
}

// Opening and filling ------------------------------------------------------------------

void TFKVE::ClearEditor()
{
    m_filling = true;
    loadBackgrounds();
    for (QLineEdit* edit : {RecipeName, Ordner, Zeitschrift, Buch, Seite, Bemerkung, Portionen})
        clearField(edit);
    CBRezeptkategorien->clear();
    for (const QByteArray& category : CollectCategories(m_catalogue.recipes, -1))
        CBRezeptkategorien->addItem(cp1252::toUnicode(category));
    CBRezeptkategorien->setCurrentIndex(CBRezeptkategorien->count() > 0 ? 0 : -1);
    clearField(ERezeptkategorien);
    clearField(Zubzeit);
    CBKochlevel->clear();
    CBKochlevel->addItems(difficultyNames());
    CBKochlevel->setCurrentIndex(0);
    CBIconliste->clear();
    CBIconliste->addItems(cookingDeviceItems());
    CBIconliste->setCurrentIndex(0);
    ShowDevicePictures(m_catalogue.recipes, -1);
    ShowEditorDecorations(m_catalogue.recipes, -1);
    for (QTextEdit* edit : m_richEdits) {
        rich::toTextDocument(rich::RichDocument(), edit->document());
        edit->document()->clearUndoRedoStacks();
    }
    LGrafikvolldateiname->clear();
    m_cookingDate = currentDayCount();
    DTP1->setDateTime(QDateTime::currentDateTime());
    m_filling = false;
}

void TFKVE::ShowRecipeKind(int kind)
{
    if (kind != 0 && kind != 1)
        return;
    const bool deluxe = kind == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{Name1, Menge1, Einheit1, Beschreibung1,
                                                      LMenge1, LName1, LEinheit1, LBeschreibung1})
        w->setVisible(deluxe);
    for (QWidget* w : std::initializer_list<QWidget*>{Zutatenliste, Rezepttext, Label6, Label7})
        w->setVisible(!deluxe);
    IRezeptname->setPixmap(cachedPicture(smallIconPath(kind + 1, RecipeName->text().isEmpty())));
}

void TFKVE::OpenNewRecipe()
{
    ClearEditor();
    m_catalogue.CurrentRecipe = m_catalogue.newRecipe();
    m_known = {};
    ShowRecipeKind(m_catalogue.recipes[current()].Kind);
    DTP1->setEnabled(false);
    showCentred(this);
    activateWindow();
    if (RecipeName->isEnabled())
        RecipeName->setFocus(Qt::OtherFocusReason);
}

void TFKVE::OpenRecipe()
{
    TKVG* recipe = currentRecipe();
    if (!recipe)
        return;
    ClearEditor();
    // Before the side files are read: a change in between is then asked about.
    m_known = openedFilesState(*recipe);
    fillFromRecipe(*recipe);
    ShowRecipeKind(recipe->Kind);
    emit recipeShown();
    ShowDevicePictures(m_catalogue.recipes, current());
    ShowEditorDecorations(m_catalogue.recipes, current());
    showCentred(this);
    activateWindow();
    if (RecipeName->isEnabled()) {
        RecipeName->setFocus(Qt::OtherFocusReason);
        RecipeName->deselect();
    }
}

void TFKVE::fillFromRecipe(const TKVG& recipe)
{
    QStringList unreadable;
    showForm(formFromRecipe(recipe, &unreadable));
    for (const QString& error : unreadable)
        ReportErrorOnce(this, unreadableSideFileText(error));
}

void TFKVE::showForm(const RecipeForm& form)
{
    m_filling = true;
    setFieldText(RecipeName, form.name);
    setFieldText(Ordner, form.binder);
    setFieldText(Buch, form.book);
    setFieldText(Zeitschrift, form.magazine);
    setFieldText(Seite, form.page);
    setFieldText(Bemerkung, form.remark);
    setFieldText(ERezeptkategorien, form.categories);
    setFieldText(Portionen, form.servings);
    setFieldText(Zubzeit, form.prepTime);
    // A difficulty outside 1 to 5 selects nothing; saving then stores 0.
    CBKochlevel->setCurrentIndex(form.difficultyItem >= 0 && form.difficultyItem < CBKochlevel->count()
                                     ? form.difficultyItem
                                     : -1);
    LGrafikvolldateiname->setText(form.pictureFile);
    m_cookingDate = form.lastCooked;
    const QDateTime cooked = dateTimeFromDayCount(form.lastCooked);
    DTP1->setDateTime(cooked.isValid() ? cooked : QDateTime::currentDateTime());
    for (size_t i = 0; i < form.texts.size(); ++i) {
        QTextEdit* edit = m_richEdits.at(qsizetype(i));
        rich::toTextDocument(form.texts[i], edit->document());
        edit->document()->clearUndoRedoStacks();
        edit->moveCursor(QTextCursor::Start);
    }
    DTP1->setEnabled(nameAllowsDate(form.name));
    m_filling = false;
}

RecipeForm TFKVE::currentForm() const
{
    RecipeForm form;
    form.name = RecipeName->text();
    const TKVG* recipe = const_cast<TFKVE*>(this)->currentRecipe();
    form.kind = recipe ? recipe->Kind : 0;
    form.devices = recipe ? recipe->Devices : QByteArray();
    form.binder = Ordner->text();
    form.book = Buch->text();
    form.magazine = Zeitschrift->text();
    form.page = Seite->text();
    form.remark = Bemerkung->text();
    form.categories = ERezeptkategorien->text();
    form.servings = Portionen->text();
    form.prepTime = Zubzeit->text();
    form.difficultyItem = CBKochlevel->currentIndex();
    form.pictureFile = LGrafikvolldateiname->text();
    form.lastCooked = m_cookingDate;
    for (size_t i = 0; i < form.texts.size(); ++i)
        form.texts[i] = rich::fromTextDocument(m_richEdits.at(qsizetype(i))->document());
    return form;
}

QList<QTextEdit*> TFKVE::deluxeColumns() const
{
    return {Name1, Menge1, Einheit1, Beschreibung1};
}

TKVG* TFKVE::currentRecipe()
{
    const int index = current();
    return index >= 0 && index < m_catalogue.recipes.size() ? &m_catalogue.recipes[index] : nullptr;
}
