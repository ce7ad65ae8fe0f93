// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/F_Vor.h"

#include "common/F_Msg.h"
#include "common/controls.h"
#include "common/errorreport.h"
#include "common/session.h"
#include "imaging/pictureloader.h"
#include "platform/safefile.h"
#include "preview/draftcommands.h"
#include "preview/elementimage.h"
#include "preview/layoutediting.h"
#include "preview/pagegeometry.h"
#include "preview/printdialog.h"
#include "preview/printers.h"
#include "preview/recipefill.h"
#include "preview/render.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolButton>
#include <QWindow>

using controls::action;
using controls::place;

namespace {

constexpr int kSheetLeft = 60;
constexpr int kSheetTop = 5;
constexpr int kRightMargin = 40;
constexpr int kScreenReserve = 60;
constexpr char kTitle[] = "Print Manager        ";

constexpr QRgb kFrameBlue = qRgb(0, 0, 255);
constexpr QRgb kFrameGreen = qRgb(0, 128, 0);
constexpr QRgb kFrameRed = qRgb(255, 0, 0);
constexpr QRgb kErase = qRgb(255, 255, 255);

struct UnitItemText {
    const char* name;
    const char* caption;
    Qt::Key key;
};

constexpr UnitItemText kUnitItems[kUnitItemCount] = {
    {"Rezeptname1", "Name of recipe", Qt::Key_F1},
    {"Zutatenliste1", "Ingredients", Qt::Key_F2},
    {"Rezepttext1", "Description", Qt::Key_F3},
    {"Bemerkungen1", "Comments", Qt::Key_F4},
    {"SonstigeAngaben1", "Other notes", Qt::Key_F5},
    {"Kochschwierigkeitsgrad1", "Level of difficulty", Qt::Key_F6},
    {"Rezeptgrafik1", "Recipe graphic", Qt::Key_F7},
    {"Kochgeraete1", "Cooking devices", Qt::Key_F8},
    {"Einkaufsliste1", "Shopping list", Qt::Key_F9},
};

QIcon glyph(const QString& name)
{
    const QImage image = loadPicture(basePath(QStringLiteral("Graphic/BMP/") + name));
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

} // namespace

TFVor::TFVor(QWidget* parent)
    : QMainWindow(parent), m_screen(std::make_unique<rich::RenderTarget>())
{
    setObjectName(QStringLiteral("TFVor"));
    setWindowTitle(QLatin1String(kTitle));
    setMinimumSize(400, 400);
    buildMenus();
    buildControls();
    statusBar()->setObjectName(QStringLiteral("StatusLine"));
    connectDraftCommands(*this);
    UpdateMenus(0);
}

TFVor::~TFVor() = default;

void TFVor::buildMenus()
{
    Datei1 = menuBar()->addMenu(QStringLiteral("File"));
    Datei1->setObjectName(QStringLiteral("Datei1"));
    Drucken1 = action(this, "Drucken1", "Print recipe");
    Drucken1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Formatvorlageladen1 = action(this, "Formatvorlageladen1", "Load draft");
    Formatvorlagespeichern1 = action(this, "Formatvorlagespeichern1", "Save draft as");
    Druckbeenden1 = action(this, "Druckbeenden1", "Exit");
    Druckbeenden1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    Datei1->addActions({Drucken1, Formatvorlageladen1, Formatvorlagespeichern1});
    Datei1->addSeparator();
    Datei1->addAction(Druckbeenden1);
    connect(Druckbeenden1, &QAction::triggered, this, &TFVor::Druckbeenden1Click);
    connect(Drucken1, &QAction::triggered, this, &TFVor::Drucken1Click);

    Druckelemente1 = menuBar()->addMenu(QStringLiteral("Printing units"));
    Druckelemente1->setObjectName(QStringLiteral("Druckelemente1"));
    for (int item = 0; item < kUnitItemCount; ++item) {
        QAction* a = action(this, kUnitItems[item].name, kUnitItems[item].caption);
        a->setShortcut(QKeySequence(kUnitItems[item].key));
        a->setCheckable(true);
        Druckelemente1->addAction(a);
        // The check mark is the layout's business: a click only asks for the change.
        connect(a, &QAction::triggered, this, [this, item] { unitItemClicked(item); });
        unitItems[size_t(item)] = a;
    }

    Seite1 = menuBar()->addMenu(QStringLiteral("Page"));
    Seite1->setObjectName(QStringLiteral("Seite1"));
    NeueSeite1 = action(this, "NeueSeite1", "New page");
    NeueSeite1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Seitevor1 = action(this, "Seitevor1", "Next page");
    Seitezurueck1 = action(this, "Seitezurueck1", "Previous page");
    Seite2loeschen = action(this, "Seite2loeschen", "Delete last page");
    Seite1->addActions({NeueSeite1, Seitevor1, Seitezurueck1, Seite2loeschen});
    connect(NeueSeite1, &QAction::triggered, this, &TFVor::NeueSeite1Click);
    connect(Seitevor1, &QAction::triggered, this, &TFVor::Seitevor1Click);
    connect(Seitezurueck1, &QAction::triggered, this, &TFVor::Seitezurueck1Click);
    connect(Seite2loeschen, &QAction::triggered, this, &TFVor::Seite2loeschenClick);
}

void TFVor::buildControls()
{
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_canvas = new QWidget;
    m_canvas->setObjectName(QStringLiteral("Canvas"));
    m_scroll->setWidget(m_canvas);
    setCentralWidget(m_scroll);

    BBLeft = place<QToolButton>(m_canvas, "BBLeft", 4, kSheetTop, 24, 24);
    BBRight = place<QToolButton>(m_canvas, "BBRight", 30, kSheetTop, 24, 24);
    BBDrucker = place<QToolButton>(m_canvas, "BBDrucker", 4, kSheetTop + 30, 50, 24);
    BBDrucker->setText(QStringLiteral("Setup"));
    Label1 = place<QLabel>(m_canvas, "Label1", 4, kSheetTop + 62, 54, 16);
    Label2 = place<QLabel>(m_canvas, "Label2", 4, kSheetTop + 84, 54, 16);
    Label3 = place<QLabel>(m_canvas, "Label3", 4, kSheetTop + 100, 54, 48);
    Label3->setWordWrap(true);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The number of people the recipe is printed for; it takes keys and the wheel only
    // while it has the focus, so scrolling the sheet past it changes nothing.
    ServingsLabel = place<QLabel>(m_canvas, "ServingsLabel", 4, kSheetTop + 152, 54, 16);
    ServingsBox = place<QDoubleSpinBox>(m_canvas, "ServingsBox", 4, kSheetTop + 170, 54, 24);
    ServingsBox->setKeyboardTracking(false); // a number typed counts once it is complete
    connect(ServingsBox, &QDoubleSpinBox::valueChanged, this, &TFVor::ServingsChange);
    StartServings(QString(), false);
    connect(BBLeft, &QToolButton::clicked, this, &TFVor::BBLeftClick);
    connect(BBRight, &QToolButton::clicked, this, &TFVor::BBRightClick);

    IBlatt = place<QLabel>(m_canvas, "IBlatt", kSheetLeft, kSheetTop, 0, 0);
    for (int i = 0; i < kElementCount; ++i) {
        auto* image = place<ElementImage>(m_canvas, elementInfo(i).image, 0, 0, 0, 0);
        image->hide();
        m_images[size_t(i)] = image;
    }
    REDummy = place<QTextEdit>(m_canvas, "REDummy", 0, 0, 150, 100);
    REDummy->setLineWrapMode(QTextEdit::NoWrap);
    REDummy->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    REDummy->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    REDummy->hide();
    buildPopup();

    // The pointer is followed over the window, the sheet and every element, pressed or
    // not, so the cursor tells what a press would do.
    QList<QWidget*> watched{m_canvas, IBlatt, REDummy};
    for (ElementImage* image : m_images)
        watched.append(image);
    for (QWidget* w : watched) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    m_scroll->viewport()->installEventFilter(this);
}

rich::RichDocument& TFVor::richEdit(int i)
{
    return isPictureElement(i) ? m_convert : m_richEdits.at(size_t(i));
}

bool TFVor::editBoxOpen() const
{
    return !REDummy->isHidden();
}

void TFVor::LoadGlyphs()
{
    BBLeft->setIcon(glyph(QStringLiteral("Pfeil_Left.bmp")));
    BBRight->setIcon(glyph(QStringLiteral("Pfeil_Right.bmp")));
    BBDrucker->setIcon(glyph(QStringLiteral("Drucker.bmp")));
}

void TFVor::SetupSheet(bool sheetOnly)
{
    const TDrucker& d = CurrentDrucker();
    const QSize sheet(std::max(d.SheetWidth, 0), std::max(d.SheetHeight, 0));
    if (IBlatt->pixmap().size() != sheet) {
        QPixmap blank(sheet.isEmpty() ? QSize(1, 1) : sheet);
        blank.fill(Qt::white);
        IBlatt->setPixmap(blank);
    }
    IBlatt->setGeometry(kSheetLeft, kSheetTop, sheet.width(), sheet.height());
    const QSize client = fitCanvas();
    QSize outer(client.width(), client.height() + menuBar()->sizeHint().height() +
                                    statusBar()->sizeHint().height());
    if (const QScreen* screen = this->screen()) {
        const QSize available = screen->availableSize();
        if (available.height() < outer.height())
            outer.setHeight(available.height() - kScreenReserve);
        if (available.width() < outer.width())
            outer.setWidth(available.width() - kScreenReserve);
    }
    resize(outer.expandedTo(minimumSize()));
    if (sheetOnly)
        return;
    for (int i = 0; i < m_elements.size(); ++i)
        m_images[size_t(i)]->setVisible(m_elements.at(i).Page == m_state.CurrentPage);
    UpdateMenus(m_state.PreviewKind);
}

void TFVor::UpdateMenus(int kind)
{
    std::array<bool, kElementCount> visible{};
    for (int i = 0; i < kElementCount; ++i)
        visible[size_t(i)] = !m_images[size_t(i)]->isHidden();
    m_menu = ComputeMenuState(m_elements, m_state, kind, editBoxOpen(), visible,
                              [](const QString& path) { return QFileInfo::exists(path); });
    Label1->setText(m_menu.pageLabel);
    Label2->setText(QStringLiteral("Format:"));
    const PaperFormats& formats = CurrentPaperFormats();
    Label3->setText(m_state.FormatIndex >= 0 && m_state.FormatIndex < formats.size()
                        ? formats.at(m_state.FormatIndex).FormatName
                        : QString());
    for (QAction* item : {Drucken1, Formatvorlageladen1, Formatvorlagespeichern1, Druckbeenden1})
        item->setEnabled(m_menu.fileItems);
    ServingsBox->setEnabled(m_menu.fileItems);
    for (int item = 0; item < kUnitItemCount; ++item) {
        unitItems[size_t(item)]->setChecked(m_menu.unitChecked[size_t(item)]);
        unitItems[size_t(item)]->setEnabled(m_menu.unitEnabled[size_t(item)]);
    }
    NeueSeite1->setEnabled(m_menu.newPage);
    Seitevor1->setEnabled(m_menu.nextPage);
    Seitezurueck1->setEnabled(m_menu.previousPage);
    Seite2loeschen->setEnabled(m_menu.deleteLastPage);
    if (!editBoxOpen()) {
        BBLeft->setVisible(m_menu.leftArrow);
        BBRight->setVisible(m_menu.rightArrow);
    }
}

void TFVor::placeImage(int i)
{
    const TGFXL& e = m_elements.at(i);
    ElementImage* image = m_images[size_t(i)];
    image->setBitmap(e.Bitmap);
    image->move(e.Left + kSheetLeft, e.Top + kSheetTop);
    image->raise();
    // An open edit box stays on top: the element's image behind it shows the text the
    // box had when it opened.
    if (REDummy->isVisible())
        REDummy->raise();
}

void TFVor::Redraw(bool dragOnly)
{
    if (m_elements.isEmpty())
        return;
    if (dragOnly)
        dragActiveElement();
    const int active = ActiveElementIndex(m_elements);
    for (int i = 0; i < m_elements.size(); ++i) {
        const TGFXL& e = m_elements.at(i);
        if (!e.Shown || e.Page != m_state.CurrentPage || (dragOnly && i != active))
            continue;
        placeImage(i);
    }
}

bool TFVor::unchangedSinceLayout(int i) const
{
    const LaidOut& memo = m_laidOut.at(size_t(i));
    const TGFXL& e = m_elements.at(i);
    if (memo.file.isEmpty() || memo.file != e.ContentFile || memo.width != e.width())
        return false;
    QByteArray bytes;
    return readWholeFile(e.ContentFile, &bytes) && bytes == memo.content;
}

void TFVor::rememberLayout(int i, const QByteArray& content)
{
    const TGFXL& e = m_elements.at(i);
    LaidOut& memo = m_laidOut[size_t(i)];
    memo = LaidOut();
    if (!isPictureElement(i) && !e.ContentFile.isEmpty())
        memo = {e.ContentFile, content, e.width(), e.Bitmap};
}

bool TFVor::RenderElement(bool full, int i)
{
    if (!full && m_elements.at(i).Shown && unchangedSinceLayout(i)) {
        // The same text at the same width: the bitmap the last layout gave, unframed.
        m_elements[i].Bitmap = m_laidOut.at(size_t(i)).bitmap;
        if (isColumn(i))
            AlignColumns(m_elements, i);
        placeImage(i);
        return true;
    }
    RenderContext context{*m_screen,
                          PrinterAvailable() ? rich::PrinterStatus::Available
                                             : rich::PrinterStatus::Missing,
                          scratchFilePath(BaseFolder())};
    QString error;
    QByteArray content;
    if (::RenderElement(full, i, m_elements, richEdit(i), context, &error, &content)) {
        rememberLayout(i, content);
        if (full)
            Redraw(false);
        else
            placeImage(i);
        return true;
    }
    ReportError(this, error);
    return false;
}

void TFVor::SelectElement(bool byMouse, int i)
{
    TGFXL& e = m_elements[i];
    const bool inside = m_state.MouseX >= e.Left && m_state.MouseX <= e.Left + e.width() &&
                        m_state.MouseY >= e.Top && m_state.MouseY <= e.Top + e.height();
    if (byMouse && !inside)
        return;
    const QRgb colour = i == kQuantity ? kFrameGreen : isColumn(i) ? kFrameRed : kFrameBlue;
    DrawFrame(e.Bitmap, 0, 0, colour, e.height(), e.width());
    e.Active = true;
    e.GrabX = byMouse ? m_state.MouseX - e.Left : e.Left;
    e.GrabY = byMouse ? m_state.MouseY - e.Top : e.Top;
    e.AnchorWidth = e.width();
    e.AnchorHeight = e.height();
    e.AnchorLeft = e.Left;
    e.AnchorTop = e.Top;
    updateTitle();
}

int TFVor::DeselectAll()
{
    int last = -1;
    for (int i = 0; i < m_elements.size(); ++i) {
        TGFXL& e = m_elements[i];
        if (!e.Active)
            continue;
        e.DragMode = 0;
        e.AnchorLeft = e.Left;
        e.AnchorTop = e.Top;
        e.AnchorWidth = e.width();
        e.AnchorHeight = e.height();
        if (i != kRecipeGraphic && i != kCookingDevices)
            RenderElement(false, i);
        DrawFrame(m_elements[i].Bitmap, 0, 0, kErase, e.height(), e.width());
        last = i;
    }
    for (TGFXL& e : m_elements)
        e.Active = false;
    updateTitle();
    return last;
}

void TFVor::updateTitle()
{
    const int active = ActiveElementIndex(m_elements);
    QString title = QLatin1String(kTitle);
    if (active < m_elements.size() && m_elements.at(active).Active)
        title += QStringLiteral("active element: ") + m_elements.at(active).Caption;
    setWindowTitle(title);
}

void TFVor::ShowElement(bool show, int i)
{
    if (i < 0 || i >= m_elements.size())
        return;
    if (i == kQuantity)
        showColumnGroup(show);
    else
        showSingle(show, i);
    UpdateMenus(m_state.PreviewKind);
    if (show) {
        m_scroll->horizontalScrollBar()->setValue(0);
        m_scroll->verticalScrollBar()->setValue(0);
    }
}

void TFVor::showSingle(bool show, int i)
{
    const TGFXL before = m_elements.at(i);
    ElementImage* image = m_images[size_t(i)];
    image->setVisible(show);
    DeselectAll();
    TGFXL& e = m_elements[i];
    image->move(0, 0);
    if (!show) {
        e.Shown = false;
        e.Page = -1;
        return;
    }
    e.Page = m_state.CurrentPage;
    e.Shown = true;
    e.Left = 0;
    e.Top = 0;
    if (!RenderElement(true, i)) {
        m_elements[i] = before;
        image->setVisible(before.Shown && before.Page == m_state.CurrentPage);
        return;
    }
    SelectElement(false, i);
    Redraw(false);
}

void TFVor::showColumnGroup(bool show)
{
    const ElementArray before = m_elements;
    for (int j = kQuantity; j <= kPreparation; ++j) {
        m_images[size_t(j)]->setVisible(show);
        DeselectAll();
        TGFXL& e = m_elements[j];
        m_images[size_t(j)]->move(0, 0);
        if (!show) {
            e.Shown = false;
            e.Page = -1;
            continue;
        }
        e.Shown = true;
        e.Left = 0;
        e.Top = 0;
        e.Page = m_state.CurrentPage;
        if (!RenderElement(true, j)) {
            // One column that cannot be read keeps the whole group as it was.
            m_elements = before;
            for (int k = kQuantity; k <= kPreparation; ++k)
                m_images[size_t(k)]->setVisible(before.at(k).Shown &&
                                                before.at(k).Page == m_state.CurrentPage);
            return;
        }
        DeselectAll();
    }
    DeselectAll();
    if (show) {
        SelectElement(false, kQuantity);
        Redraw(false);
    }
}

void TFVor::unitItemClicked(int item)
{
    QAction* a = unitItems[size_t(item)];
    const bool wasChecked = m_menu.unitChecked[size_t(item)];
    if (!m_menu.unitEnabled[size_t(item)]) {
        a->setChecked(wasChecked);
        return;
    }
    const int element = elementOfItem(item, m_state.PreviewKind);
    if (element >= 0)
        ShowElement(!wasChecked, element);
    UpdateMenus(m_state.PreviewKind);
}

void TFVor::pageChanged()
{
    SetupSheet(false);
    Redraw(false);
}

void TFVor::NeueSeite1Click()
{
    if (NeueSeite1->isEnabled() && NewPage(m_state))
        pageChanged();
}

void TFVor::Seitevor1Click()
{
    if (Seitevor1->isEnabled() && NextPage(m_state))
        pageChanged();
}

void TFVor::Seitezurueck1Click()
{
    if (Seitezurueck1->isEnabled() && PreviousPage(m_state))
        pageChanged();
}

void TFVor::Seite2loeschenClick()
{
    if (ShowMsg(23, 2, 4) == kAnswerNo)
        return;
    for (int i = 0; i < m_elements.size(); ++i) {
        if (m_elements.at(i).Page == 1)
            ShowElement(false, i);
    }
    DeleteLastPage(m_state);
    SetupSheet(false);
    Redraw(false);
    UpdateMenus(m_state.PreviewKind);
}

void TFVor::Druckbeenden1Click()
{
    if (Druckbeenden1->isEnabled())
        close();
}

void TFVor::Drucken1Click()
{
    if (Drucken1->isEnabled())
        PrintLayout(
            this, m_elements, [this](int i) -> rich::RichDocument& { return richEdit(i); },
            m_state.LastPageIndex);
}

void TFVor::ApplyDraft()
{
    const QList<int> placed = applyDraftLayout(CurrentDraft(), m_state, m_elements);
    // A damaged draft may name a paper format that does not exist: the sheet would have
    // no size. Such a draft lays out on the default format instead.
    if (m_state.FormatIndex < 0 || m_state.FormatIndex >= CurrentPaperFormats().size())
        m_state.FormatIndex = kDefaultFormatIndex;
    Settings& settings = CurrentSettings();
    settings.formatIndex = m_state.FormatIndex;
    settings.landscape = m_state.Landscape;
    ComputePageMetrics(CurrentDrucker(), CurrentPaperFormats(), m_state.FormatIndex,
                       m_state.Landscape, false);
    SetupSheet(true);
    FitPictures(); // they were loaded for the sheet before the draft chose its own
    bool columnsPlaced = false;
    for (int i : placed) {
        TGFXL& e = m_elements[i];
        if (!e.ContentFile.isEmpty())
            RenderElement(true, i);
        columnsPlaced = columnsPlaced || isColumn(i);
    }
    // As a drag would: a draft never puts an element off the sheet. The columns hang
    // on the quantity column and stay on it as one row; what the draft put below them
    // makes room for a longer row than the draft was made with.
    if (columnsPlaced) {
        TGFXL& quantity = m_elements[kQuantity];
        const QPoint at =
            keptOnSheet(quantity.Left, quantity.Top, ColumnGroupSize(m_elements), sheetSize());
        quantity.Left = at.x();
        quantity.Top = at.y();
        AlignColumns(m_elements, kQuantity);
        for (int j = kQuantity; j <= kPreparation; ++j) {
            const TGFXL& column = m_elements.at(j);
            m_images[size_t(j)]->move(column.Left + kSheetLeft, column.Top + kSheetTop);
        }
        MakeRoomBelowColumns(m_elements, kColumnGap);
    }
    for (int i : placed) {
        TGFXL& e = m_elements[i];
        if (isColumn(i))
            continue;
        const QPoint at = keptOnSheet(e.Left, e.Top, QSize(e.width(), e.height()), sheetSize());
        e.Left = at.x();
        e.Top = at.y();
        m_images[size_t(i)]->move(e.Left + kSheetLeft, e.Top + kSheetTop);
    }
    SetupSheet(false);
    UpdateMenus(m_state.PreviewKind);
    Redraw(false);
    FitOverWideElements();
}

void TFVor::ApplyDefaultLayout()
{
    TDruckvorlage& draft = CurrentDraft();
    draft.PaperFormat = CurrentSettings().formatIndex;
    draft.Landscape = CurrentSettings().landscape;
    draft.LayoutKind = m_state.PreviewKind;
    draft.LastPage = 0;
    // Every element is rendered at the top-left corner first: the layout needs their
    // sizes on this sheet.
    draft.Placements = QList<TElementPlacement>(m_elements.size(), TElementPlacement{0, 0, 0});
    ApplyDraft();
    draft.Placements = defaultPlacements(m_elements, sheetSize(), m_state.PreviewKind);
    for (const TElementPlacement& p : std::as_const(draft.Placements))
        draft.LastPage = std::max(draft.LastPage, p.Page);
    ApplyDraft();
}

void TFVor::ShowNote(const QString& note)
{
    if (note.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(note);
}

QString TFVor::note() const
{
    return statusBar()->currentMessage();
}

void TFVor::FitPictures()
{
    for (int i = kDifficulty; i <= kCookingDevices && i < m_elements.size(); ++i)
        FitPictureElement(m_elements[i], sheetSize());
}

void TFVor::ReleaseElements()
{
    for (ElementImage* image : m_images) {
        image->hide();
        image->clear();
    }
    m_laidOut.fill(LaidOut());
    ResetElements(m_elements, ResetMode::Release);
    for (rich::RichDocument& doc : m_richEdits)
        doc.clear();
    m_convert.clear();
    m_scratch.clear();
}

QSize TFVor::fitCanvas()
{
    QSize client(IBlatt->width() + kSheetLeft + kRightMargin, IBlatt->height() + 2 * kSheetTop);
    // An edit box that reaches past the sheet's bottom or right edge stays reachable:
    // the canvas (and with it the scroll range) takes it in while it is open.
    if (REDummy->isVisible()) {
        const QRect box = REDummy->geometry();
        client =
            client.expandedTo(QSize(box.right() + 1 + kSheetTop, box.bottom() + 1 + kSheetTop));
    }
    m_canvas->resize(client);
    return client;
}

void TFVor::showEditBox()
{
    REDummy->show();
    REDummy->raise();
    fitCanvas();
    // The whole box, not only its text cursor (which ensureWidgetVisible would take).
    const QRect box = REDummy->geometry();
    m_scroll->ensureVisible(box.center().x(), box.center().y(), box.width() / 2 + 1,
                            box.height() / 2 + 1);
}

void TFVor::AdoptWindow(QWidget* window)
{
    // Not made a child: a child window would be disabled with the preview, which each
    // of these windows disables while it is open. Modal to the whole program instead
    // (the window the preview came from waits for it anyway), and kept above the
    // preview by the window manager.
    if (!window->isVisible())
        window->setWindowModality(Qt::ApplicationModal);
    window->winId();
    if (QWindow* handle = window->windowHandle()) {
        winId();
        handle->setTransientParent(windowHandle());
    }
    if (!m_owned.contains(window))
        m_owned << window;
}

void TFVor::CloseOwnedWindows()
{
    for (const QPointer<QWidget>& window : std::as_const(m_owned)) {
        if (window && window->isVisible())
            window->close();
    }
}

void TFVor::closeEvent(QCloseEvent* event)
{
    // The window is kept for the next preview; closing only hides it.
    event->ignore();
    // A draft or format window works on this preview: it is answered first.
    for (const QPointer<QWidget>& window : std::as_const(m_owned)) {
        if (window && window->isVisible()) {
            window->raise();
            window->activateWindow();
            return;
        }
    }
    if (editBoxOpen()) {
        ShowMsg(10, 1, 0);
        return;
    }
    hide();
    DeletePreviewFiles(m_elements, BaseFolder());
}

void TFVor::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (event->spontaneous()) // minimised: the preview is still there
        return;
    CloseOwnedWindows();
    emit hidden();
}
