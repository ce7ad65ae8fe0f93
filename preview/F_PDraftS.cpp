// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/F_PDraftS.h"

#include "common/F_Msg.h"
#include "common/controls.h"
#include "common/errorreport.h"
#include "common/hook.h"
#include "common/session.h"
#include "common/windowplacement.h"
#include "drafts/draftfile.h"
#include "drafts/draftlist.h"
#include "imaging/pictureloader.h"
#include "platform/filelookup.h"
#include "preview/F_Vor.h"
#include "preview/draftlayout.h"
#include "preview/openpreview.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

using controls::place;
using controls::verdana;

namespace {

constexpr int kMessageSaved = 8;
constexpr int kMessageSavedAsStandard = 14;
constexpr int kMessageReplace = 15;

QString chooseDraftFile(QWidget* parent, const QString& title, const QString& folder,
                        const QString& proposed)
{
    if (hookSlot<SetDraftFileDialogHook>())
        return hookSlot<SetDraftFileDialogHook>()(title, folder, proposed);
    QFileDialog dialog(parent, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("Drafts (*.kvp *.KVP)"));
    // The question whether to replace a file is the window's own.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(proposed);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

TFPDraftS::TFPDraftS(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TFPDraftS"));
    setWindowTitle(QStringLiteral("Save draft:"));
    setFixedSize(280, 457);
    setFont(verdana(12));

    // Created first so that it lies below every other control.
    IBack = place<QLabel>(this, "IBack", 0, 0, 280, 457);
    IBack->setScaledContents(true);
    IHoch = place<QLabel>(this, "IHoch", 88, 16, 105, 145);
    IQuer = place<QLabel>(this, "IQuer", 56, 40, 161, 105);
    for (QLabel* box : {IHoch, IQuer}) {
        box->setScaledContents(true);
        box->hide();
    }
    Label1 = place<QLabel>(this, "Label1", 56, 176, 161, 17);
    Label2 = place<QLabel>(this, "Label2", 56, 192, 161, 17);
    Label3 = place<QLabel>(this, "Label3", 4, 220, 49, 17);
    EDisplayname = place<QLineEdit>(this, "EDisplayname", 56, 216, 217, 22);
    Label4 = place<QLabel>(this, "Label4", 48, 256, 185, 17);
    MKurzbeschreibung = place<QPlainTextEdit>(this, "MKurzbeschreibung", 8, 272, 265, 89);
    for (QLabel* label : {Label1, Label2, Label4})
        label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    BStandard = place<QPushButton>(this, "BStandard", 8, 376, 121, 25);
    BOK = place<QPushButton>(this, "BOK", 152, 376, 121, 25);
    BCancel = place<QPushButton>(this, "BCancel", 104, 424, 75, 25);
    for (QPushButton* button : {BStandard, BOK, BCancel})
        button->setFont(verdana(11));
    BStandard->setText(QStringLiteral("Make standard"));
    BOK->setText(QStringLiteral("Save as"));
    BCancel->setText(QStringLiteral("Cancel"));
    Label3->setText(QStringLiteral("Name:"));
    Label4->setText(QStringLiteral("Comments:"));
    connect(BOK, &QPushButton::clicked, this, [this] { BOKClick(); });
    connect(BStandard, &QPushButton::clicked, this, &TFPDraftS::BStandardClick);
    connect(BCancel, &QPushButton::clicked, this, &TFPDraftS::BCancelClick);
}

void TFPDraftS::showBackground(bool frameTallBox)
{
    QPixmap back(size());
    back.fill(palette().color(QPalette::Window));
    QPainter painter(&back);
    const QImage picture = loadPicture(basePath(QStringLiteral("Graphic/PNG/Background.png")));
    if (!picture.isNull())
        painter.drawImage(back.rect(), picture);
    if (frameTallBox) {
        painter.setPen(Qt::black);
        painter.drawRect(IHoch->x() - 1, IHoch->y() - 1, IHoch->width() + 1, IHoch->height() + 1);
    }
    painter.end();
    IBack->setGeometry(rect());
    IBack->setPixmap(back);
}

void TFPDraftS::showThumbnail(const QImage& picture, bool landscape)
{
    QLabel* box = landscape ? IQuer : IHoch;
    box->setPixmap(QPixmap::fromImage(picture));
    box->show();
}

void TFPDraftS::showFormat(int formatIndex, bool landscape)
{
    const PaperFormats& formats = CurrentPaperFormats();
    if (formatIndex < 0 || formatIndex >= formats.size()) {
        Label1->clear();
        Label2->clear();
        return;
    }
    Label1->setText(formats.at(formatIndex).FormatName);
    Label2->setText(paperSizeInches(formats.at(formatIndex), landscape));
}

void TFPDraftS::Open(TFVor& preview)
{
    m_preview = &preview;
    preview.AdoptWindow(this);
    TDruckvorlage& draft = CurrentDraft();
    CapturePlacements(draft, preview.elements());
    if (preview.state().CurrentPage == 1)
        preview.Seitezurueck1Click();
    preview.setEnabled(false);
    const PreviewState& state = preview.state();
    IHoch->hide();
    IQuer->hide();
    showBackground(!state.Landscape);
    showThumbnail(DrawThumbnail(preview.elements(), state.CurrentPage, preview.IBlatt->size()),
                  state.Landscape);
    showFormat(state.FormatIndex, state.Landscape);
    Label4->setText(QStringLiteral("Comments:"));
    Label3->setText(QStringLiteral("Name:"));
    EDisplayname->setText(draft.DisplayName);
    MKurzbeschreibung->setPlainText(draft.DraftComments.join(QLatin1Char('\n')));
    BOK->setText(QStringLiteral("Save as"));
    BCancel->setText(QStringLiteral("Cancel"));
    BStandard->setText(QStringLiteral("Make standard"));
    showCentred(this);
    raise();
    activateWindow();
}

void TFPDraftS::BOKClick()
{
    if (!m_preview)
        return;
    TDruckvorlage& draft = CurrentDraft();
    draft.DraftFile.clear();
    const PreviewState& state = m_preview->state();
    CaptureLayout(draft, state, EDisplayname->text(), MKurzbeschreibung->toPlainText());
    const QString folder = draftFolder(BaseFolder(), state.PreviewKind);
    const QString chosen = chooseDraftFile(this, QStringLiteral("Save draft:"), folder,
                                           EDisplayname->text() + QStringLiteral(".kvp"));
    if (chosen.isEmpty())
        return;
    const QString file = draftFileForChoice(folder, chosen);
    if (pathExists(file) && ShowMsg(kMessageReplace, 2, 4) != kAnswerYes)
        return;
    draft.DraftFile = file;
    save(kMessageSaved);
}

void TFPDraftS::BStandardClick()
{
    if (!m_preview)
        return;
    TDruckvorlage& draft = CurrentDraft();
    const PreviewState& state = m_preview->state();
    draft.DraftFile = standardDraftPath(BaseFolder(), state.PreviewKind);
    CaptureLayout(draft, state, EDisplayname->text(), MKurzbeschreibung->toPlainText());
    save(kMessageSavedAsStandard);
}

void TFPDraftS::save(int message)
{
    // Only a layout of a recipe on show is stored: an empty layout would replace the
    // user's draft with one that shows nothing.
    if (!PreviewShowsRecipe()) {
        close();
        return;
    }
    const QImage thumbnail = DrawThumbnail(m_preview->elements(), m_preview->state().CurrentPage,
                                           m_preview->IBlatt->size());
    QString error;
    const bool written = WriteDraft(CurrentDraft(), thumbnail, BaseFolder(), &error);
    close();
    if (written)
        ShowMsg(message, 1, 0);
    else
        ReportError(m_preview, error);
}

void TFPDraftS::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (m_preview) {
        m_preview->setEnabled(true);
        m_preview->raise();
        m_preview->activateWindow();
    }
}

TFPDraftS* DraftSaveWindow()
{
    static QPointer<TFPDraftS> window;
    if (!window)
        window = new TFPDraftS;
    return window;
}

void SetDraftFileDialogHook(DraftFileDialogHook hook)
{
    hookSlot<SetDraftFileDialogHook>() = std::move(hook);
}
