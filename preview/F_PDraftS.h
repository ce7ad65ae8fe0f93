// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TFVor;

// The save-draft window: a thumbnail of page 1 of the preview, its paper format, a name
// and comment lines; stores the layout under a chosen name or as the standard draft of
// the layout kind. Shown without a modal loop; the preview is disabled meanwhile.
class TFPDraftS : public QWidget {
    Q_OBJECT
public:
    explicit TFPDraftS(QWidget* parent = nullptr);

    /// "Save draft as" of the preview: captures the placements and shows the window.
    void Open(TFVor& preview);

    virtual void BOKClick();
    void BStandardClick();
    void BCancelClick() { close(); }

    QLabel* IBack;
    QLabel* IHoch;
    QLabel* IQuer;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLineEdit* EDisplayname;
    QLabel* Label4;
    QPlainTextEdit* MKurzbeschreibung;
    QPushButton* BStandard;
    QPushButton* BOK;
    QPushButton* BCancel;

protected:
    void closeEvent(QCloseEvent* event) override;
    /// The background picture stretched over the window, with a frame just outside the
    /// tall thumbnail box when frameTallBox is set.
    void showBackground(bool frameTallBox);
    /// Shows picture in the wide box for landscape, in the tall one for portrait.
    void showThumbnail(const QImage& picture, bool landscape);
    /// Sets the labels of a paper format (nothing for an index outside the table).
    void showFormat(int formatIndex, bool landscape);
    TFVor* preview() const { return m_preview; }
    void setPreview(TFVor* preview) { m_preview = preview; }

private:
    /// Writes the current draft, now named by its DraftFile, and closes the window;
    /// message is shown when it was written.
    void save(int message);

    QPointer<TFVor> m_preview;
};

/// The one save-draft window, created on first use.
TFPDraftS* DraftSaveWindow();

/// Answers the save dialog: gets its title, folder and proposed file name and returns
/// the chosen path, or "" for cancel.
using DraftFileDialogHook =
    std::function<QString(const QString& title, const QString& folder, const QString& proposed)>;

/// Routes the save dialog to hook (tests); an empty hook restores the dialog.
void SetDraftFileDialogHook(DraftFileDialogHook hook);
