// SPDX-License-Identifier: GPL-2.0-or-later
// Building the editor's form: its controls at their places, the tab order and the
// background pictures.

#include "editor/F_KVE.h"

#include "common/ansivalidator.h"
#include "common/controls.h"
#include "common/session.h"
#include "editor/kvefields.h"
#include "imaging/pictureloader.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QTextEdit>

using controls::place;
using namespace kve;

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

} // namespace

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
        setTypingLimit(e, maxLength);
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
