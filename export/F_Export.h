// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "export/exporter.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QProgressDialog;
class QPushButton;

// The "Export..." command of the main window: a window to choose the format and the
// target, then the export with a progress window that can cancel it.

/// The format and the target of an export.
class TFExport : public QDialog {
    Q_OBJECT
public:
    explicit TFExport(QWidget* parent = nullptr);

    ExportFormat format() const;
    QString target() const;

    QComboBox* CBFormat;
    QLineEdit* EZiel;
    QPushButton* BDurchsuchen;
    QPushButton* BOK;
    QPushButton* BAbbrechen;

private:
    void formatChanged();
    void BDurchsuchenClick();

    QString m_proposed; // the target last proposed; replaced while the user kept it
};

/// Runs the command for the recipes (the ones the list shows, in its order): asks for
/// format and target, exports with the progress window modal to parent and reports an
/// error. Returns what the export did; a cancelled window exports nothing.
ExportOutcome ExportRecipes(QWidget* parent, const QList<const TKVG*>& recipes);

/// ExportRecipes for the records the main list shows, in its order.
ExportOutcome ExportListedRecipes(QWidget* parent, const TKV& kv);

/// Answers in place of the export window (tests): fill it in and return true for OK.
using ExportWindowHook = std::function<bool(TFExport& window)>;
/// Called with the progress window after each recipe (tests), to cancel it.
using ExportProgressHook = std::function<void(QProgressDialog& progress, int done)>;
void SetExportWindowHook(ExportWindowHook hook);
void SetExportProgressHook(ExportProgressHook hook);
