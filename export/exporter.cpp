// SPDX-License-Identifier: GPL-2.0-or-later

#include "export/exporter.h"

#include "export/exportrecipe.h"
#include "export/htmlexport.h"
#include "export/jsonld.h"
#include "export/mealmasterexport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cerrno>

namespace {

// Writes a file of the temporary folder; an error names it as it would be in the target.
bool writeFile(const QString& folder, const QString& name, const QByteArray& bytes,
               const QString& shownFolder, QString* error)
{
    QFile file(folder + name);
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush())
        return true;
    // After a failed flush the device's text is "Unknown error"; the system's says why.
    const int code = errno;
    *error = QStringLiteral("Could not write %1: %2")
                 .arg(shownFolder + name, code ? qt_error_string(code) : file.errorString());
    return false;
}

// The file name of a recipe's picture beside its page: the page's stem and the picture's
// extension in small letters.
QString pictureName(const QString& stem, const QString& picture)
{
    const QString suffix = QFileInfo(picture).suffix().toLower();
    return suffix.isEmpty() ? stem : stem + u'.' + suffix;
}

// Writes the files of a folder export into folder.
class FolderWriter {
public:
    FolderWriter(ExportFormat format, const QString& folder, const QString& target,
                 ExportOutcome* outcome)
        : m_format(format), m_folder(folder + u'/'), m_target(target + u'/'), m_outcome(outcome)
    {
        m_names.reserve(QStringLiteral("index"));
    }

    bool add(const TKVG& record)
    {
        const ExportedRecipe recipe = exportedRecipe(record);
        m_outcome->notes << recipe.unreadable;
        const QString stem = m_names.take(recipe.name);
        QString image;
        if (!recipe.picture.isEmpty()) {
            image = pictureName(stem, recipe.picture);
            if (!QFile::copy(recipe.picture, m_folder + image)) {
                m_outcome->notes << QStringLiteral("The picture %1 of \"%2\" could not be copied.")
                                        .arg(recipe.picture, recipe.name);
                image.clear();
            }
        }
        if (m_format == ExportFormat::JsonLd) {
            const QJsonDocument document(recipeJsonLd(recipe, relativeAddress(image)));
            return write(stem + QStringLiteral(".jsonld"), document.toJson());
        }
        const QString page = stem + QStringLiteral(".html");
        m_entries << indexEntry(recipe, page);
        return write(page, recipePage(recipe, image));
    }

    bool finish()
    {
        if (m_format == ExportFormat::Html &&
            (!write(QStringLiteral("index.html"), indexPage(m_entries)) ||
             !write(QStringLiteral("style.css"), styleSheet())))
            return false;
        return write(QLatin1String(kExportMarker), QByteArray());
    }

private:
    bool write(const QString& name, const QByteArray& bytes)
    {
        errno = 0;
        return writeFile(m_folder, name, bytes, m_target, &m_outcome->error);
    }

    ExportFormat m_format;
    QString m_folder;
    QString m_target; // where the files will be, for messages
    ExportOutcome* m_outcome;
    ExportFileNames m_names;
    QList<IndexEntry> m_entries;
};

// True when the folder may be replaced by an export: it is empty or an export of ours.
bool replaceable(const QString& folder)
{
    const QDir dir(folder);
    return dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System) ||
           QFileInfo(dir.filePath(QLatin1String(kExportMarker))).isFile();
}

// Puts the finished folder in the target's place; an earlier export there goes only once
// the new one stands in its place.
bool moveIntoPlace(QTemporaryDir& made, const QString& target, QString* error)
{
    const QFileInfo info(target);
    QString old;
    if (info.exists()) {
        old = made.path() + QStringLiteral(".old");
        if (!QDir().rename(target, old)) {
            *error = QStringLiteral("Could not replace %1.").arg(target);
            return false;
        }
    }
    if (!QDir().rename(made.path(), target)) {
        if (!old.isEmpty())
            QDir().rename(old, target);
        *error = QStringLiteral("Could not move the export to %1.").arg(target);
        return false;
    }
    if (!old.isEmpty())
        QDir(old).removeRecursively();
    return true;
}

ExportOutcome exportFolder(ExportFormat format, const QList<const TKVG*>& recipes,
                           const QString& target, const ExportProgress& progress)
{
    ExportOutcome outcome;
    const QFileInfo info(target);
    if (info.exists() && (!info.isDir() || !replaceable(target))) {
        outcome.error =
            info.isDir()
                ? QStringLiteral("%1 holds files that are not an earlier export; "
                                 "nothing was written.")
                      .arg(target)
                : QStringLiteral("%1 is a file, not a folder; nothing was written.").arg(target);
        return outcome;
    }
    const QString parent = info.absolutePath();
    if (!QDir().mkpath(parent)) {
        outcome.error = QStringLiteral("Could not make the folder %1.").arg(parent);
        return outcome;
    }
    QTemporaryDir made(parent + QStringLiteral("/.") + info.fileName() + QStringLiteral("-XXXXXX"));
    if (!made.isValid()) {
        outcome.error = QStringLiteral("Could not write in %1: %2").arg(parent, made.errorString());
        return outcome;
    }
    FolderWriter writer(format, made.path(), info.absoluteFilePath(), &outcome);
    for (int i = 0; i < recipes.size(); ++i) {
        if (!writer.add(*recipes[i]))
            return outcome;
        if (progress && !progress(i + 1, int(recipes.size()))) {
            outcome.cancelled = true;
            return outcome;
        }
    }
    if (!writer.finish() || !moveIntoPlace(made, info.absoluteFilePath(), &outcome.error))
        return outcome;
    outcome.exported = int(recipes.size());
    return outcome;
}

ExportOutcome exportMealMaster(const QList<const TKVG*>& recipes, const QString& target,
                               const ExportProgress& progress)
{
    ExportOutcome outcome;
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.error = QStringLiteral("Could not write %1: %2").arg(target, file.errorString());
        return outcome;
    }
    for (int i = 0; i < recipes.size(); ++i) {
        const ExportedRecipe recipe = exportedRecipe(*recipes[i]);
        outcome.notes << recipe.unreadable;
        const QByteArray bytes = mealMasterRecipe(recipe).toUtf8();
        if (file.write(bytes) != bytes.size()) {
            file.cancelWriting();
            outcome.error =
                QStringLiteral("Could not write %1: %2").arg(target, file.errorString());
            return outcome;
        }
        if (progress && !progress(i + 1, int(recipes.size()))) {
            file.cancelWriting();
            outcome.cancelled = true;
            return outcome;
        }
    }
    // A short write (a full disk) shows only when the buffer is written out: commit alone
    // does not tell.
    if (!file.flush()) {
        // The device's own text here is "Unknown error"; the system's says why.
        outcome.error =
            QStringLiteral("Could not write %1: %2").arg(target, qt_error_string(errno));
        file.cancelWriting();
        return outcome;
    }
    if (!file.commit()) {
        outcome.error = QStringLiteral("Could not write %1: %2").arg(target, file.errorString());
        return outcome;
    }
    outcome.exported = int(recipes.size());
    return outcome;
}

} // namespace

ExportOutcome exportRecipes(ExportFormat format, const QList<const TKVG*>& recipes,
                            const QString& target, const ExportProgress& progress)
{
    if (format == ExportFormat::MealMaster)
        return exportMealMaster(recipes, target, progress);
    return exportFolder(format, recipes, target, progress);
}
