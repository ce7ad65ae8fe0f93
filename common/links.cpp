// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/links.h"

#include "common/urlcache.h"
#include "platform/shell.h"

#include <QDir>

void OpenManual()
{
    // The manual is looked for in the current folder, whatever it is at the time.
    OpenDocument(QDir::current().absoluteFilePath(QString::fromLatin1(kManualFile)));
}

void OpenUpdatePage()
{
    OpenDocument(QString::fromLatin1(kUpdatePage));
}

void PurgeWebSiteCaches()
{
    PurgeUrlCache(SystemUrlCache(), QByteArray(kProductWebSite));
    PurgeUrlCache(SystemUrlCache(), QByteArray(kSecondWebSite));
}
