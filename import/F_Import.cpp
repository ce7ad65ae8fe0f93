// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/F_Import.h"

#include "common/F_LadeInfo.h"
#include "common/errorreport.h"
#include "common/hook.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

QString& lastFolder()
{
    static QString folder = QDir::homePath();
    return folder;
}

QStringList chooseFiles(QWidget* parent)
{
    if (hookSlot<SetImportFilesDialogHook>())
        return hookSlot<SetImportFilesDialogHook>()();
    const QStringList files = QFileDialog::getOpenFileNames(
        parent, QStringLiteral("Import recipes"), lastFolder(),
        QStringLiteral("Recipe files (*.mmf *.mm *.mxp *.txt *.xml *.rml *.html *.htm *.json);;"
                       "MealMaster (*.mmf *.mm *.txt);;RecipeML (*.xml *.rml);;"
                       "Web pages and JSON-LD (*.html *.htm *.json);;All files (*)"));
    if (!files.isEmpty())
        lastFolder() = QFileInfo(files.first()).absolutePath();
    return files;
}

QString chooseSummaryFile(QWidget* parent, const QString& proposed)
{
    if (hookSlot<SetSummaryFileDialogHook>())
        return hookSlot<SetSummaryFileDialogHook>()(proposed);
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Save import summary"), proposed,
                                        QStringLiteral("Text files (*.txt);;All files (*)"));
}

qint64 totalSize(const QStringList& files)
{
    qint64 bytes = 0;
    for (const QString& file : files)
        bytes += QFileInfo(file).size();
    return bytes;
}

QString progressText(int imported)
{
    return QStringLiteral("Importing recipes: %1").arg(imported);
}

} // namespace

TFImport::TFImport(QWidget* parent) : QWidget(parent, Qt::Window | Qt::Dialog)
{
    setObjectName(QStringLiteral("TFImport"));
    setWindowTitle(QStringLiteral("Import recipes"));
    setWindowModality(Qt::ApplicationModal);
    resize(640, 360);
    LErgebnis = new QLabel(this);
    LErgebnis->setObjectName(QStringLiteral("LErgebnis"));
    LProbleme = new QLabel(QStringLiteral("Could not be read:"), this);
    LProbleme->setObjectName(QStringLiteral("LProbleme"));
    LVProbleme = new QTreeWidget(this);
    LVProbleme->setObjectName(QStringLiteral("LVProbleme"));
    LVProbleme->setHeaderLabels(
        {QStringLiteral("File"), QStringLiteral("Line or element"), QStringLiteral("Reason")});
    LVProbleme->setRootIsDecorated(false);
    LVProbleme->setWordWrap(true);
    LVProbleme->header()->setStretchLastSection(true);
    BSpeichern = new QPushButton(QStringLiteral("Save as text file..."), this);
    BSpeichern->setObjectName(QStringLiteral("BSpeichern"));
    BOK = new QPushButton(QStringLiteral("OK"), this);
    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BSpeichern);
    buttons->addStretch();
    buttons->addWidget(BOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LErgebnis);
    layout->addWidget(LProbleme);
    layout->addWidget(LVProbleme, 1);
    layout->addLayout(buttons);

    connect(BOK, &QPushButton::clicked, this, &QWidget::hide);
    connect(BSpeichern, &QPushButton::clicked, this, &TFImport::BSpeichernClick);
}

void TFImport::Execute(const ImportSummary& summary)
{
    m_summary = summary;
    LErgebnis->setText(summary.headline());
    LVProbleme->clear();
    for (const ImportProblem& problem : summary.problems) {
        auto* item = new QTreeWidgetItem(
            LVProbleme, {QDir::toNativeSeparators(problem.file), problem.where, problem.reason});
        item->setToolTip(2, problem.reason);
    }
    LVProbleme->resizeColumnToContents(0);
    LVProbleme->resizeColumnToContents(1);
    const bool any = !summary.problems.isEmpty();
    LProbleme->setVisible(any);
    LVProbleme->setVisible(any);
    QEventLoop loop;
    connect(this, &TFImport::hidden, &loop, &QEventLoop::quit);
    show();
    raise();
    activateWindow();
    if (hookSlot<SetImportSummaryShownHook>()) {
        QTimer::singleShot(0, this, [this] {
            hookSlot<SetImportSummaryShownHook>()(*this);
            hide();
        });
    }
    loop.exec();
}

void TFImport::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit hidden();
}

void TFImport::BSpeichernClick()
{
    const QString path =
        chooseSummaryFile(this, QDir(lastFolder()).filePath(QStringLiteral("import-summary.txt")));
    if (path.isEmpty())
        return;
    QString error;
    if (!saveImportSummary(m_summary, path, &error))
        ReportError(this, error);
}

int ImportRecipes(QWidget* parent, const QString& baseFolder,
                  const std::function<void()>& afterImport)
{
    const QStringList files = chooseFiles(parent);
    if (files.isEmpty())
        return 0;
    const bool longImport =
        files.size() >= kLongImportFiles || totalSize(files) >= kLongImportBytes;
    if (longImport)
        ShowProgress(progressText(0));
    int shown = 0;
    const ImportSummary summary =
        importRecipeFiles(files, baseFolder, [&](int imported, const QString&) {
            // Every hundredth recipe, so painting never costs more than the import.
            if (longImport && imported - shown >= 100) {
                shown = imported;
                ShowProgress(progressText(imported));
            }
        });
    if (longImport)
        HideProgress();
    if (afterImport)
        afterImport();
    static QPointer<TFImport> window;
    if (!window)
        window = new TFImport(parent);
    window->Execute(summary);
    return summary.imported;
}

void SetImportFilesDialogHook(ImportFilesDialogHook hook)
{
    hookSlot<SetImportFilesDialogHook>() = std::move(hook);
}

void SetSummaryFileDialogHook(SummaryFileDialogHook hook)
{
    hookSlot<SetSummaryFileDialogHook>() = std::move(hook);
}

void SetImportSummaryShownHook(ImportSummaryShownHook hook)
{
    hookSlot<SetImportSummaryShownHook>() = std::move(hook);
}
