// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "drafts/draftlist.h"
#include "preview/F_PDraftS.h"
#include "preview/draftlayout.h"

#include <QList>

class QAction;
class QListWidget;
class QMenu;

// The load-draft window: lists the drafts of the preview's layout kind with thumbnail,
// paper format, name and comments, loads one into the preview or deletes one. Looking
// at drafts never changes the current draft; only "Load" does.
class TFPDraftL : public TFPDraftS {
    Q_OBJECT
public:
    explicit TFPDraftL(QWidget* parent = nullptr);

    /// "Load draft" of the preview: lists the drafts and shows the window.
    void Open(TFVor& preview);

    void LBDraftClick() { showSelected(); }
    void BOKClick() override;
    /// Shows "Delete draft" only while a draft is selected.
    void PopupMenu1Popup();
    void DraftloeschenClick();

    const QList<TDraftFileList>& draftList() const { return m_list; }

    QListWidget* LBDraft;
    QMenu* PopupMenu1;
    QAction* Draftloeschen;

private:
    void buildList();
    void showSelected();
    int selectedEntry() const;

    QList<TDraftFileList> m_list;
};

/// The one load-draft window, created on first use.
TFPDraftL* DraftLoadWindow();
