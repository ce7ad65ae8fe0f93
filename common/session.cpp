// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/session.h"

#include "platform/filelookup.h"

namespace {

QString& baseFolderStorage()
{
    static QString folder;
    return folder;
}

} // namespace

const QString& BaseFolder()
{
    return baseFolderStorage();
}

void setBaseFolder(const QString& folder)
{
    QString f = folder;
    if (!f.endsWith(QLatin1Char('/')))
        f += QLatin1Char('/');
    baseFolderStorage() = f;
}

Settings& CurrentSettings()
{
    static Settings settings;
    return settings;
}

QString basePath(const QString& relative)
{
    const QString path = BaseFolder() + relative;
    const QString found = lookupPath(path);
    return found.isEmpty() ? path : found;
}
