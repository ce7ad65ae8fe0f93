// SPDX-License-Identifier: GPL-2.0-or-later

#include "import/importer.h"

#include "editor/recipefiles.h"
#include "import/mealmaster.h"
#include "import/recipeml.h"
#include "import/schemaorg.h"
#include "platform/cp1252.h"
#include "platform/filelookup.h"
#include "platform/safefile.h"
#include "recipes/recipefile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString extensionOf(const QString& path)
{
    return QFileInfo(path).suffix().toLower();
}

// The recipe folder, made when the base folder has none yet.
QString preparedFolder(const QString& baseFolder, QString* error)
{
    const QString existing = lookupPath(recipeFolder(baseFolder));
    if (!existing.isEmpty())
        return existing.endsWith(QLatin1Char('/')) ? existing : existing + QLatin1Char('/');
    const QString folder = recipeFolder(baseFolder);
    if (!QDir().mkpath(folder))
        *error = QStringLiteral("The folder %1 could not be made.")
                     .arg(QDir::toNativeSeparators(folder));
    return folder;
}

constexpr qsizetype kFileNameChars = 60;

// Writes the imported recipes as new recipe files in batches: each file is written under
// a temporary name as its recipe is read, and a full batch (and the last one) is synced
// once and then takes its names. Two syncs a file made a large import wait for the disk
// most of its time; a crash still leaves whole recipes or none. A recipe that cannot be
// written stops the import after the ones written before are committed; a commit that
// fails keeps (and counts) only the recipes it claimed.
class RecipeWriter {
public:
    RecipeWriter(const QString& folder, ImportSummary* summary, const ImportProgress& progress)
        : m_folder(folder), m_taken(folder), m_batch(folder), m_summary(summary),
          m_progress(progress)
    {
    }

    bool stopped() const { return !m_stop.isEmpty(); }
    /// The recipes written so far, committed or not: what the progress shows.
    int written() const { return m_summary->imported + m_batch.size(); }
    const QString& stopReason() const { return m_stop; }
    /// The imported file whose recipe could not be written.
    const QString& stopFile() const { return m_stopFile; }

    void write(ImportedRecipe& imported, const QString& file)
    {
        if (stopped())
            return;
        Pending pending{imported.toRecord(), QByteArray(), file};
        // The file name takes the start of a long name, so it stays within what file
        // systems allow (255 bytes of UTF-8) with its suffixes and side-file extensions.
        // The listing of names taken was made when the import began: another program may
        // have taken a name since. The name is claimed when the batch is committed, and
        // a taken one passes to the next free name; no existing file is ever replaced.
        pending.wanted = pending.record.Name.left(kFileNameChars).trimmed();
        normaliseKind(pending.record);
        const QString name = freeName(pending.wanted);
        QString error;
        if (!m_batch.add(name, bytesNamed(pending.record, name), &error)) {
            // The recipes written before are whole: they are kept (a full disk has room
            // for their names) before the import stops at this one.
            commit();
            if (!stopped())
                stop(error, file);
            return;
        }
        m_pending << pending;
        if (m_progress)
            m_progress(written(), file);
        if (m_batch.isFull())
            commit();
    }

    /// Commits the recipes written since the last batch.
    void finish()
    {
        if (!stopped())
            commit();
    }

private:
    struct Pending {
        TKVG record;
        QByteArray wanted; // the name the file name is made of
        QString file;      // the imported file the recipe came from
    };

    // The recipe file's bytes under the file name: the file stores its own name.
    QByteArray bytesNamed(TKVG& record, const QString& name)
    {
        m_taken.take(name);
        record.FileName = name;
        record.FilePath = m_folder + name;
        return recipeFileBytes(record);
    }

    void commit()
    {
        // Asked for the recipe after those the commit has claimed so far.
        const auto renamer = [this](QString* name) {
            Pending& pending = m_pending[m_batch.committed().size()];
            *name = freeName(pending.wanted);
            return bytesNamed(pending.record, *name);
        };
        QString error;
        const bool committed = m_batch.commit(renamer, &error);
        const QStringList& names = m_batch.committed();
        m_summary->imported += int(names.size());
        m_summary->recipeFiles << names;
        if (!committed)
            stop(error, m_pending[names.size()].file);
        m_pending.clear();
    }

    void stop(const QString& error, const QString& file)
    {
        m_batch.discard();
        m_stop = error;
        m_stopFile = file;
    }

private:
    // The recipe's own file name when it is free, otherwise the first free one of "_2",
    // "_3" and on. The number given last for each name is kept, so a collection of many
    // recipes of one name is not searched from 2 for each.
    QString freeName(const QByteArray& wanted)
    {
        const QString plain = recipeFileNameFor(wanted);
        if (m_taken.isFree(plain))
            return plain;
        const QString safeName = SafeFileName(cp1252::toUnicode(wanted));
        int& next = m_next[safeName.toCaseFolded()];
        for (int number = qMax(next, 2);; ++number) {
            const QString candidate =
                safeName + QLatin1Char('_') + QString::number(number) + QStringLiteral(".vrez");
            if (m_taken.isFree(candidate)) {
                next = number + 1;
                return candidate;
            }
        }
    }

    QString m_folder;
    TakenFileNames m_taken;
    QHash<QString, int> m_next; // by case-folded name: the number to try first
    NewFileBatch m_batch;
    QList<Pending> m_pending; // the recipes of the batch, in the order added
    ImportSummary* m_summary;
    const ImportProgress& m_progress;
    QString m_stop;
    QString m_stopFile;
};

} // namespace

ImportFormat detectImportFormat(const QString& path, const QByteArray& bytes)
{
    const QString text = decodeImportedText(bytes.left(1 << 16));
    if (looksLikeRecipeMl(text))
        return ImportFormat::RecipeMl;
    const QString extension = extensionOf(path);
    if (looksLikeSchemaOrg(text) || extension == QLatin1String("json") ||
        extension == QLatin1String("jsonld"))
        return ImportFormat::SchemaOrg;
    if (extension == QLatin1String("html") || extension == QLatin1String("htm"))
        return ImportFormat::SchemaOrg;
    if (looksLikeMealMaster(decodeImportedText(bytes)))
        return ImportFormat::MealMaster;
    if (extension == QLatin1String("xml") || extension == QLatin1String("rml"))
        return ImportFormat::RecipeMl;
    return ImportFormat::Unknown;
}

RecipeReader importReader(ImportFormat format)
{
    switch (format) {
    case ImportFormat::MealMaster:
        return readMealMaster;
    case ImportFormat::RecipeMl:
        return readRecipeMl;
    case ImportFormat::SchemaOrg:
        return readSchemaOrg;
    case ImportFormat::Unknown:
        break;
    }
    return nullptr;
}

QString ImportSummary::headline() const
{
    QString out = imported == 1 ? QStringLiteral("1 recipe imported.")
                                : QStringLiteral("%1 recipes imported.").arg(imported);
    if (stopped())
        out += QStringLiteral("\nThe import stopped before its end %1").arg(stopReason);
    return out;
}

QString ImportSummary::text() const
{
    QString out = headline() + QLatin1Char('\n');
    if (!problems.isEmpty()) {
        out += QStringLiteral("Could not be read:\n");
        for (const ImportProblem& problem : problems)
            out += problem.toString() + QLatin1Char('\n');
    }
    return out;
}

ImportSummary importRecipeFiles(const QStringList& files, const QString& baseFolder,
                                const ImportProgress& progress)
{
    ImportSummary summary;
    QString error;
    const QString folder = preparedFolder(baseFolder, &error);
    if (!error.isEmpty()) {
        summary.stopReason = QStringLiteral("at its start: %1").arg(error);
        return summary;
    }
    RecipeWriter writer(folder, &summary, progress);
    for (const QString& file : files) {
        if (progress)
            progress(writer.written(), file);
        QByteArray bytes;
        if (!readWholeFile(file, &bytes, &error)) {
            summary.problems.append({file, QString(), error});
            continue;
        }
        if (bytes.trimmed().isEmpty()) {
            summary.problems.append(
                {file, QString(), QStringLiteral("the file is empty; it holds no recipe data")});
            continue;
        }
        const RecipeReader reader = importReader(detectImportFormat(file, bytes));
        if (!reader) {
            summary.problems.append({file, QString(),
                                     QStringLiteral("not a MealMaster, RecipeML or schema.org "
                                                    "recipe file")});
            continue;
        }
        reader(
            bytes, file, [&](ImportedRecipe& recipe) { writer.write(recipe, file); },
            &summary.problems);
        if (writer.stopped())
            break;
    }
    writer.finish();
    if (writer.stopped())
        summary.stopReason =
            QStringLiteral("at %1: %2")
                .arg(QDir::toNativeSeparators(writer.stopFile()), writer.stopReason());
    return summary;
}

bool saveImportSummary(const ImportSummary& summary, const QString& path, QString* error)
{
    return writeFileAtomically(path, summary.text().toUtf8(), error);
}
