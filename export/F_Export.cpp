// SPDX-License-Identifier: GPL-2.0-or-later

#include "export/F_Export.h"

#include "common/errorreport.h"
#include "common/hook.h"
#include "preview/listprint.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

namespace {

struct FormatEntry {
    const char* caption;
    ExportFormat format;
    const char* proposedName; // in the home folder
};

constexpr FormatEntry kFormats[] = {
    {"Website (folder)", ExportFormat::Html, "Recipes website"},
    {"Schema.org JSON-LD files (folder)", ExportFormat::JsonLd, "Recipes JSON-LD"},
    {"MealMaster file", ExportFormat::MealMaster, "Recipes.mmf"},
};

QString proposedTarget(int entry)
{
    return QDir::homePath() + u'/' + QLatin1String(kFormats[entry].proposedName);
}

} // namespace

TFExport::TFExport(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FExport"));
    setWindowTitle(QStringLiteral("Export recipes"));
    setWindowModality(Qt::WindowModal);
    CBFormat = new QComboBox(this);
    CBFormat->setObjectName(QStringLiteral("CBFormat"));
    for (const FormatEntry& entry : kFormats)
        CBFormat->addItem(QLatin1String(entry.caption));
    EZiel = new QLineEdit(this);
    EZiel->setObjectName(QStringLiteral("EZiel"));
    EZiel->setMinimumWidth(320);
    BDurchsuchen = new QPushButton(QStringLiteral("Browse..."), this);
    BDurchsuchen->setObjectName(QStringLiteral("BDurchsuchen"));
    BOK = new QPushButton(QStringLiteral("Export"), this);
    BOK->setObjectName(QStringLiteral("BOK"));
    BOK->setDefault(true);
    BAbbrechen = new QPushButton(QStringLiteral("Cancel"), this);
    BAbbrechen->setObjectName(QStringLiteral("BAbbrechen"));

    auto* targetRow = new QHBoxLayout;
    targetRow->addWidget(EZiel, 1);
    targetRow->addWidget(BDurchsuchen);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BOK);
    buttons->addWidget(BAbbrechen);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Format:"), CBFormat);
    form->addRow(QStringLiteral("Save to:"), targetRow);
    form->addRow(buttons);

    connect(CBFormat, &QComboBox::currentIndexChanged, this, &TFExport::formatChanged);
    connect(BDurchsuchen, &QPushButton::clicked, this, &TFExport::BDurchsuchenClick);
    connect(BOK, &QPushButton::clicked, this, [this] {
        if (!target().isEmpty())
            accept();
    });
    connect(BAbbrechen, &QPushButton::clicked, this, &QDialog::reject);
    formatChanged();
}

ExportFormat TFExport::format() const
{
    return kFormats[qBound(0, CBFormat->currentIndex(), int(std::size(kFormats)) - 1)].format;
}

QString TFExport::target() const
{
    return EZiel->text().trimmed();
}

void TFExport::formatChanged()
{
    // A target the user typed or chose stays; a proposed one follows the format.
    if (EZiel->text() == m_proposed) {
        m_proposed = proposedTarget(qMax(0, CBFormat->currentIndex()));
        EZiel->setText(m_proposed);
    }
}

void TFExport::BDurchsuchenClick()
{
    const QString chosen =
        format() == ExportFormat::MealMaster
            ? QFileDialog::getSaveFileName(this, QStringLiteral("Export to file"), target(),
                                           QStringLiteral("MealMaster files (*.mmf *.txt)"))
            : QFileDialog::getExistingDirectory(this, QStringLiteral("Export to folder"), target());
    if (!chosen.isEmpty())
        EZiel->setText(chosen);
}

ExportOutcome ExportRecipes(QWidget* parent, const QList<const TKVG*>& recipes)
{
    TFExport window(parent);
    const bool ok = hookSlot<SetExportWindowHook>() ? hookSlot<SetExportWindowHook>()(window)
                                                    : window.exec() == QDialog::Accepted;
    if (!ok || window.target().isEmpty()) {
        ExportOutcome none;
        none.cancelled = true;
        return none;
    }
    QProgressDialog progress(QStringLiteral("Exporting recipes..."), QStringLiteral("Cancel"), 0,
                             int(recipes.size()), parent);
    progress.setWindowTitle(QStringLiteral("Export recipes"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    const ExportOutcome outcome =
        exportRecipes(window.format(), recipes, window.target(), [&](int done, int) {
            progress.setValue(done);
            if (hookSlot<SetExportProgressHook>())
                hookSlot<SetExportProgressHook>()(progress, done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    if (!outcome.error.isEmpty())
        ReportError(parent, outcome.error);
    else if (!outcome.notes.isEmpty())
        ReportError(parent, outcome.notes.join(u'\n'));
    return outcome;
}

ExportOutcome ExportListedRecipes(QWidget* parent, const TKV& kv)
{
    QList<const TKVG*> listed;
    for (int index : ListedRecipes(kv))
        listed << &kv[index];
    return ExportRecipes(parent, listed);
}

void SetExportWindowHook(ExportWindowHook hook)
{
    hookSlot<SetExportWindowHook>() = std::move(hook);
}

void SetExportProgressHook(ExportProgressHook hook)
{
    hookSlot<SetExportProgressHook>() = std::move(hook);
}
