// SPDX-License-Identifier: GPL-2.0-or-later
// The recipe picture: its clickable label and focusable frame, choosing a picture and
// clearing it.

#include "editor/F_KVE.h"

#include "common/F_Msg.h"
#include "common/session.h"
#include "editor/decorations.h"
#include "editor/editordialogs.h"
#include "recipes/textrules.h"

#include <QAction>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void PictureFrame::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit activated();
        return;
    case Qt::Key_Delete:
        emit clearRequested();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void PictureFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureFrame::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    update();
}

void PictureFrame::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    update();
}

// Recipe picture ------------------------------------------------------------------------

void TFKVE::IRezeptgrafikClick()
{
    TKVG* recipe = currentRecipe();
    if (RecipeName->text().isEmpty() || !recipe)
        return;
    Settings& settings = CurrentSettings();
    m_busy = true;
    const std::optional<QString> chosen =
        ChoosePicture(this, settings.lastPictureFolder, FileNamePart(LGrafikvolldateiname->text()));
    m_busy = false;
    if (chosen) {
        if (!QFileInfo(*chosen).isFile())
            return;
        LGrafikvolldateiname->setText(*chosen);
        recipe->PictureFile = *chosen;
        ShowEditorDecorations(m_catalogue.recipes, current());
        settings.lastPictureFolder = FolderPart(*chosen);
        return;
    }
    if (!LGrafikvolldateiname->text().isEmpty() && ask(4, 2, 4) == kAnswerYes)
        clearPicture();
}

void TFKVE::PMRezeptgrafikPopup()
{
    MGrafikloeschen->setVisible(!LGrafikvolldateiname->text().isEmpty());
}

void TFKVE::MGrafikloeschenClick()
{
    if (ask(4, 2, 4) == kAnswerYes)
        clearPicture();
}

void TFKVE::clearPicture()
{
    LGrafikvolldateiname->clear();
    if (TKVG* recipe = currentRecipe())
        recipe->PictureFile.clear();
    ShowEditorDecorations(m_catalogue.recipes, current());
}
