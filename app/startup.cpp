// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/startup.h"

#include "platform/filelookup.h"
#include "platform/runlock.h"
#include "platform/safefile.h"
#include "preview/recipefill.h"
#include "recipes/recipefile.h"

#include <QDir>
#include <QHash>

QString currentBaseFolder()
{
    QString base = QDir::currentPath();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base;
}

void removeLeftoverFiles(const QString& baseFolder)
{
    // Without a lock of its own this run could not tell which files another run owns,
    // so it clears nothing.
    if (!holdRunLock(baseFolder))
        return;
    QHash<QString, bool> alive;
    const auto runIsAliveHere = [&](const QString& tag) {
        auto known = alive.constFind(tag);
        if (known == alive.cend())
            known = alive.insert(tag, runIsAlive(baseFolder, tag));
        return known.value();
    };
    const QString programData = baseFolder + QStringLiteral("PRGDATA/");
    const QStringList folders{recipeFolder(baseFolder), programData,
                              programData + QStringLiteral("drafts/normal/"),
                              programData + QStringLiteral("drafts/deluxe/")};
    for (const QString& folder : folders) {
        const QString found = lookupPath(folder);
        if (!found.isEmpty())
            removeLeftoverTemporaryFiles(found, runIsAliveHere);
    }
    removeEndedRuns(baseFolder);
    // Preview files of earlier versions lie in TEMP/ itself, where no run's tag tells
    // whose they are: cleared only when no other run works here.
    if (otherLiveRuns(baseFolder) == 0)
        RemoveLeftoverPreviewFiles(baseFolder);
}

void loadCatalogueAtStartup(const QString& baseFolder, TKV& kv, QList<FileProblem>* problems)
{
    removeLeftoverFiles(baseFolder);
    ReadCatalogue(baseFolder, kv, problems, OldFiles::Convert);
    SortByName(kv);
}
