// SPDX-License-Identifier: GPL-2.0-or-later
// The preview window's element commands: the pop-up menu of an element (hide, fit to
// the page width, centre, edit in place) and the in-place edit box with its font
// changes. They change only the preview's temporary content files, never the recipe.

#include "preview/F_Vor.h"

#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "editor/editordialogs.h"
#include "platform/richtext/fonttransfer.h"
#include "platform/richtext/richlayout.h"
#include "platform/richtext/rtfreader.h"
#include "platform/richtext/rtfwriter.h"
#include "platform/richtext/textdocumentbridge.h"
#include "preview/elementimage.h"
#include "preview/layoutediting.h"
#include "preview/recipefill.h"
#include "preview/printers.h"
#include "preview/render.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>

namespace {

constexpr int kNewLinesQuestion = 7;
constexpr int kEditBoxExtra = 50;
constexpr int kEditBoxMinWidth = 150;
constexpr int kEditBoxMinHeight = 100;
constexpr int kFitMargin = 4;

rich::RichDocument editBoxText(const QTextEdit* box)
{
    return rich::fromTextDocument(box->document());
}

/// A content file for an element that had none (an empty deluxe column), in the
/// preview's temporary folder, so that text typed into it is kept like any other.
QString newContentFile(int i)
{
    return previewTempFolder(BaseFolder()) +
           QStringLiteral("Element%1.qzt").arg(i + 1, 3, 10, QLatin1Char('0'));
}

} // namespace

void TFVor::buildPopup()
{
    PMREListen = new QMenu(this);
    PMREListen->setObjectName(QStringLiteral("PMREListen"));
    auto item = [this](const char* name, void (TFVor::*slot)()) {
        QAction* a = PMREListen->addAction(QString());
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    Texteditieren1 = item("Texteditieren1", &TFVor::Texteditieren1Click);
    Ausblenden1 = item("Ausblenden1", &TFVor::Ausblenden1Click);
    Neujustieren1 = item("Neujustieren1", &TFVor::Neujustieren1Click);
    Zentrieren1 = item("Zentrieren1", &TFVor::Zentrieren1Click);
    Menueschliessen1 = item("Menueschliessen1", &TFVor::Menueschliessen1Click);
    Ausblenden1->setText(QStringLiteral("hide"));
    Neujustieren1->setText(QStringLiteral("Resize to page width"));
    Zentrieren1->setText(QStringLiteral("Center horizontal"));
    for (QAction* a : PMREListen->actions())
        a->setVisible(false);
    REDummy->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(REDummy, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showPopupAt(REDummy->mapToGlobal(at)); });
}

bool TFVor::PMREListenPopup()
{
    UpdateMenus(m_state.PreviewKind);
    if (m_elements.size() != kElementCount)
        return false;
    const int a = ActiveElementIndex(m_elements);
    const PopupItems items =
        ComputePopupItems(m_elements.at(a), a, m_state.MouseX, m_state.MouseY,
                          sheetSize().width(), editBoxOpen(), REDummy->textCursor().hasSelection());
    Texteditieren1->setText(items.editCaption);
    Menueschliessen1->setText(items.closeCaption);
    Texteditieren1->setVisible(items.edit);
    Texteditieren1->setEnabled(items.editEnabled);
    Ausblenden1->setVisible(items.hide);
    Ausblenden1->setEnabled(items.hide);
    Neujustieren1->setVisible(items.fit);
    Neujustieren1->setEnabled(items.fit);
    Zentrieren1->setVisible(items.centre);
    Zentrieren1->setEnabled(items.centre);
    Menueschliessen1->setVisible(items.close);
    return items.any();
}

void TFVor::Ausblenden1Click()
{
    int a = 0;
    if (editBoxOpen() || !activeElement(&a))
        return;
    ShowElement(false, isColumn(a) ? int(kQuantity) : a);
}

void TFVor::Texteditieren1Click()
{
    if (editBoxOpen()) {
        changeEditBoxFont();
        return;
    }
    int a = 0;
    if (!activeElement(&a) || isPictureElement(a))
        return;
    const TGFXL& e = m_elements.at(a);
    rich::RichDocument text;
    QString error;
    if (!e.ContentFile.isEmpty() && !rich::readRtfFile(e.ContentFile, text, &error)) {
        ReportError(this, error);
        return;
    }
    REDummy->setGeometry(e.Left + IBlatt->x(), e.Top + IBlatt->y(),
                         std::max(e.width() + kEditBoxExtra, kEditBoxMinWidth),
                         std::max(e.height() + kEditBoxExtra, kEditBoxMinHeight));
    REDummy->clear();
    rich::toTextDocument(text, REDummy->document());
    REDummy->moveCursor(QTextCursor::Start);
    showEditBox();
    UpdateMenus(m_state.PreviewKind);
    REDummy->setFocus();
}

bool TFVor::saveEditBox(int i)
{
    TGFXL& e = m_elements[i];
    if (e.ContentFile.isEmpty())
        e.ContentFile = newContentFile(i);
    QString error;
    if (rich::writeRtfFile(e.ContentFile, editBoxText(REDummy), &error, Durability::Scratch))
        return true;
    ReportError(this, error);
    return false;
}

void TFVor::Menueschliessen1Click()
{
    int a = 0;
    if (!editBoxOpen() || !activeElement(&a))
        return;
    // The text is saved before the box goes, so a failing write keeps it open and
    // nothing typed is lost.
    if (!saveEditBox(a))
        return;
    REDummy->hide();
    if (!isPictureElement(a))
        RenderElement(false, a);
    DeselectAll();
    Redraw(false);
    UpdateMenus(m_state.PreviewKind);
}

void TFVor::changeEditBoxFont()
{
    int a = 0;
    if (!activeElement(&a))
        return;
    const bool wholeText = m_elements.at(a).WholeTextFont;
    QTextCursor cursor = REDummy->textCursor();
    if (!cursor.hasSelection() && !wholeText)
        return;
    const int start = cursor.selectionStart();
    const int length = cursor.selectionEnd() - start;
    rich::RichDocument model = editBoxText(REDummy);
    rich::selectionFromCursor(cursor, model);
    QFont initial;
    rich::FontFromSelection(initial, model);
    REDummy->setEnabled(false);
    const std::optional<QFont> chosen = ChooseFont(this, initial);
    if (chosen) {
        rich::CharFormat font = rich::fromQFont(*chosen, model.defaultFormat());
        quint8 parts = rich::FacePart | rich::SizePart | rich::PitchPart;
        if (wholeText) {
            // These columns share one font over their whole text, always plain.
            cursor.select(QTextCursor::Document);
            font.style = 0;
        }
        parts |= rich::StylePart;
        cursor.mergeCharFormat(rich::toTextCharFormatParts(font, parts));
        if (wholeText && m_elements.at(a).ColumnGroup == 1) {
            // What was typed is kept: the box's text goes to its column first.
            if (saveEditBox(a) && applyFontToColumns(*chosen)) {
                REDummy->hide();
                REDummy->setEnabled(true);
                DeselectAll();
                Redraw(false);
                UpdateMenus(m_state.PreviewKind);
                return;
            }
        }
    }
    REDummy->setEnabled(true);
    QApplication::processEvents();
    REDummy->setFocus();
    cursor = REDummy->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    REDummy->setTextCursor(cursor);
}

bool TFVor::changeColumnText(int column, const std::function<void(rich::RichDocument&)>& change)
{
    TGFXL& e = m_elements[column];
    rich::RichDocument text;
    QString error;
    if (!e.ContentFile.isEmpty() && !rich::readRtfFile(e.ContentFile, text, &error)) {
        ReportError(this, error);
        return false;
    }
    change(text);
    if (e.ContentFile.isEmpty())
        e.ContentFile = newContentFile(column);
    if (!rich::writeRtfFile(e.ContentFile, text, &error, Durability::Scratch)) {
        ReportError(this, error);
        return false;
    }
    return true;
}

bool TFVor::applyFontToColumns(const QFont& chosen)
{
    for (int j = kQuantity; j <= kPreparation; ++j) {
        const bool changed = changeColumnText(j, [&chosen](rich::RichDocument& text) {
            rich::CharFormat font = rich::fromQFont(chosen, text.defaultFormat());
            font.style = 0;
            const quint8 parts = rich::FacePart | rich::SizePart | rich::StylePart;
            text.selectAll();
            rich::applyFontParts(font, parts, text);
            // The selection holds no end mark of the last line: empty cells and the lines
            // added below them would keep the old font and the rows their old height.
            text.setSelection(0, 0);
            rich::applyFontParts(font, parts, text); // the default format
            for (rich::RichLine& line : text.lines()) {
                rich::CharFormat end = rich::fromQFont(chosen, text.format(line.endFormat));
                end.style = 0;
                line.endFormat = text.intern(end);
            }
        });
        if (!changed)
            return false;
        RenderElement(false, j);
    }
    return true;
}

bool TFVor::addLineToColumns(int line)
{
    for (int j = kQuantity; j <= kIngredientName; ++j) {
        const bool changed = changeColumnText(j, [line](rich::RichDocument& text) {
            rich::RichLine empty;
            empty.endFormat = text.lineCount() > 0 ? text.lines().last().endFormat
                                                   : text.defaultFormatId();
            if (text.lineCount() < line)
                text.lines().append(empty);
            else
                text.lines().insert(line, empty);
        });
        if (!changed)
            return false;
    }
    return true;
}

bool TFVor::REDummyKeyPress(const QKeyEvent* event)
{
    int a = 0;
    if (!activeElement(&a) || a != kPreparation ||
        (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter))
        return false;
    if (ShowMsg(kNewLinesQuestion, 2, 4) != kAnswerYes)
        return false;
    const int line = REDummy->textCursor().blockNumber() + 1;
    if (!saveEditBox(kPreparation) || !addLineToColumns(line))
        return false;
    for (int j = kQuantity; j <= kIngredientName; ++j)
        RenderElement(false, j);
    DeselectAll();
    RenderElement(false, kPreparation);
    SelectElement(false, kPreparation);
    Redraw(false);
    return false;
}

void TFVor::Neujustieren1Click()
{
    int a = 0;
    if (!activeElement(&a) || isPictureElement(a))
        return;
    TGFXL& e = m_elements[a];
    const int width = sheetSize().width();
    rich::RichDocument& convert = richEdit(kDifficulty); // REConvert
    QString error;
    convert.clear();
    if (!e.ContentFile.isEmpty() && !rich::readRtfFile(e.ContentFile, convert, &error)) {
        ReportError(this, error);
        return;
    }
    const int height = rich::WrapText(*m_screen, convert, width - kFitMargin, 0,
                                      PrinterAvailable() ? rich::PrinterStatus::Available
                                                         : rich::PrinterStatus::Missing);
    // The element takes the sheet's width; laying its text out again at that width
    // wraps it and gives the final height.
    e.Bitmap = rich::newScreenImage(QSize(width, height + kFitMargin));
    e.Shown = true;
    RenderElement(false, a);
    DeselectAll();
    SelectElement(true, a);
    Redraw(false);
}

void TFVor::Zentrieren1Click()
{
    int a = 0;
    if (!activeElement(&a))
        return;
    TGFXL& e = m_elements[a];
    e.Left = centredLeft(sheetSize().width(), e.width());
    e.Shown = true;
    if (isPictureElement(a))
        elementImage(a)->move(e.Left + IBlatt->x(), e.Top + IBlatt->y());
    else
        RenderElement(false, a);
    DeselectAll();
    SelectElement(true, a);
    Redraw(false);
}

void TFVor::FitOverWideElements()
{
    const int width = sheetSize().width();
    for (int i = 0; i < m_elements.size(); ++i) {
        // Pictures keep their pixels: fitting lays text out, and a picture has none.
        if (isPictureElement(i) || !isOverWide(m_elements.at(i), width))
            continue;
        DeselectAll();
        SelectElement(false, i);
        Neujustieren1Click();
    }
}
