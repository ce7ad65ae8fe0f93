// SPDX-License-Identifier: GPL-2.0-or-later

#include "editor/richeditcommands.h"

#include "platform/richtext/fonttransfer.h"
#include "platform/richtext/textdocumentbridge.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

void mergeIntoSelection(QTextEdit* edit, const QFont& font, quint8 parts)
{
    edit->mergeCurrentCharFormat(rich::toTextCharFormatParts(rich::fromQFont(font), parts));
}

void selectAll(QTextEdit* edit)
{
    QTextCursor cursor(edit->document());
    cursor.select(QTextCursor::Document);
    edit->setTextCursor(cursor);
}

} // namespace

QFont selectionFont(const QTextEdit* edit)
{
    rich::RichDocument doc = rich::fromTextDocument(edit->document());
    rich::selectionFromCursor(edit->textCursor(), doc);
    QFont font = edit->document()->defaultFont();
    rich::FontFromSelection(font, doc);
    return font;
}

void applyFontToEdit(QTextEdit* edit, const QFont& font)
{
    if (!edit->textCursor().hasSelection())
        selectAll(edit);
    mergeIntoSelection(edit, font, rich::AllFontParts);
}

void applyFontToColumns(const QList<QTextEdit*>& columns, const QFont& font)
{
    for (QTextEdit* column : columns) {
        selectAll(column);
        mergeIntoSelection(column, font, rich::FacePart | rich::SizePart | rich::PitchPart);
    }
}

void insertMirroredLine(QTextDocument* doc, int row)
{
    QTextCursor cursor(doc);
    if (row >= doc->blockCount()) {
        cursor.movePosition(QTextCursor::End);
    } else {
        cursor.setPosition(doc->findBlockByNumber(qMax(0, row)).position());
    }
    cursor.insertBlock();
}
