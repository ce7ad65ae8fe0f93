#include "editor/F_KVE.h"

#include "common/F_Info.h"
#include "common/F_LadeInfo.h"
#include "common/F_Msg.h"
#include "common/controls.h"
#include "common/ansivalidator.h"
#include "common/errorreport.h"
#include "common/interfacetexts.h"
#include "common/session.h"
#include "common/windowplacement.h"
#include "editor/decorations.h"
#include "recipes/recipetexts.h"
#include "editor/editordialogs.h"
#include "editor/fieldrules.h"
#include "editor/richeditcommands.h"
#include "imaging/pictureloader.h"
#include "platform/cp1252.h"
#include "platform/daycount.h"
#include "platform/richtext/textdocumentbridge.h"
#include "preview/openpreview.h"
#include "recipes/textrules.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextEdit>

using controls::action;
using controls::place;

namespace {

constexpr int kClientWidth = 1016;
constexpr int kClientHeight = 697;

QLabel* caption(QWidget* parent, const char* name, const char* text, int x, int y, int w,
                Qt::Alignment align = Qt::AlignLeft)
{
    QLabel* label = place<QLabel>(parent, name, x, y, w, 17);
    label->setText(QLatin1String(text));
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

// A background picture stretched over the control, with a black one-pixel frame along
// its edges; rightInset moves the right edge in (the window's own background is wider
// than its client area).
QPixmap framedBackground(const QImage& picture, const QSize& size, int rightInset)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    if (!picture.isNull())
        painter.drawImage(QRect(QPoint(0, 0), size), picture);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, size.width() - 1 - rightInset, size.height() - 1);
    return pixmap;
}

// The length an edit box lets the user type up to. Texts the program puts in may be
// longer (a recipe file may hold longer ones) and are kept whole.
constexpr char kTypingLimit[] = "typingLimit";

void setFieldText(QLineEdit* edit, const QString& text)
{
    edit->setMaxLength(qMax(edit->property(kTypingLimit).toInt(), int(text.size())));
    edit->setText(text);
}

void clearField(QLineEdit* edit)
{
    edit->clear();
    edit->setMaxLength(edit->property(kTypingLimit).toInt());
}

bool isWindowSwitch(const QFocusEvent* event, const QWidget* window)
{
    // Focus that leaves or returns with the whole window (another window activated, a
    // menu opened) is not the user moving between fields. Neither is focus handed on to
    // another window: an opening drop-down list moves it into its popup without saying so.
    // The menu bar in keyboard mode (Alt pressed) takes the focus the same way.
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason ||
        event->reason() == Qt::MenuBarFocusReason)
        return true;
    const QWidget* next = QApplication::focusWidget();
    return event->type() == QEvent::FocusOut && next && next->window() != window;
}

} // namespace

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

void PictureFrame::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit activated();
        return;
    case Qt::Key_Delete:
        emit clearRequested();
        return;
    default:
        QFrame::keyPressEvent(event);
    }
}

void PictureFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureFrame::focusInEvent(QFocusEvent* event)
{
    QFrame::focusInEvent(event);
    update();
}

void PictureFrame::focusOutEvent(QFocusEvent* event)
{
    QFrame::focusOutEvent(event);
    update();
}

TFKVE::TFKVE(Catalogue& catalogue, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      m_catalogue(catalogue)
{
    setObjectName(QStringLiteral("TFKVE"));
    setWindowTitle(QLatin1String(kProgramTitle));
    createControls();
    createMenus();
    connectHandlers();
    setTabOrder();
    setFixedSize(sizeHint()); // the client area plus the menu bar

    DecorationLabels& labels = Decorations();
    labels.editorPicture = IRezeptgrafik;
    labels.editorPictureFrame = Panel1;
    labels.editorPictureName = LGrafikvolldateiname;
    for (int i = 0; i < 7; ++i)
        labels.editorDeviceSlots[size_t(i)] = KochgeraetImage[i];
    labels.editorDevicePanel = IIconlisteBack;
    labels.printedMatter = {PrintedMatterIcon{IOrdner, Ordner, 3},
                            PrintedMatterIcon{IZeitschrift, Zeitschrift, 4},
                            PrintedMatterIcon{IBuch, Buch, 5}};
    labels.editorDifficulty = CBKochlevel;
    labels.editorStars = IKochlevel;
    labels.editorCalendar = IKochdatum;
}

void TFKVE::createControls()
{
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(kClientWidth, kClientHeight);
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(12);
    client->setFont(font);
    setCentralWidget(client);

    IFBack = place<QLabel>(client, "IFBack", 0, 0, 1017, 705);
    IAbgeheftetBack = place<QLabel>(client, "IAbgeheftetBack", 16, 40, 489, 177);
    IIconlisteBack = place<QLabel>(client, "IIconlisteBack", 524, 220, 469, 57);
    createEdits(client);
    createRichEdits(client);
    createPictures(client);
}

void TFKVE::createEdits(QWidget* client)
{
    const auto edit = [client](const char* name, int x, int y, int w, int maxLength) {
        auto* e = place<QLineEdit>(client, name, x, y, w, 22);
        e->setMaxLength(maxLength);
        e->setProperty(kTypingLimit, maxLength);
        e->setValidator(new AnsiValidator(e));
        e->setCursor(Qt::PointingHandCursor);
        return e;
    };
    Label1 = caption(client, "Label1", "Name of recipe:", 16, 7, 208, Qt::AlignRight);
    RecipeName = edit("RecipeName", 264, 4, 729, 250);
    caption(client, "Label9", "Ring binder:", 24, 51, 84);
    Ordner = edit("Ordner", 112, 48, 353, 100);
    caption(client, "Label10", "Book:", 24, 81, 84);
    Buch = edit("Buch", 112, 78, 353, 100);
    caption(client, "Label13", "Magazine:", 24, 109, 84);
    Zeitschrift = edit("Zeitschrift", 112, 106, 353, 100);
    caption(client, "Label11", "Page:", 24, 137, 84);
    Seite = edit("Seite", 112, 134, 353, 100);
    caption(client, "Label12", "Comments or brief description:", 24, 164, 441);
    Bemerkung = edit("Bemerkung", 24, 184, 441, 200);

    caption(client, "Label5", "Categories:", 544, 43, 136);
    CBRezeptkategorien = place<QComboBox>(client, "CBRezeptkategorien", 688, 40, 305, 22);
    CBRezeptkategorien->setMaxVisibleItems(25);
    ERezeptkategorien = edit("ERezeptkategorien", 544, 65, 449, 200);
    caption(client, "Label4", "Number of servings:", 524, 97, 132, Qt::AlignRight);
    Portionen = edit("Portionen", 664, 94, 329, 100);
    caption(client, "Label3", "Cooking time:", 524, 127, 132, Qt::AlignRight);
    Zubzeit = edit("Zubzeit", 664, 124, 329, 100);
    caption(client, "Label2", "Level of difficulty:", 524, 159, 220, Qt::AlignRight);
    CBKochlevel = place<QComboBox>(client, "CBKochlevel", 792, 156, 201, 22);
    caption(client, "Label14", "Cooking date:", 524, 191, 220, Qt::AlignRight);
    DTP1 = place<QDateTimeEdit>(client, "DTP1", 792, 188, 201, 22);
    DTP1->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
    DTP1->setCalendarPopup(true);
    // With the calendar popup, Qt hit-tests a click as on a combo box but reads the result
    // as a spin-box part: a click into the date text counts as the down button and moves
    // the date back a day. The picker has no spin buttons to show anyway; the arrow keys
    // and the calendar still change the date.
    DTP1->setButtonSymbols(QAbstractSpinBox::NoButtons);
    DTP1->setCursor(Qt::PointingHandCursor);
    // Wide enough for "Select cooking devices" beside the drop-down arrow, and still
    // clear of the first device picture.
    CBIconliste = place<QComboBox>(client, "CBIconliste", 532, 236, 168, 22);
    CBIconliste->setMaxVisibleItems(17);
    for (QComboBox* box : {CBRezeptkategorien, CBKochlevel, CBIconliste})
        box->setCursor(Qt::PointingHandCursor);
}

void TFKVE::createRichEdits(QWidget* client)
{
    const auto richEdit = [client](const char* name, int x, int w, bool deluxe) {
        auto* e = place<QTextEdit>(client, name, x, 424, w, 265);
        e->setLineWrapMode(QTextEdit::NoWrap);
        e->setAcceptRichText(true);
        e->setTabChangesFocus(true);
        e->setHorizontalScrollBarPolicy(deluxe ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
        e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        e->setContextMenuPolicy(Qt::CustomContextMenu);
        e->viewport()->setCursor(Qt::PointingHandCursor);
        return e;
    };
    caption(client, "Label8", "Comments:", 524, 279, 469);
    MBemerkungstext = richEdit("MBemerkungstext", 524, 469, false);
    MBemerkungstext->setGeometry(524, 296, 469, 105);
    Label6 = caption(client, "Label6", "Ingredients:", 16, 405, 409);
    Zutatenliste = richEdit("Zutatenliste", 16, 409, false);
    Label7 = caption(client, "Label7", "Instructions:", 440, 405, 553);
    Rezepttext = richEdit("Rezepttext", 440, 553, false);
    LMenge1 = caption(client, "LMenge1", "Quantity:", 16, 405, 97);
    Menge1 = richEdit("Menge1", 16, 97, true);
    LEinheit1 = caption(client, "LEinheit1", "Unit:", 128, 405, 105);
    Einheit1 = richEdit("Einheit1", 128, 105, true);
    LName1 = caption(client, "LName1", "Ingredients:", 256, 405, 241);
    Name1 = richEdit("Name1", 256, 241, true);
    LBeschreibung1 = caption(client, "LBeschreibung1", "Description of preparation:", 512, 405, 477);
    Beschreibung1 = richEdit("Beschreibung1", 512, 477, true);
    m_richEdits = {MBemerkungstext, Zutatenliste, Rezepttext, Menge1, Einheit1, Name1, Beschreibung1};
    for (QTextEdit* edit : m_richEdits)
        edit->installEventFilter(this);
}

void TFKVE::createPictures(QWidget* client)
{
    IRezeptname = place<ClickableLabel>(client, "IRezeptname", 232, 3, 24, 24);
    IRezeptname->setCursor(Qt::PointingHandCursor);
    IOrdner = place<QLabel>(client, "IOrdner", 472, 47, 24, 24);
    IBuch = place<QLabel>(client, "IBuch", 472, 77, 24, 24);
    IZeitschrift = place<QLabel>(client, "IZeitschrift", 472, 105, 24, 24);
    IKochlevel = place<QLabel>(client, "IKochlevel", 752, 152, 30, 30);
    IKochdatum = place<QLabel>(client, "IKochdatum", 752, 184, 30, 30);
    for (int i = 0; i < 7; ++i) {
        const QByteArray name = "KochgeraetImage" + QByteArray::number(i + 1);
        KochgeraetImage[i] = place<QLabel>(client, name.constData(), 704 + 40 * i, 228, 32, 32);
    }

    Panel1 = place<PictureFrame>(client, "Panel1", 120, 232, 283, 147);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setFocusPolicy(Qt::TabFocus);
    Panel1->setContextMenuPolicy(Qt::CustomContextMenu);
    IRezeptgrafik = place<ClickableLabel>(Panel1, "IRezeptgrafik", 1, 1, 281, 145);
    IRezeptgrafik->setAlignment(Qt::AlignLeft | Qt::AlignTop); // a large picture is cut
    IRezeptgrafik->setCursor(Qt::PointingHandCursor);
    IRezeptgrafik->setContextMenuPolicy(Qt::CustomContextMenu);
    LGrafikvolldateiname = place<QLabel>(Panel1, "LGrafikvolldateiname", 0, 0, 0, 0);
    LGrafikvolldateiname->hide();
}

void TFKVE::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("Datei1"));
    Rezeptspeichern1 = action(this, "Rezeptspeichern1", "Save recipe");
    Rezeptspeichern1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Rezeptspeichernunter1 = action(this, "Rezeptspeichernunter1", "Save recipe as");
    Rezeptspeichernunter1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    Rezeptdrucken1 = action(this, "Rezeptdrucken1", "Print recipe");
    Rezeptdrucken1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    Rezepterfassungbeenden1 = action(this, "Rezepterfassungbeenden1", "Exit");
    Rezepterfassungbeenden1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    file->addActions({Rezeptspeichern1, Rezeptspeichernunter1, Rezeptdrucken1});
    file->addSeparator()->setObjectName(QStringLiteral("N1"));
    file->addAction(Rezepterfassungbeenden1);

    QMenu* info = menuBar()->addMenu(QStringLiteral("&Information"));
    info->setObjectName(QStringLiteral("Information1"));
    Info1 = action(this, "Info1", "General information");
    info->addAction(Info1);

    PMRezeptgrafik = new QMenu(this);
    PMRezeptgrafik->setObjectName(QStringLiteral("PMRezeptgrafik"));
    MGrafikloeschen = action(this, "MGrafikloeschen", "Clear graphic");
    PMRezeptgrafik->addAction(MGrafikloeschen);

    PMRE = new QMenu(this);
    PMRE->setObjectName(QStringLiteral("PMRE"));
    Zeichensatz = action(this, "Zeichensatz", "Select font");
    Einfuegen = action(this, "Einfuegen", "Insert");
    Ausschneiden = action(this, "Ausschneiden", "Cut");
    Kopieren = action(this, "Kopieren", "Copy");
    PMRE->addActions({Zeichensatz, Einfuegen, Ausschneiden, Kopieren});
}

void TFKVE::connectHandlers()
{
    connect(Rezeptspeichern1, &QAction::triggered, this, &TFKVE::Rezeptspeichern1Click);
    connect(Rezeptspeichernunter1, &QAction::triggered, this, &TFKVE::Rezeptspeichernunter1Click);
    connect(Rezeptdrucken1, &QAction::triggered, this, &TFKVE::Rezeptdrucken1Click);
    connect(Rezepterfassungbeenden1, &QAction::triggered, this, &QWidget::close);
    connect(Info1, &QAction::triggered, this, [this] { ShowInformation(this); });
    connect(MGrafikloeschen, &QAction::triggered, this, &TFKVE::MGrafikloeschenClick);
    connect(Zeichensatz, &QAction::triggered, this, &TFKVE::ZeichensatzClick);
    connect(Einfuegen, &QAction::triggered, this, &TFKVE::EinfuegenClick);
    connect(Ausschneiden, &QAction::triggered, this, &TFKVE::AusschneidenClick);
    connect(Kopieren, &QAction::triggered, this, &TFKVE::KopierenClick);

    connect(IRezeptname, &ClickableLabel::clicked, this, &TFKVE::IRezeptnameClick);
    connect(IRezeptgrafik, &ClickableLabel::clicked, this, &TFKVE::IRezeptgrafikClick);
    connect(Panel1, &PictureFrame::activated, this, &TFKVE::IRezeptgrafikClick);
    connect(Panel1, &PictureFrame::clearRequested, this, [this] {
        if (!LGrafikvolldateiname->text().isEmpty())
            MGrafikloeschenClick();
    });
    for (QWidget* picture : std::initializer_list<QWidget*>{IRezeptgrafik, Panel1}) {
        connect(picture, &QWidget::customContextMenuRequested, this, [this, picture](const QPoint& pos) {
            PMRezeptgrafikPopup();
            if (MGrafikloeschen->isVisible())
                PMRezeptgrafik->popup(picture->mapToGlobal(pos));
        });
    }
    connect(RecipeName, &QLineEdit::textChanged, this, &TFKVE::RecipeNameChange);
    for (QLineEdit* edit : {Ordner, Buch, Zeitschrift})
        connect(edit, &QLineEdit::textChanged, this, &TFKVE::printedMatterChange);
    connect(CBIconliste, &QComboBox::activated, this, &TFKVE::CBIconlisteChange);
    connect(CBRezeptkategorien, &QComboBox::activated, this, &TFKVE::CBRezeptkategorienChange);
    connect(CBKochlevel, &QComboBox::currentIndexChanged, this, &TFKVE::CBKochlevelChange);
    connect(DTP1, &QDateTimeEdit::dateTimeChanged, this, &TFKVE::DTP1Change);
    for (QTextEdit* edit : m_richEdits) {
        connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& pos) {
            // The click gave the edit the focus, unless the name rule kept it elsewhere.
            if (!edit->hasFocus())
                return;
            PMREPopup();
            PMRE->popup(edit->viewport()->mapToGlobal(pos));
        });
    }
    RecipeName->installEventFilter(this);
    ERezeptkategorien->installEventFilter(this);
    // The menu's shortcuts win over the edit boxes' own bindings (Ctrl+A, Ctrl+E).
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

void TFKVE::setTabOrder()
{
    const QList<QWidget*> order{RecipeName, Ordner,   Buch,       Zeitschrift,     Seite,
                                Bemerkung,  CBRezeptkategorien,   ERezeptkategorien,
                                Portionen,  Zubzeit,  CBKochlevel, DTP1,           CBIconliste,
                                MBemerkungstext,      Zutatenliste, Rezepttext,    Menge1,
                                Einheit1,   Name1,    Beschreibung1,  Panel1};
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

bool TFKVE::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction* item : {Rezeptspeichern1, Rezeptspeichernunter1, Rezeptdrucken1,
                              Rezepterfassungbeenden1}) {
            if (item->shortcut() == pressed)
                return true; // not taken by the edit: the menu's shortcut fires
        }
        break;
    }
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        if (m_busy || isWindowSwitch(static_cast<QFocusEvent*>(event), this))
            break;
        if (watched == RecipeName)
            event->type() == QEvent::FocusIn
                ? RecipeNameEnter()
                : RecipeNameExit(static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason);
        else if (watched == ERezeptkategorien)
            ERezeptkategorienEnterExit();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        // The click that tried to leave an empty name is not carried out either: it
        // would open a list or place the caret in a field the focus never reached.
        if (m_swallowClick) {
            if (event->type() == QEvent::MouseButtonRelease)
                m_swallowClick = false;
            return true;
        }
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* edit = qobject_cast<QTextEdit*>(watched);
        if (!edit || !m_richEdits.contains(edit) ||
            (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter))
            break;
        if (edit == Beschreibung1)
            Beschreibung1KeyPress();
        if (key->modifiers() & Qt::ShiftModifier) {
            // A soft line break would be a line of its own once saved but no row for the
            // mirrored columns: every break is a real new line.
            QTextCursor cursor = edit->textCursor();
            cursor.insertBlock();
            edit->setTextCursor(cursor);
            edit->ensureCursorVisible();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

// Opening and filling ------------------------------------------------------------------

void TFKVE::loadBackgrounds()
{
    // The picture is the same on every opening; it is drawn again only when the base
    // folder changed.
    const QString path = basePath(QStringLiteral("Graphic/PNG/Background.png"));
    if (path == m_backgroundPath && !IFBack->pixmap().isNull())
        return;
    m_backgroundPath = path;
    const QImage picture = loadPicture(path);
    IFBack->setPixmap(framedBackground(picture, IFBack->size(), IFBack->width() - kClientWidth));
    IAbgeheftetBack->setPixmap(framedBackground(picture, IAbgeheftetBack->size(), 0));
    IIconlisteBack->setPixmap(framedBackground(picture, IIconlisteBack->size(), 0));
}

void TFKVE::ClearEditor()
{
    m_filling = true;
    loadBackgrounds();
    for (QLineEdit* edit : {RecipeName, Ordner, Zeitschrift, Buch, Seite, Bemerkung, Portionen})
        clearField(edit);
    CBRezeptkategorien->clear();
    for (const QByteArray& category : CollectCategories(m_catalogue.recipes, -1))
        CBRezeptkategorien->addItem(cp1252::toUnicode(category));
    CBRezeptkategorien->setCurrentIndex(CBRezeptkategorien->count() > 0 ? 0 : -1);
    clearField(ERezeptkategorien);
    clearField(Zubzeit);
    CBKochlevel->clear();
    CBKochlevel->addItems(difficultyNames());
    CBKochlevel->setCurrentIndex(0);
    CBIconliste->clear();
    CBIconliste->addItems(cookingDeviceItems());
    CBIconliste->setCurrentIndex(0);
    ShowDevicePictures(m_catalogue.recipes, -1);
    ShowEditorDecorations(m_catalogue.recipes, -1);
    for (QTextEdit* edit : m_richEdits) {
        rich::toTextDocument(rich::RichDocument(), edit->document());
        edit->document()->clearUndoRedoStacks();
    }
    LGrafikvolldateiname->clear();
    m_cookingDate = currentDayCount();
    DTP1->setDateTime(QDateTime::currentDateTime());
    m_filling = false;
}

void TFKVE::ShowRecipeKind(int kind)
{
    if (kind != 0 && kind != 1)
        return;
    const bool deluxe = kind == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{Name1, Menge1, Einheit1, Beschreibung1,
                                                      LMenge1, LName1, LEinheit1, LBeschreibung1})
        w->setVisible(deluxe);
    for (QWidget* w : std::initializer_list<QWidget*>{Zutatenliste, Rezepttext, Label6, Label7})
        w->setVisible(!deluxe);
    IRezeptname->setPixmap(cachedPicture(smallIconPath(kind + 1, RecipeName->text().isEmpty())));
}

void TFKVE::OpenNewRecipe()
{
    ClearEditor();
    m_catalogue.CurrentRecipe = m_catalogue.newRecipe();
    ShowRecipeKind(m_catalogue.recipes[current()].Kind);
    DTP1->setEnabled(false);
    showCentred(this);
    activateWindow();
    if (RecipeName->isEnabled())
        RecipeName->setFocus(Qt::OtherFocusReason);
}

void TFKVE::OpenRecipe()
{
    TKVG* recipe = currentRecipe();
    if (!recipe)
        return;
    ClearEditor();
    fillFromRecipe(*recipe);
    ShowRecipeKind(recipe->Kind);
    emit recipeShown();
    ShowDevicePictures(m_catalogue.recipes, current());
    ShowEditorDecorations(m_catalogue.recipes, current());
    showCentred(this);
    activateWindow();
    if (RecipeName->isEnabled()) {
        RecipeName->setFocus(Qt::OtherFocusReason);
        RecipeName->deselect();
    }
}

void TFKVE::fillFromRecipe(const TKVG& recipe)
{
    QStringList unreadable;
    showForm(formFromRecipe(recipe, &unreadable));
    for (const QString& error : unreadable)
        ReportErrorOnce(this, unreadableSideFileText(error));
}

void TFKVE::showForm(const RecipeForm& form)
{
    m_filling = true;
    setFieldText(RecipeName, form.name);
    setFieldText(Ordner, form.binder);
    setFieldText(Buch, form.book);
    setFieldText(Zeitschrift, form.magazine);
    setFieldText(Seite, form.page);
    setFieldText(Bemerkung, form.remark);
    setFieldText(ERezeptkategorien, form.categories);
    setFieldText(Portionen, form.servings);
    setFieldText(Zubzeit, form.prepTime);
    // A difficulty outside 1 to 5 selects nothing; saving then stores 0.
    CBKochlevel->setCurrentIndex(form.difficultyItem >= 0 && form.difficultyItem < CBKochlevel->count()
                                     ? form.difficultyItem
                                     : -1);
    LGrafikvolldateiname->setText(form.pictureFile);
    m_cookingDate = form.lastCooked;
    const QDateTime cooked = dateTimeFromDayCount(form.lastCooked);
    DTP1->setDateTime(cooked.isValid() ? cooked : QDateTime::currentDateTime());
    for (size_t i = 0; i < form.texts.size(); ++i) {
        QTextEdit* edit = m_richEdits.at(qsizetype(i));
        rich::toTextDocument(form.texts[i], edit->document());
        edit->document()->clearUndoRedoStacks();
        edit->moveCursor(QTextCursor::Start);
    }
    DTP1->setEnabled(nameAllowsDate(form.name));
    m_filling = false;
}

RecipeForm TFKVE::currentForm() const
{
    RecipeForm form;
    form.name = RecipeName->text();
    const TKVG* recipe = const_cast<TFKVE*>(this)->currentRecipe();
    form.kind = recipe ? recipe->Kind : 0;
    form.devices = recipe ? recipe->Devices : QByteArray();
    form.binder = Ordner->text();
    form.book = Buch->text();
    form.magazine = Zeitschrift->text();
    form.page = Seite->text();
    form.remark = Bemerkung->text();
    form.categories = ERezeptkategorien->text();
    form.servings = Portionen->text();
    form.prepTime = Zubzeit->text();
    form.difficultyItem = CBKochlevel->currentIndex();
    form.pictureFile = LGrafikvolldateiname->text();
    form.lastCooked = m_cookingDate;
    for (size_t i = 0; i < form.texts.size(); ++i)
        form.texts[i] = rich::fromTextDocument(m_richEdits.at(qsizetype(i))->document());
    return form;
}

QList<QTextEdit*> TFKVE::deluxeColumns() const
{
    return {Name1, Menge1, Einheit1, Beschreibung1};
}

TKVG* TFKVE::currentRecipe()
{
    const int index = current();
    return index >= 0 && index < m_catalogue.recipes.size() ? &m_catalogue.recipes[index] : nullptr;
}

// Field rules ---------------------------------------------------------------------------

int TFKVE::ask(int number, int headingKind, int buttonSet)
{
    QWidget* focused = focusWidget();
    m_busy = true;
    setEnabled(false);
    const int answer = ShowMsg(number, headingKind, buttonSet);
    setEnabled(true);
    m_busy = false;
    if (isVisible())
        activateWindow(); // the message window had the focus
    if (focused && focused->isVisible() && focused->isEnabled())
        focused->setFocus(Qt::OtherFocusReason);
    return answer;
}

void TFKVE::IRezeptnameClick()
{
    if (!switchKind(m_catalogue, RecipeName->text())) {
        ask(1, 1, 0);
        RecipeName->setFocus(Qt::OtherFocusReason);
        return;
    }
    if (const TKVG* recipe = currentRecipe())
        ShowRecipeKind(recipe->Kind);
}

void TFKVE::RecipeNameEnter()
{
    DTP1->setEnabled(nameAllowsDate(RecipeName->text()));
}

void TFKVE::RecipeNameChange()
{
    if (const TKVG* recipe = currentRecipe()) {
        ShowRecipeKind(recipe->Kind);
        DTP1->setEnabled(nameAllowsDate(RecipeName->text()));
    }
}

void TFKVE::RecipeNameExit(bool byClick)
{
    const QString name = nameOnLeave(RecipeName->text());
    if (!name.isEmpty()) {
        if (name != RecipeName->text())
            setFieldText(RecipeName, name);
        DTP1->setEnabled(true);
        return;
    }
    m_swallowClick = byClick;
    ask(1, 1, 0);
    RecipeName->clear();
    m_busy = true; // the focus comes back without running the enter rule again
    if (RecipeName->isVisible() && RecipeName->isEnabled())
        RecipeName->setFocus(Qt::OtherFocusReason);
    m_busy = false;
    DTP1->setEnabled(false);
}

void TFKVE::printedMatterChange()
{
    if (!m_filling)
        ShowDevicePictures(m_catalogue.recipes, current());
}

void TFKVE::CBIconlisteChange(int item)
{
    TKVG* recipe = currentRecipe();
    if (!recipe)
        return;
    if (toggleDevice(recipe->Devices, item) == DeviceToggle::Full)
        ask(2, 1, 0);
    CBIconliste->setCurrentIndex(item);
    ShowDevicePictures(m_catalogue.recipes, current());
}

void TFKVE::ERezeptkategorienEnterExit()
{
    const QString normalised = normaliseCategoryField(ERezeptkategorien->text());
    if (normalised != ERezeptkategorien->text())
        setFieldText(ERezeptkategorien, normalised);
}

void TFKVE::CBRezeptkategorienChange(int item)
{
    if (item < 0)
        return;
    const QString category = CBRezeptkategorien->itemText(item);
    const QString field = ERezeptkategorien->text();
    if (categoryListed(field, category) && ask(3, 1, 4) != kAnswerYes)
        return;
    setFieldText(ERezeptkategorien, addCategory(field, category));
}

void TFKVE::CBKochlevelChange()
{
    if (!m_filling && currentRecipe())
        ShowEditorDecorations(m_catalogue.recipes, current());
}

void TFKVE::DTP1Change()
{
    if (m_filling)
        return;
    TKVG* recipe = currentRecipe();
    m_cookingDate = dayCountFromDateTime(DTP1->dateTime());
    if (recipe) {
        recipe->LastCooked = m_cookingDate;
        ShowEditorDecorations(m_catalogue.recipes, current());
    }
}

// Recipe picture ------------------------------------------------------------------------

void TFKVE::IRezeptgrafikClick()
{
    TKVG* recipe = currentRecipe();
    if (RecipeName->text().isEmpty() || !recipe)
        return;
    Settings& settings = CurrentSettings();
    m_busy = true;
    const std::optional<QString> chosen =
        ChoosePicture(this, settings.lastPictureFolder, FileNamePart(LGrafikvolldateiname->text()));
    m_busy = false;
    if (chosen) {
        if (!QFileInfo(*chosen).isFile())
            return;
        LGrafikvolldateiname->setText(*chosen);
        recipe->PictureFile = *chosen;
        ShowEditorDecorations(m_catalogue.recipes, current());
        settings.lastPictureFolder = FolderPart(*chosen);
        return;
    }
    if (!LGrafikvolldateiname->text().isEmpty() && ask(4, 2, 4) == kAnswerYes)
        clearPicture();
}

void TFKVE::PMRezeptgrafikPopup()
{
    MGrafikloeschen->setVisible(!LGrafikvolldateiname->text().isEmpty());
}

void TFKVE::MGrafikloeschenClick()
{
    if (ask(4, 2, 4) == kAnswerYes)
        clearPicture();
}

void TFKVE::clearPicture()
{
    LGrafikvolldateiname->clear();
    if (TKVG* recipe = currentRecipe())
        recipe->PictureFile.clear();
    ShowEditorDecorations(m_catalogue.recipes, current());
}

// Rich-text commands --------------------------------------------------------------------

QTextEdit* TFKVE::focusedRichEdit() const
{
    for (QTextEdit* edit : m_richEdits) {
        if (edit->hasFocus())
            return edit;
    }
    return nullptr;
}

void TFKVE::PMREPopup()
{
    for (QAction* item : {Zeichensatz, Einfuegen, Ausschneiden, Kopieren})
        item->setEnabled(false);
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    Einfuegen->setEnabled(clipboard && clipboard->hasText());
    Zeichensatz->setEnabled(true);
    const QTextEdit* edit = focusedRichEdit();
    const bool selected = edit && edit->textCursor().hasSelection();
    Ausschneiden->setEnabled(selected);
    Kopieren->setEnabled(selected);
}

void TFKVE::EinfuegenClick()
{
    if (QTextEdit* edit = focusedRichEdit())
        edit->paste();
}

void TFKVE::AusschneidenClick()
{
    if (QTextEdit* edit = focusedRichEdit())
        edit->cut();
}

void TFKVE::KopierenClick()
{
    if (QTextEdit* edit = focusedRichEdit())
        edit->copy();
}

void TFKVE::ZeichensatzClick()
{
    QTextEdit* edit = focusedRichEdit();
    const QFont initial = edit ? selectionFont(edit) : font();
    m_busy = true;
    const std::optional<QFont> chosen = ChooseFont(this, initial);
    m_busy = false;
    if (edit)
        edit->setFocus(Qt::OtherFocusReason);
    if (!chosen || !edit)
        return;
    applyFontToEdit(edit, *chosen);
    const QList<QTextEdit*> columns = deluxeColumns();
    if (columns.contains(edit))
        applyFontToColumns(columns, *chosen);
}

bool TFKVE::Beschreibung1KeyPress()
{
    // The new line is the one after the caret's, unless Enter at the start of a line
    // pushes that whole line down: then the empty line is the caret's own row.
    const QTextCursor caret = Beschreibung1->textCursor();
    const bool pushesDown = !caret.hasSelection() && caret.atBlockStart() && !caret.atBlockEnd();
    const int row = caret.blockNumber() + (pushesDown ? 0 : 1);
    if (ask(7, 2, 4) != kAnswerYes)
        return false;
    for (QTextEdit* column : {Menge1, Einheit1, Name1})
        insertMirroredLine(column->document(), row);
    return true;
}

// Saving and closing --------------------------------------------------------------------

bool TFKVE::reportSave(const SaveResult& result)
{
    switch (result.status) {
    case SaveStatus::Saved:
        ask(5, 1, 0);
        return true;
    case SaveStatus::NameMissing:
        ask(1, 1, 0);
        if (RecipeName->isEnabled())
            RecipeName->setFocus(Qt::OtherFocusReason);
        return false;
    case SaveStatus::FileError:
        m_busy = true;
        ReportError(this, result.message);
        m_busy = false;
        return false;
    case SaveStatus::NoCurrentRecipe:
    case SaveStatus::NameExists:
        break;
    }
    return false;
}

bool TFKVE::saveRecipe(const RecipeForm& form)
{
    return reportSave(SaveRecipe(m_catalogue, form));
}

void TFKVE::Rezeptspeichern1Click()
{
    saveRecipe(currentForm());
}

void TFKVE::Rezeptspeichernunter1Click()
{
    if (!currentRecipe())
        return;
    const RecipeForm form = currentForm();
    SaveResult result = SaveRecipeAs(m_catalogue, form, false);
    if (result.status == SaveStatus::NameExists) {
        if (ask(19, 2, 4) != kAnswerYes) {
            if (RecipeName->isEnabled())
                RecipeName->setFocus(Qt::OtherFocusReason);
            return;
        }
        result = SaveRecipeAs(m_catalogue, form, true);
    }
    reportSave(result);
}

void TFKVE::Rezeptdrucken1Click()
{
    const RecipeForm form = currentForm(); // what the question is about
    if (ask(24, 1, 1) == kAnswerNo)
        return;
    // A recipe that could not be saved is not printed: the preview would show the old one.
    if (!saveRecipe(form))
        return;
    QWidget* focus = QApplication::focusWidget();
    hide();
    ShowProgress();
    OpenPreview(m_catalogue, true, false);
    show();
    activateWindow();
    if (focus && isAncestorOf(focus))
        focus->setFocus(Qt::OtherFocusReason);
}

void TFKVE::closeEvent(QCloseEvent* event)
{
    // The window is only hidden, never closed for good.
    event->ignore();
    if (m_busy || !isEnabled())
        return;
    const RecipeForm form = currentForm(); // what the question is about
    if (!form.name.isEmpty() && ask(18, 2, 4) == kAnswerYes && !saveRecipe(form))
        return; // nothing saved: stay open so the form's content is not lost
    m_busy = true;
    hide();
    m_busy = false;
    emit closed();
}
