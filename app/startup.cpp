#include "app/startup.h"

#include "recipes/upgrade.h"

#include <QDir>

QString currentBaseFolder()
{
    QString base = QDir::currentPath();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    return base;
}

void loadCatalogueAtStartup(const QString& baseFolder, TKV& kv, QList<FileProblem>* problems)
{
    UpgradeRecipeFiles(baseFolder, problems);
    ReadCatalogue(baseFolder, kv, problems);
    SortByName(kv);
}
