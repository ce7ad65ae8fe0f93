// SPDX-License-Identifier: GPL-2.0-or-later

#include "drafts/draftlist.h"

#include "drafts/draftfile.h"
#include "platform/filelookup.h"

QString draftFileForChoice(const QString& folder, const QString& chosen)
{
    QString file = folder + fileNameOf(chosen);
    if (!file.toUpper().contains(QStringLiteral(".KVP")))
        file += QStringLiteral(".kvp");
    return file;
}

QList<TDraftFileList> BuildDraftList(const QString& folder, int kind)
{
    QList<TDraftFileList> list;
    for (const QString& name : enumerateFiles(folder, QStringLiteral("*.kvp"))) {
        const QString path = folder + name;
        TDruckvorlage draft;
        if (ReadDraft(path, draft) && draft.LayoutKind == kind)
            list.append({int(list.size()), draft.DisplayName, path});
    }
    return list;
}
