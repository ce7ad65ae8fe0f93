// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "import/importer.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

// The "Import recipes..." command of the main window and its summary window.

/// The summary of an import: how many recipes were imported and a list of what could
/// not be read (file, line or element, reason), which can be saved as a text file.
class TFImport : public QWidget {
    Q_OBJECT
public:
    explicit TFImport(QWidget* parent = nullptr);

    /// Shows the summary application-modal and waits until the window is hidden.
    void Execute(const ImportSummary& summary);

    QLabel* LErgebnis;
    QLabel* LProbleme;
    QTreeWidget* LVProbleme;
    QPushButton* BSpeichern;
    QPushButton* BOK;

signals:
    void hidden();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void BSpeichernClick();

    ImportSummary m_summary;
};

/// Runs the command: asks for the files (several at once), imports them into the
/// recipe folder below baseFolder with the progress window showing for a long import,
/// calls afterImport (the main window reloads its list) and shows the summary. Returns
/// the number of recipes imported.
int ImportRecipes(QWidget* parent, const QString& baseFolder,
                  const std::function<void()>& afterImport);

/// An import of this many bytes or files shows the progress window.
inline constexpr qint64 kLongImportBytes = qint64(1) << 20;
inline constexpr int kLongImportFiles = 20;

/// Answers in place of the file dialogs (tests): the files to import (none: cancelled),
/// and the file to save the summary in (empty: cancelled), given the proposed one.
using ImportFilesDialogHook = std::function<QStringList()>;
using SummaryFileDialogHook = std::function<QString(const QString& proposed)>;
/// Called with the shown summary window; it is closed when the hook returns.
using ImportSummaryShownHook = std::function<void(TFImport& window)>;

void SetImportFilesDialogHook(ImportFilesDialogHook hook);
void SetSummaryFileDialogHook(SummaryFileDialogHook hook);
void SetImportSummaryShownHook(ImportSummaryShownHook hook);
