// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/shell.h"

#include <QDesktopServices>
#include <QUrl>

void OpenDocument(const QString& fileOrAddress)
{
    if (fileOrAddress.isEmpty())
        return;
    const bool isAddress = fileOrAddress.contains(QLatin1String("://")) ||
                           fileOrAddress.startsWith(QLatin1String("www."), Qt::CaseInsensitive);
    const QUrl url =
        isAddress ? QUrl::fromUserInput(fileOrAddress) : QUrl::fromLocalFile(fileOrAddress);
    QDesktopServices::openUrl(url);
}
