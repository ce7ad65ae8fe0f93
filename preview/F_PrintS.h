// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QListWidget;
class QPrinter;
class QPushButton;
class QRadioButton;
class TFVor;

// The print format window: one of the paper formats and portrait or landscape, with an
// outline of the page and its size in centimetres and inches. "Assign" hands the choice
// to the printer set-up dialog and, when that is confirmed, to the preview's page
// geometry; "Cancel" changes nothing.
class TFPrintS : public QWidget {
    Q_OBJECT
public:
    explicit TFPrintS(QWidget* parent = nullptr);

    /// Shows the window over preview (which is disabled meanwhile) and returns when it has
    /// been hidden again.
    void Execute(TFVor& preview);

    void BOKClick();
    void BCancelClick();
    void LBFormatClick() { updateSample(); }
    void RGFormatClick() { updateSample(); }

    QListWidget* LBFormat;
    QGroupBox* RGFormat;
    QRadioButton* portraitItem;
    QRadioButton* landscapeItem;
    QPushButton* BOK;
    QPushButton* BCancel;
    QLabel* IFormat;
    QLabel* Label1;
    QLabel* Label2;

signals:
    void hidden();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateSample();
    bool selectedLandscape() const;
    /// Asks whether the standard draft of the layout kind takes the assigned paper when
    /// it lays out on another, and writes it there on Yes.
    void offerToStandardDraft(int kind, int format, bool landscape);

    QPointer<TFVor> m_preview;
};

/// The one print format window, created on first use.
TFPrintS* PrintFormatWindow();

/// Runs the printer set-up dialog on printer; true when the user confirmed it.
using PageSetupHook = std::function<bool(QPrinter& printer)>;
/// Routes the printer set-up dialog to hook (tests); an empty hook restores the dialog.
void SetPageSetupHook(PageSetupHook hook);

/// Called with the shown print format window instead of waiting for the user (tests);
/// the hook ends the wait by pressing a button; a window it leaves open is cancelled
/// when it returns. An empty hook waits for the user.
using PrintFormatShownHook = std::function<void(TFPrintS& window)>;
void SetPrintFormatShownHook(PrintFormatShownHook hook);
