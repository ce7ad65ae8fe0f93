// SPDX-License-Identifier: GPL-2.0-or-later

#include "app/application.h"

#include "app/F_main.h"
#include "app/startup.h"
#include "common/F_Info.h"
#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/interfacetexts.h"
#include "common/links.h"
#include "common/session.h"
#include "common/version.h"
#include "common/windowplacement.h"
#include "editor/F_KVE.h"
#include "imaging/pictureloader.h"
#include "preview/F_PDraftL.h"
#include "preview/F_PDraftS.h"
#include "preview/F_PrintS.h"
#include "preview/F_Vor.h"
#include "preview/openpreview.h"
#include "preview/pagegeometry.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTreeView>

namespace {

constexpr int kStartFormatIndex = 2; // "Letter (US)"

/// The windows around the preview that carry texts and tooltips of their own.
QList<QWidget*> previewWindows()
{
    return {PreviewWindow(), PrintFormatWindow(), DraftSaveWindow(), DraftLoadWindow()};
}

} // namespace

Application::Application() = default;
Application::~Application() = default;

bool Application::start(QString* error)
{
    setBaseFolder(currentBaseFolder());
    m_catalogue.reset();
    Settings& settings = CurrentSettings();
    settings = initialSettings(BaseFolder());

    bool optionsRead = true;
    if (!CreateDefaultOptions(BaseFolder(), settings, error))
        return false;
    switch (ReadOptions(BaseFolder(), settings, error)) {
    case OptionsRead::Read:
        break;
    case OptionsRead::WrongHeader:
        optionsRead = false;
        break;
    case OptionsRead::Failed:
        return false;
    }
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Dilboscan"));

    m_main = std::make_unique<TFMain>(m_catalogue);
    m_editor = std::make_unique<TFKVE>(m_catalogue);
    previewWindows();
    connectWindows();
    MessageDialog();
    ProgressWindow();
    InformationWindow();
    PurgeWebSiteCaches();
    if (!optionsRead) {
        // A settings file of another version: end quietly, without the exit question.
        m_main->setOptionsRead(false);
        m_main->close();
        if (error)
            error->clear();
        return false;
    }

    ApplyCaptions(m_main.get());
    ApplyCaptions(m_editor.get());
    for (QWidget* window : previewWindows())
        ApplyCaptions(window);
    const QImage icon = loadPicture(basePath(QStringLiteral("Dilboscan.ico")));
    if (!icon.isNull())
        QGuiApplication::setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    // Old recipe files are converted by the first reload, as it reads them.
    removeLeftoverFiles(BaseFolder());
    ApplyTooltips(m_main.get(), settings.tooltips == 1);
    ApplyTooltips(m_editor.get(), settings.tooltips == 1);
    for (QWidget* window : previewWindows())
        ApplyTooltips(window, settings.tooltips == 1);
    m_editor->ClearEditor();
    settings.formatIndex = kStartFormatIndex;
    InitPaperFormats(CurrentPaperFormats());
    ComputePageMetrics(CurrentDrucker(), CurrentPaperFormats(), settings.formatIndex,
                       settings.landscape, true);
    m_main->FillRecipeList(true);
    showCentred(m_main.get());
    if (m_main->recipeList()->isEnabled())
        m_main->recipeList()->setFocus();
    return true;
}

void Application::connectWindows()
{
    TFMain* main = m_main.get();
    TFKVE* editor = m_editor.get();
    QObject::connect(main, &TFMain::editorRequested, editor, [main, editor](bool newRecipe) {
        main->hide();
        if (newRecipe)
            editor->OpenNewRecipe();
        else
            editor->OpenRecipe();
    });
    QObject::connect(editor, &TFKVE::recipeShown, main, &TFMain::RefreshSummary);
    QObject::connect(editor, &TFKVE::closed, main, [main] {
        main->FillRecipeList(true);
        main->show();
        main->activateWindow();
    });
    QObject::connect(main, &TFMain::tooltipsSwitched, editor, [editor](bool on) {
        ApplyTooltips(editor, on);
        for (QWidget* window : previewWindows())
            ApplyTooltips(window, on);
    });
}

int runProgram(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dilboscan"));
    QCoreApplication::setApplicationVersion(ProgramVersion());
    Application application;
    QString error;
    if (!application.start(&error)) {
        if (error.isEmpty())
            return 0;
        QMessageBox::critical(nullptr, QStringLiteral("Dilboscan"), error);
        return 1;
    }
    return app.exec();
}
