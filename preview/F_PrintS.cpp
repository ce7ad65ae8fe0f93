// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/F_PrintS.h"

#include "common/F_Msg.h"
#include "common/controls.h"
#include "common/errorreport.h"
#include "common/hook.h"
#include "common/session.h"
#include "drafts/draftfile.h"
#include "preview/F_Vor.h"
#include "preview/draftlayout.h"
#include "preview/pagegeometry.h"
#include "preview/printers.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>

using controls::place;

namespace {

constexpr int kMessageAssign = 9;
constexpr int kMessageStandardPaper = 26;

/// The printer set-up dialog on the current printer in the chosen orientation.
bool runPageSetup(QWidget* parent, bool landscape)
{
    QPrinter printer(QPrinter::HighResolution);
    const QString name = CurrentPrinterName();
    if (name == QLatin1String(kPdfPrinterName) || name.isEmpty())
        printer.setOutputFormat(QPrinter::PdfFormat);
    else
        printer.setPrinterName(name);
    printer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (hookSlot<SetPageSetupHook>())
        return hookSlot<SetPageSetupHook>()(printer);
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

TFPrintS::TFPrintS(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TFPrintS"));
    setWindowTitle(QStringLiteral("Change printing format:"));
    setFixedSize(442, 126);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    LBFormat = place<QListWidget>(this, "LBFormat", 8, 8, 145, 113);
    RGFormat = place<QGroupBox>(this, "RGFormat", 160, 8, 153, 73);
    RGFormat->setTitle(QStringLiteral("Alignment"));
    portraitItem = place<QRadioButton>(RGFormat, "RGFormatItem0", 8, 20, 137, 20);
    landscapeItem = place<QRadioButton>(RGFormat, "RGFormatItem1", 8, 44, 137, 20);
    portraitItem->setText(QStringLiteral("Portrait format"));
    landscapeItem->setText(QStringLiteral("Landscape format"));
    BOK = place<QPushButton>(this, "BOK", 160, 96, 73, 25);
    BCancel = place<QPushButton>(this, "BCancel", 252, 96, 60, 25);
    BOK->setText(QStringLiteral("Assign"));
    BCancel->setText(QStringLiteral("Cancel"));
    IFormat = place<QLabel>(this, "IFormat", 320, 8, 113, 70);
    IFormat->setAlignment(Qt::AlignCenter);
    // The size texts are centred under the outline; they reach a little further to both
    // sides than the outline, as the fonts standing in for MS Sans Serif are wider.
    Label1 = place<QLabel>(this, "Label1", 312, 88, 128, 13);
    Label2 = place<QLabel>(this, "Label2", 312, 104, 128, 13);
    for (QLabel* label : {Label1, Label2})
        label->setAlignment(Qt::AlignCenter);

    connect(LBFormat, &QListWidget::currentRowChanged, this, [this] { LBFormatClick(); });
    connect(portraitItem, &QRadioButton::toggled, this, [this] { RGFormatClick(); });
    connect(BOK, &QPushButton::clicked, this, &TFPrintS::BOKClick);
    connect(BCancel, &QPushButton::clicked, this, &TFPrintS::BCancelClick);
}

bool TFPrintS::selectedLandscape() const
{
    return landscapeItem->isChecked();
}

void TFPrintS::updateSample()
{
    const bool landscape = selectedLandscape();
    IFormat->setPixmap(QPixmap::fromImage(pageOutline(landscape)));
    const PaperFormats& formats = CurrentPaperFormats();
    const int f = LBFormat->currentRow();
    if (f < 0 || f >= formats.size()) {
        Label1->clear();
        Label2->clear();
        return;
    }
    Label1->setText(paperSizeCentimetres(formats.at(f), landscape));
    Label2->setText(paperSizeInches(formats.at(f), landscape));
}

void TFPrintS::Execute(TFVor& preview)
{
    m_preview = &preview;
    preview.AdoptWindow(this);
    preview.setEnabled(false);
    setWindowTitle(QStringLiteral("Change printing format:"));
    {
        const QSignalBlocker quietList(LBFormat);
        const QSignalBlocker quietItem(portraitItem);
        LBFormat->clear();
        for (const TDruckModi& format : CurrentPaperFormats())
            LBFormat->addItem(format.FormatName);
        LBFormat->setCurrentRow(preview.state().FormatIndex);
        (preview.state().Landscape ? landscapeItem : portraitItem)->setChecked(true);
    }
    updateSample();
    const QPoint sheet = preview.IBlatt->mapTo(&preview, QPoint(0, 0));
    move(preview.geometry().left() + sheet.x(), preview.geometry().top());
    show();
    raise();
    activateWindow();
    QEventLoop loop;
    const auto connection = connect(this, &TFPrintS::hidden, &loop, &QEventLoop::quit);
    if (hookSlot<SetPrintFormatShownHook>()) {
        hookSlot<SetPrintFormatShownHook>()(*this);
        // A hook that returned without pressing a button (a failed check) cancels.
        if (isVisible())
            BCancel->click();
    }
    if (isVisible())
        loop.exec();
    disconnect(connection);
    if (m_preview)
        m_preview->setEnabled(true);
}

void TFPrintS::BOKClick()
{
    ShowMsg(kMessageAssign, 1, 0);
    const bool landscape = selectedLandscape();
    if (!runPageSetup(this, landscape))
        return;
    const int format = LBFormat->currentRow();
    if (m_preview && format >= 0) {
        PreviewState& state = m_preview->state();
        state.FormatIndex = format;
        state.Landscape = landscape;
        Settings& settings = CurrentSettings();
        settings.formatIndex = format;
        settings.landscape = landscape;
        ComputePageMetrics(CurrentDrucker(), CurrentPaperFormats(), state.FormatIndex,
                           state.Landscape, false);
        m_preview->SetupSheet(false);
        m_preview->FitPictures();
        m_preview->Redraw(false);
        offerToStandardDraft(state.PreviewKind, format, landscape);
    }
    hide();
}

void TFPrintS::offerToStandardDraft(int kind, int format, bool landscape)
{
    // The next preview takes its paper from the standard draft, not from the settings:
    // a format chosen here would be gone then unless the standard draft keeps it.
    const QString file = standardDraftPath(BaseFolder(), kind);
    if (!StandardDraftHasOtherPaper(file, format, landscape) ||
        ShowMsg(kMessageStandardPaper, 2, 4) != kAnswerYes)
        return;
    QString error;
    if (!SetDraftPaper(file, format, landscape, &error))
        ReportError(this, error);
}

void TFPrintS::BCancelClick()
{
    hide();
    if (m_preview) {
        m_preview->raise();
        m_preview->activateWindow();
    }
}

void TFPrintS::closeEvent(QCloseEvent* event)
{
    // The window has no close button; a close from elsewhere counts as "Cancel".
    event->ignore();
    BCancelClick();
}

void TFPrintS::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!isVisible())
        emit hidden();
}

TFPrintS* PrintFormatWindow()
{
    static QPointer<TFPrintS> window;
    if (!window)
        window = new TFPrintS;
    return window;
}

void SetPageSetupHook(PageSetupHook hook)
{
    hookSlot<SetPageSetupHook>() = std::move(hook);
}

void SetPrintFormatShownHook(PrintFormatShownHook hook)
{
    hookSlot<SetPrintFormatShownHook>() = std::move(hook);
}
