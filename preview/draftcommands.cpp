// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/draftcommands.h"

#include "preview/F_PDraftL.h"
#include "preview/F_PDraftS.h"
#include "preview/F_PrintS.h"
#include "preview/F_Vor.h"

#include <QAction>
#include <QToolButton>

void connectDraftCommands(TFVor& preview)
{
    preview.Formatvorlagespeichern1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    preview.Formatvorlageladen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    TFVor* p = &preview;
    QObject::connect(preview.Formatvorlagespeichern1, &QAction::triggered, p,
                     [p] { Formatvorlagespeichern1Click(*p); });
    QObject::connect(preview.Formatvorlageladen1, &QAction::triggered, p,
                     [p] { Formatvorlageladen1Click(*p); });
    QObject::connect(preview.BBDrucker, &QToolButton::clicked, p, [p] { BBDruckerClick(*p); });
}

void Formatvorlagespeichern1Click(TFVor& preview)
{
    if (preview.Formatvorlagespeichern1->isEnabled() && preview.isEnabled())
        DraftSaveWindow()->Open(preview);
}

void Formatvorlageladen1Click(TFVor& preview)
{
    if (preview.Formatvorlageladen1->isEnabled() && preview.isEnabled())
        DraftLoadWindow()->Open(preview);
}

void BBDruckerClick(TFVor& preview)
{
    if (preview.BBDrucker->isEnabled() && !preview.editBoxOpen())
        PrintFormatWindow()->Execute(preview);
}
