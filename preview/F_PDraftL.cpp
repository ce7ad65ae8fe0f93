// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/F_PDraftL.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/controls.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "common/windowplacement.h"
#include "drafts/draftfile.h"
#include "imaging/pictureloader.h"
#include "platform/filelookup.h"
#include "platform/safefile.h"
#include "preview/F_Vor.h"
#include "preview/draftcommands.h"
#include "preview/openpreview.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

using controls::place;

namespace {

constexpr int kMessageDelete = 16;

} // namespace

TFPDraftL::TFPDraftL(QWidget* parent) : TFPDraftS(parent)
{
    setObjectName(QStringLiteral("TFPDraftL"));
    setWindowTitle(QStringLiteral("Load draft:"));
    setFixedSize(281, 505);
    IBack->setGeometry(0, 0, 281, 505);
    IHoch->move(88, 128);
    IQuer->move(56, 152);
    Label1->move(56, 288);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label2->move(56, 304);
    Label3->move(4, 332);
    EDisplayname->move(56, 328);
    EDisplayname->setReadOnly(true);
    Label4->move(48, 360);
    MKurzbeschreibung->move(8, 376);
    MKurzbeschreibung->setReadOnly(true);
    BStandard->hide();
    BOK->setGeometry(8, 472, 115, 25);
    BCancel->setGeometry(160, 472, 115, 25);
    BOK->setText(QStringLiteral("Load"));

    LBDraft = place<QListWidget>(this, "LBDraft", 16, 8, 249, 97);
    LBDraft->setUniformItemSizes(true);
    LBDraft->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Draftloeschen = controls::action(PopupMenu1, "Draftloeschen", "Delete draft");
    PopupMenu1->addAction(Draftloeschen);
    connect(LBDraft, &QListWidget::currentRowChanged, this, [this] { LBDraftClick(); });
    connect(LBDraft, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenu1Popup();
        PopupMenu1->popup(LBDraft->viewport()->mapToGlobal(at));
    });
    connect(Draftloeschen, &QAction::triggered, this, &TFPDraftL::DraftloeschenClick);
}

void TFPDraftL::Open(TFVor& preview)
{
    setPreview(&preview);
    preview.AdoptWindow(this);
    buildList();
    showSelected();
    showCentred(this);
    raise();
    activateWindow();
}

void TFPDraftL::buildList()
{
    m_list = BuildDraftList(draftFolder(BaseFolder(), preview()->state().PreviewKind),
                            preview()->state().PreviewKind);
    const QSignalBlocker quiet(LBDraft);
    LBDraft->clear();
    for (TDraftFileList& entry : m_list) {
        auto* item = new QListWidgetItem(entry.displayName, LBDraft);
        item->setSizeHint(QSize(0, 14));
        entry.position = LBDraft->row(item);
    }
    if (!m_list.isEmpty())
        LBDraft->setCurrentRow(0);
}

int TFPDraftL::selectedEntry() const
{
    const int row = LBDraft->currentRow();
    for (int k = 0; k < m_list.size(); ++k) {
        if (m_list.at(k).position == row && row >= 0)
            return k;
    }
    return -1;
}

void TFPDraftL::showSelected()
{
    IHoch->hide();
    IQuer->hide();
    Label4->setText(QStringLiteral("Comments:"));
    Label3->setText(QStringLiteral("Name:"));
    MKurzbeschreibung->clear();
    EDisplayname->clear();
    Label1->clear();
    Label2->clear();
    BOK->setText(QStringLiteral("Load"));
    BCancel->setText(QStringLiteral("Cancel"));
    showBackground(false);
    const int k = selectedEntry();
    if (k < 0 || !preview())
        return;
    // Read into a copy: looking at a draft leaves the current draft as it is.
    TDruckvorlage draft = CurrentDraft();
    if (!ReadDraft(m_list.at(k).path, draft))
        return;
    EDisplayname->setText(draft.DisplayName);
    MKurzbeschreibung->setPlainText(draft.DraftComments.join(QLatin1Char('\n')));
    preview()->setEnabled(false);
    // A missing or unreadable thumbnail leaves its box empty; the draft still loads.
    const QImage thumbnail = loadPicture(m_list.at(k).path + QStringLiteral(".bmp"));
    if (!thumbnail.isNull())
        showThumbnail(thumbnail, draft.Landscape);
    showFormat(draft.PaperFormat, draft.Landscape);
}

void TFPDraftL::BOKClick()
{
    const int k = selectedEntry();
    TFVor* target = preview();
    if (k < 0 || !target)
        return;
    if (!PreviewShowsRecipe()) { // nothing to lay the draft out on
        close();
        return;
    }
    TDruckvorlage draft = CurrentDraft();
    QString error;
    if (!ReadDraft(m_list.at(k).path, draft, &error)) {
        ReportError(this, error);
        return;
    }
    draft.DraftFile = m_list.at(k).path;
    close();
    ShowProgress();
    const int formatBefore = target->state().FormatIndex;
    CurrentDraft() = draft;
    if (!RefillPreview(*target, &error))
        ReportError(target, error);
    target->DeselectAll();
    HideProgress();
    target->show();
    target->raise();
    target->activateWindow();
    if (target->state().FormatIndex != formatBefore)
        BBDruckerClick(*target);
}

void TFPDraftL::PopupMenu1Popup()
{
    Draftloeschen->setText(QStringLiteral("Delete draft"));
    const bool selected = selectedEntry() >= 0;
    Draftloeschen->setVisible(selected);
    Draftloeschen->setEnabled(selected);
}

void TFPDraftL::DraftloeschenClick()
{
    const int k = selectedEntry();
    if (k < 0 || ShowMsg(kMessageDelete, 2, 4) != kAnswerYes)
        return;
    const QString path = m_list.at(k).path;
    QString error;
    const QString thumbnail = lookupPath(path + QStringLiteral(".bmp"));
    if (!removeFile(path, &error) || (!thumbnail.isEmpty() && !removeFile(thumbnail, &error)))
        ReportError(this, error);
    buildList();
    showSelected();
}

TFPDraftL* DraftLoadWindow()
{
    static QPointer<TFPDraftL> window;
    if (!window)
        window = new TFPDraftL;
    return window;
}
