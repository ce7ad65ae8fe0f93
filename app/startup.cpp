#include "app/startup.h"

#include "platform/filelookup.h"
#include "platform/safefile.h"
#include "preview/recipefill.h"
#include "recipes/recipefile.h"

#include <QDir>

QString currentBaseFolder()
{
    QString base = QDir::currentPath();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base;
}

void removeLeftoverFiles(const QString& baseFolder)
{
    const QStringList folders{recipeFolder(baseFolder), baseFolder + QStringLiteral("PRGDATA/")};
    for (const QString& folder : folders) {
        const QString found = lookupPath(folder);
        if (!found.isEmpty())
            removeLeftoverTemporaryFiles(found);
    }
    // A preview that ended in a crash leaves its temporary files behind.
    RemoveLeftoverPreviewFiles(baseFolder);
}

void loadCatalogueAtStartup(const QString& baseFolder, TKV& kv, QList<FileProblem>* problems)
{
    removeLeftoverFiles(baseFolder);
    ReadCatalogue(baseFolder, kv, problems, OldFiles::Convert);
    SortByName(kv);
}
