// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include "tests/testfiles.h"

#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "drafts/draftfile.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "preview/printers.h"
#include "recipes/recipe.h"

#include <QTemporaryDir>
#include <QTextEdit>

#include <functional>
#include <memory>

// What the preview's window tests share: a base folder with the interface pictures, a
// fixed 600-dpi printer, an empty current draft, standard drafts that show no element, and the message and error hooks
// answered from lists, so that nothing waits for a person.
struct PreviewFixture {
    std::unique_ptr<QTemporaryDir> dir;
    QString base;
    Catalogue catalogue;
    QList<int> answers; ///< given to the questions in turn; then unanswered
    int unanswered = kAnswerClosed;
    QList<int> asked;   ///< message numbers shown
    QList<int> headings; ///< their heading kinds
    QStringList errors; ///< error reports

    /// Call from init().
    void setUp()
    {
        dir = std::make_unique<QTemporaryDir>();
        base = dir->path() + QLatin1Char('/');
        QVERIFY(copyTree(QStringLiteral(DILBO_DATA_DIR "/Graphic"),
                         base + QStringLiteral("Graphic")));
        setBaseFolder(base);
        CurrentDraft() = TDruckvorlage();
        // Standard drafts that show nothing: each test shows what it looks at.
        TDruckvorlage hidden;
        hidden.Placements.resize(kElementCount);
        for (int kind : {0, 1}) {
            hidden.LayoutKind = kind;
            putFile(standardDraftPath(base, kind), draftFileBytes(hidden));
        }
        SetPrinters(
            std::make_unique<FixedPagePrinter>(QStringLiteral("Laser"), QSize(4900, 6400), 600));
        answers.clear();
        asked.clear();
        errors.clear();
        headings.clear();
        SetShowMsgHook([this](int number, int heading, int) {
            asked << number;
            headings << heading;
            return answers.isEmpty() ? unanswered : answers.takeFirst();
        });
        SetErrorReportHook([this](const QString& text) { errors << text; });
        SetProgressPauseHook([](int) {});
    }

    /// Call from cleanup().
    void tearDown()
    {
        SetShowMsgHook({});
        SetErrorReportHook({});
        SetPreviewShownHook({});
        SetProgressPauseHook({});
        SetPrinters({});
        CurrentDraft() = TDruckvorlage();
        dir.reset();
    }

    /// Opens the preview on r, runs during while it is shown, then closes it (an open
    /// edit box is put away first). Fails the test when the preview did not show.
    void open(const TKVG& r, const std::function<void(TFVor&)>& during)
    {
        catalogue.recipes = {r};
        catalogue.CurrentRecipe = 0;
        int shown = 0;
        SetPreviewShownHook([&](TFVor& preview) {
            ++shown;
            during(preview);
            if (preview.editBoxOpen())
                preview.REDummy->hide();
            preview.close();
        });
        OpenPreview(catalogue, true, false);
        QCOMPARE(shown, 1);
        QVERIFY(!PreviewWindow()->isVisible());
    }
};
