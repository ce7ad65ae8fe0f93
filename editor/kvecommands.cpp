// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's commands: the menu bar and pop-up menus with their connections, the
// rich-text commands, and saving, printing and closing.

#include "editor/F_KVE.h"

#include "common/F_Info.h"
#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/controls.h"
#include "common/errorreport.h"
#include "editor/editordialogs.h"
#include "editor/kvefields.h"
#include "editor/richeditcommands.h"
#include "preview/openpreview.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QTextEdit>

using controls::action;

void TFKVE::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("Datei1"));
    Rezeptspeichern1 = action(this, "Rezeptspeichern1", "Save recipe");
    Rezeptspeichern1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Rezeptspeichernunter1 = action(this, "Rezeptspeichernunter1", "Save recipe as");
    Rezeptspeichernunter1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    Rezeptdrucken1 = action(this, "Rezeptdrucken1", "Print recipe");
    Rezeptdrucken1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Rezepterfassungbeenden1 = action(this, "Rezepterfassungbeenden1", "Exit");
    Rezepterfassungbeenden1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    file->addActions({Rezeptspeichern1, Rezeptspeichernunter1, Rezeptdrucken1});
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    file->addAction(Rezepterfassungbeenden1);

    QMenu* info = menuBar()->addMenu(QStringLiteral("&Information"));
    info->setObjectName(QStringLiteral("Information1"));
    Info1 = action(this, "Info1", "General information");
    info->addAction(Info1);

    PMRezeptgrafik = new QMenu(this);
    PMRezeptgrafik->setObjectName(QStringLiteral("PMRezeptgrafik"));
    MGrafikloeschen = action(this, "MGrafikloeschen", "Clear graphic");
    PMRezeptgrafik->addAction(MGrafikloeschen);

    PMRE = new QMenu(this);
    PMRE->setObjectName(QStringLiteral("PMRE"));
    Zeichensatz = action(this, "Zeichensatz", "Select font");
    Einfuegen = action(this, "Einfuegen", "Insert");
    Ausschneiden = action(this, "Ausschneiden", "Cut");
    Kopieren = action(this, "Kopieren", "Copy");
    PMRE->addActions({Zeichensatz, Einfuegen, Ausschneiden, Kopieren});
}

void TFKVE::connectHandlers()
{
    connect(Rezeptspeichern1, &QAction::triggered, this, &TFKVE::Rezeptspeichern1Click);
    connect(Rezeptspeichernunter1, &QAction::triggered, this, &TFKVE::Rezeptspeichernunter1Click);
    connect(Rezeptdrucken1, &QAction::triggered, this, &TFKVE::Rezeptdrucken1Click);
    connect(Rezepterfassungbeenden1, &QAction::triggered, this, &QWidget::close);
    connect(Info1, &QAction::triggered, this, [this] { ShowInformation(this); });
    connect(MGrafikloeschen, &QAction::triggered, this, &TFKVE::MGrafikloeschenClick);
    connect(Zeichensatz, &QAction::triggered, this, &TFKVE::ZeichensatzClick);
    connect(Einfuegen, &QAction::triggered, this, &TFKVE::EinfuegenClick);
    connect(Ausschneiden, &QAction::triggered, this, &TFKVE::AusschneidenClick);
    connect(Kopieren, &QAction::triggered, this, &TFKVE::KopierenClick);

    connect(IRezeptname, &ClickableLabel::clicked, this, &TFKVE::IRezeptnameClick);
    connect(IRezeptgrafik, &ClickableLabel::clicked, this, &TFKVE::IRezeptgrafikClick);
    connect(Panel1, &PictureFrame::activated, this, &TFKVE::IRezeptgrafikClick);
    connect(Panel1, &PictureFrame::clearRequested, this, [this] {
        if (!LGrafikvolldateiname->text().isEmpty())
            MGrafikloeschenClick();
    });
    for (QWidget* picture : std::initializer_list<QWidget*>{IRezeptgrafik, Panel1}) {
        connect(picture, &QWidget::customContextMenuRequested, this, [this, picture](const QPoint& pos) {
            PMRezeptgrafikPopup();
            if (MGrafikloeschen->isVisible())
                PMRezeptgrafik->popup(picture->mapToGlobal(pos));
        });
    }
    connect(RecipeName, &QLineEdit::textChanged, this, &TFKVE::RecipeNameChange);
    for (QLineEdit* edit : {Ordner, Buch, Zeitschrift})
        connect(edit, &QLineEdit::textChanged, this, &TFKVE::printedMatterChange);
    connect(CBIconliste, &QComboBox::activated, this, &TFKVE::CBIconlisteChange);
    connect(CBRezeptkategorien, &QComboBox::activated, this, &TFKVE::CBRezeptkategorienChange);
    connect(CBKochlevel, &QComboBox::currentIndexChanged, this, &TFKVE::CBKochlevelChange);
    connect(DTP1, &QDateTimeEdit::dateTimeChanged, this, &TFKVE::DTP1Change);
    for (QTextEdit* edit : m_richEdits) {
        connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& pos) {
            // The click gave the edit the focus, unless the name rule kept it elsewhere.
            if (!edit->hasFocus())
                return;
            PMREPopup();
            PMRE->popup(edit->viewport()->mapToGlobal(pos));
        });
    }
    RecipeName->installEventFilter(this);
    ERezeptkategorien->installEventFilter(this);
    // The menu's shortcuts win over the edit boxes' own bindings (Ctrl+A, Ctrl+E).
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

// Rich-text commands --------------------------------------------------------------------

QTextEdit* TFKVE::focusedRichEdit() const
{
    for (QTextEdit* edit : m_richEdits) {
        if (edit->hasFocus())
            return edit;
    }
    return nullptr;
}

void TFKVE::PMREPopup()
{
    for (QAction* item : {Zeichensatz, Einfuegen, Ausschneiden, Kopieren})
        item->setEnabled(false);
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    Einfuegen->setEnabled(clipboard && clipboard->hasText());
    Zeichensatz->setEnabled(true);
    const QTextEdit* edit = focusedRichEdit();
    const bool selected = edit && edit->textCursor().hasSelection();
    Ausschneiden->setEnabled(selected);
    Kopieren->setEnabled(selected);
}

void TFKVE::EinfuegenClick()
{
    if (QTextEdit* edit = focusedRichEdit())
        edit->paste();
}

void TFKVE::AusschneidenClick()
{
    if (QTextEdit* edit = focusedRichEdit())
        edit->cut();
}

void TFKVE::KopierenClick()
{
    if (QTextEdit* edit = focusedRichEdit())
        edit->copy();
}

void TFKVE::ZeichensatzClick()
{
    QTextEdit* edit = focusedRichEdit();
    const QFont initial = edit ? selectionFont(edit) : font();
    m_busy = true;
    const std::optional<QFont> chosen = ChooseFont(this, initial);
    m_busy = false;
    if (edit)
        edit->setFocus(Qt::OtherFocusReason);
    if (!chosen || !edit)
        return;
    applyFontToEdit(edit, *chosen);
    const QList<QTextEdit*> columns = deluxeColumns();
    if (columns.contains(edit))
        applyFontToColumns(columns, *chosen);
}

// Saving and closing --------------------------------------------------------------------

bool TFKVE::reportSave(const SaveResult& result)
{
    switch (result.status) {
    case SaveStatus::Saved:
        ask(5, 1, 0);
        return true;
    case SaveStatus::NameMissing:
        ask(1, 1, 0);
        if (RecipeName->isEnabled())
            RecipeName->setFocus(Qt::OtherFocusReason);
        return false;
    case SaveStatus::FileError:
        m_busy = true;
        ReportError(this, result.message);
        m_busy = false;
        return false;
    case SaveStatus::NoCurrentRecipe:
    case SaveStatus::NameExists:
    case SaveStatus::ChangedOutside: // cancelled when asked
    case SaveStatus::DeletedOutside:
        break;
    }
    return false;
}

SaveResult TFKVE::askAboutOutsideChanges(const std::function<SaveResult(OutsideChanges)>& save)
{
    SaveResult result = save(OutsideChanges::Refuse);
    if (result.status == SaveStatus::ChangedOutside) {
        const int answer = ask(27, 2, 3);
        if (answer == kAnswerSaveAnyway)
            result = save(OutsideChanges::Overwrite);
        else if (answer == kAnswerSaveCopy)
            result = save(OutsideChanges::Copy);
    } else if (result.status == SaveStatus::DeletedOutside) {
        if (ask(28, 2, 4) == kAnswerYes)
            result = save(OutsideChanges::Recreate);
    }
    // The editor goes on with the copy: its name is the copy's.
    if (result.ok() && !result.copyName.isEmpty())
        kve::setFieldText(RecipeName, result.copyName);
    return result;
}

bool TFKVE::saveRecipe(const RecipeForm& form)
{
    return reportSave(askAboutOutsideChanges(
        [&](OutsideChanges outside) { return SaveRecipe(m_catalogue, form, &m_known, outside); }));
}

void TFKVE::Rezeptspeichern1Click()
{
    saveRecipe(currentForm());
}

void TFKVE::Rezeptspeichernunter1Click()
{
    if (!currentRecipe())
        return;
    const RecipeForm form = currentForm();
    bool overwrite = false;
    const auto saveAs = [&](OutsideChanges outside) {
        return SaveRecipeAs(m_catalogue, form, overwrite, &m_known, outside);
    };
    SaveResult result = askAboutOutsideChanges(saveAs);
    if (result.status == SaveStatus::NameExists) {
        if (ask(19, 2, 4) != kAnswerYes) {
            if (RecipeName->isEnabled())
                RecipeName->setFocus(Qt::OtherFocusReason);
            return;
        }
        overwrite = true;
        result = askAboutOutsideChanges(saveAs);
    }
    reportSave(result);
}

void TFKVE::Rezeptdrucken1Click()
{
    const RecipeForm form = currentForm(); // what the question is about
    if (ask(24, 1, 1) == kAnswerNo)
        return;
    // A recipe that could not be saved is not printed: the preview would show the old one.
    if (!saveRecipe(form))
        return;
    QWidget* focus = QApplication::focusWidget();
    hide();
    ShowProgress();
    OpenPreview(m_catalogue, true, false);
    show();
    activateWindow();
    if (focus && isAncestorOf(focus))
        focus->setFocus(Qt::OtherFocusReason);
}

void TFKVE::closeEvent(QCloseEvent* event)
{
    // The window is only hidden, never closed for good.
    event->ignore();
    if (m_busy || !isEnabled())
        return;
    const RecipeForm form = currentForm(); // what the question is about
    if (!form.name.isEmpty() && ask(18, 2, 4) == kAnswerYes && !saveRecipe(form))
        return; // nothing saved: stay open so the form's content is not lost
    m_busy = true;
    hide();
    m_busy = false;
    emit closed();
}
