// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's field rules as the user meets them: entering and leaving the name and
// the categories, the drop-down lists, the date, the Enter key in the texts, and the
// messages that stop the window while they wait.

#include "editor/F_KVE.h"

#include "common/F_Msg.h"
#include "editor/decorations.h"
#include "editor/fieldrules.h"
#include "editor/kvefields.h"
#include "editor/richeditcommands.h"
#include "platform/daycount.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextEdit>

namespace kve {

// The length an edit box lets the user type up to, kept beside its current maximum.
constexpr char kTypingLimit[] = "typingLimit";

void setTypingLimit(QLineEdit* edit, int length)
{
    edit->setMaxLength(length);
    edit->setProperty(kTypingLimit, length);
}

void setFieldText(QLineEdit* edit, const QString& text)
{
    edit->setMaxLength(qMax(edit->property(kTypingLimit).toInt(), int(text.size())));
    edit->setText(text);
}

void clearField(QLineEdit* edit)
{
    edit->clear();
    edit->setMaxLength(edit->property(kTypingLimit).toInt());
}

} // namespace kve

using namespace kve;

namespace {

bool isWindowSwitch(const QFocusEvent* event, const QWidget* window)
{
    // Focus that leaves or returns with the whole window (another window activated, a
    // menu opened) is not the user moving between fields. Neither is focus handed on to
    // another window: an opening drop-down list moves it into its popup without saying so.
    // The menu bar in keyboard mode (Alt pressed) takes the focus the same way.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason ||
        event->reason() == Qt::MenuBarFocusReason)
        return true;
    const QWidget* next = QApplication::focusWidget();
    return event->type() == QEvent::FocusOut && next && next->window() != window;
}

} // namespace

bool TFKVE::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction* item : {Rezeptspeichern1, Rezeptspeichernunter1, Rezeptdrucken1,
                              Rezepterfassungbeenden1}) {
            if (item->shortcut() == pressed)
                return true; // not taken by the edit: the menu's shortcut fires
        }
        break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        if (m_busy || isWindowSwitch(static_cast<QFocusEvent*>(event), this))
            break;
        if (watched == RecipeName)
            event->type() == QEvent::FocusIn
                ? RecipeNameEnter()
                : RecipeNameExit(static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason);
        else if (watched == ERezeptkategorien)
            ERezeptkategorienEnterExit();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        // The click that tried to leave an empty name is not carried out either: it
        // would open a list or place the caret in a field the focus never reached.
        if (m_swallowClick) {
            if (event->type() == QEvent::MouseButtonRelease)
                m_swallowClick = false;
            return true;
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* edit = qobject_cast<QTextEdit*>(watched);
        if (!edit || !m_richEdits.contains(edit) ||
            (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter))
            break;
        if (edit == Beschreibung1)
            Beschreibung1KeyPress();
        if (key->modifiers() & Qt::ShiftModifier) {
            // A soft line break would be a line of its own once saved but no row for the
            // mirrored columns: every break is a real new line.
            QTextCursor cursor = edit->textCursor();
            cursor.insertBlock();
            edit->setTextCursor(cursor);
            edit->ensureCursorVisible();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Field rules ---------------------------------------------------------------------------

int TFKVE::ask(int number, int headingKind, int buttonSet)
{
    QWidget* focused = focusWidget();
    m_busy = true;
    setEnabled(false);
    const int answer = ShowMsg(number, headingKind, buttonSet);
    setEnabled(true);
    m_busy = false;
    if (isVisible())
        activateWindow(); // the message window had the focus
    if (focused && focused->isVisible() && focused->isEnabled())
        focused->setFocus(Qt::OtherFocusReason);
    return answer;
}

void TFKVE::IRezeptnameClick()
{
    if (!switchKind(m_catalogue, RecipeName->text())) {
        ask(1, 1, 0);
        RecipeName->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (const TKVG* recipe = currentRecipe())
        ShowRecipeKind(recipe->Kind);
}

void TFKVE::RecipeNameEnter()
{
    DTP1->setEnabled(nameAllowsDate(RecipeName->text()));
}

void TFKVE::RecipeNameChange()
{
    if (const TKVG* recipe = currentRecipe()) {
        ShowRecipeKind(recipe->Kind);
        DTP1->setEnabled(nameAllowsDate(RecipeName->text()));
    }
}

void TFKVE::RecipeNameExit(bool byClick)
{
    const QString name = nameOnLeave(RecipeName->text());
    if (!name.isEmpty()) {
        if (name != RecipeName->text())
            setFieldText(RecipeName, name);
        DTP1->setEnabled(true);
        return;
    }
    m_swallowClick = byClick;
    ask(1, 1, 0);
    RecipeName->clear();
    m_busy = true; // the focus comes back without running the enter rule again
    if (RecipeName->isVisible() && RecipeName->isEnabled())
        RecipeName->setFocus(Qt::OtherFocusReason);
    m_busy = false;
    DTP1->setEnabled(false);
}

void TFKVE::printedMatterChange()
{
    if (!m_filling)
        ShowDevicePictures(m_catalogue.recipes, current());
}

void TFKVE::CBIconlisteChange(int item)
{
    TKVG* recipe = currentRecipe();
    if (!recipe)
        return;
    if (toggleDevice(recipe->Devices, item) == DeviceToggle::Full)
        ask(2, 1, 0);
    CBIconliste->setCurrentIndex(item);
    ShowDevicePictures(m_catalogue.recipes, current());
}

void TFKVE::ERezeptkategorienEnterExit()
{
    const QString normalised = normaliseCategoryField(ERezeptkategorien->text());
    if (normalised != ERezeptkategorien->text())
        setFieldText(ERezeptkategorien, normalised);
}

void TFKVE::CBRezeptkategorienChange(int item)
{
    if (item < 0)
        return;
    const QString category = CBRezeptkategorien->itemText(item);
    const QString field = ERezeptkategorien->text();
    if (categoryListed(field, category) && ask(3, 1, 4) != kAnswerYes)
        return;
    setFieldText(ERezeptkategorien, addCategory(field, category));
}

void TFKVE::CBKochlevelChange()
{
    if (!m_filling && currentRecipe())
        ShowEditorDecorations(m_catalogue.recipes, current());
}

void TFKVE::DTP1Change()
{
    if (m_filling)
        return;
    TKVG* recipe = currentRecipe();
    m_cookingDate = dayCountFromDateTime(DTP1->dateTime());
    if (recipe) {
        recipe->LastCooked = m_cookingDate;
        ShowEditorDecorations(m_catalogue.recipes, current());
    }
}

bool TFKVE::Beschreibung1KeyPress()
{
    // The new line is the one after the caret's, unless Enter at the start of a line
    // pushes that whole line down: then the empty line is the caret's own row.
    const QTextCursor caret = Beschreibung1->textCursor();
    const bool pushesDown = !caret.hasSelection() && caret.atBlockStart() && !caret.atBlockEnd();
    const int row = caret.blockNumber() + (pushesDown ? 0 : 1);
    if (ask(7, 2, 4) != kAnswerYes)
        return false;
    for (QTextEdit* column : {Menge1, Einheit1, Name1})
        insertMirroredLine(column->document(), row);
    return true;
}
