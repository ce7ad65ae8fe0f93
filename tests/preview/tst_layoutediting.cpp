// SPDX-License-Identifier: GPL-2.0-or-later

#include "preview/layoutediting.h"

#include <QTest>

// The rules of laying elements out with the mouse, without a window: the hit test,
// the drag step with its limits, and the pop-up menu's items.

Q_DECLARE_METATYPE(std::optional<QPoint>)

namespace {

// An element at (100, 50), 200 x 100 pixels, on a 600 x 800 sheet.
constexpr int kL = 100, kT = 50, kW = 200, kH = 100;
const QSize kSheet(600, 800);

TGFXL element(int index, bool active, int width = kW, int height = kH)
{
    TGFXL e;
    e.Left = e.AnchorLeft = kL;
    e.Top = e.AnchorTop = kT;
    e.Bitmap = QImage(width, height, QImage::Format_RGB32);
    e.AnchorWidth = width;
    e.AnchorHeight = height;
    e.Active = active;
    e.Shown = true;
    e.IsPicture = isPictureElement(index);
    e.ColumnGroup = isColumn(index) ? 1 : 0;
    e.WholeTextFont = isColumn(index);
    return e;
}

} // namespace

class LayoutEditingTest : public QObject {
    Q_OBJECT

private slots:
    void hitTest_data();
    void hitTest();
    void dragStep_data();
    void dragStep();
    void popupItems_data();
    void popupItems();
    void centring();
    void lowElementsAndTheColumnRow();
};

void LayoutEditingTest::hitTest_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("active");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("cursor");

    const int nwse = Qt::SizeFDiagCursor, nesw = Qt::SizeBDiagCursor;
    const int hand = Qt::PointingHandCursor, arrow = Qt::ArrowCursor;
    QTest::newRow("top-left corner") << 7 << true << QPoint(100, 50) << 2 << nwse;
    QTest::newRow("corner band ends at 6") << 7 << true << QPoint(106, 56) << 2 << nwse;
    QTest::newRow("just inside the band") << 7 << true << QPoint(107, 57) << 1 << hand;
    QTest::newRow("bottom-right corner") << 7 << true << QPoint(300, 150) << 3 << nwse;
    QTest::newRow("top-right corner") << 7 << true << QPoint(296, 52) << 4 << nesw;
    QTest::newRow("bottom-left corner") << 7 << true << QPoint(101, 149) << 5 << nesw;
    QTest::newRow("top edge") << 7 << true << QPoint(200, 50) << 6 << int(Qt::SizeVerCursor);
    QTest::newRow("bottom edge") << 7 << true << QPoint(200, 150) << 7 << int(Qt::SizeVerCursor);
    QTest::newRow("left edge") << 7 << true << QPoint(100, 100) << 8 << int(Qt::SizeHorCursor);
    QTest::newRow("right edge") << 7 << true << QPoint(300, 100) << 9 << int(Qt::SizeHorCursor);
    QTest::newRow("inside") << 7 << true << QPoint(200, 100) << 1 << hand;
    QTest::newRow("right of it") << 7 << true << QPoint(301, 100) << 0 << arrow;
    QTest::newRow("inactive") << 7 << false << QPoint(100, 50) << 0 << arrow;
    QTest::newRow("picture corner moves") << 10 << true << QPoint(100, 50) << 1 << hand;
    // The move zone takes in the right and bottom border, nothing beyond.
    QTest::newRow("picture's far corner moves") << 10 << true << QPoint(300, 150) << 1 << hand;
    QTest::newRow("right of the picture") << 10 << true << QPoint(301, 150) << 0 << arrow;
    QTest::newRow("below the picture") << 10 << true << QPoint(300, 151) << 0 << arrow;
    QTest::newRow("quantity corner moves") << 3 << true << QPoint(100, 50) << 1 << hand;
    QTest::newRow("unit column is fixed") << 4 << true << QPoint(200, 100) << 0 << arrow;
    QTest::newRow("preparation column is fixed") << 6 << true << QPoint(100, 50) << 0 << arrow;
}

void LayoutEditingTest::hitTest()
{
    QFETCH(int, index);
    QFETCH(bool, active);
    QFETCH(QPoint, at);
    QFETCH(int, mode);
    QFETCH(int, cursor);
    const int found = HitTest(element(index, active), index, at.x(), at.y());
    QCOMPARE(found, mode);
    QCOMPARE(int(cursorForDragMode(found)), cursor);
}

void LayoutEditingTest::dragStep_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("width"); // of the element before the step
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QRect>("result");
    QTest::addColumn<std::optional<QPoint>>("pointer");
    const std::optional<QPoint> none;

    // Moves keep the grab offset (10, 20) taken when the element was selected.
    QTest::newRow("move") << 1 << kW << QPoint(310, 320) << QRect(300, 300, kW, kH) << none;
    QTest::newRow("move past the origin")
        << 1 << kW << QPoint(5, 5) << QRect(0, 0, kW, kH) << none;
    QTest::newRow("move past the right and bottom")
        << 1 << kW << QPoint(590, 790) << QRect(400, 700, kW, kH) << none;
    QTest::newRow("wider than the sheet ends flush, left negative")
        << 1 << 700 << QPoint(50, 40) << QRect(-100, 20, 700, kH) << none;
    QTest::newRow("right edge") << 9 << kW << QPoint(350, 70) << QRect(100, 50, 250, kH) << none;
    QTest::newRow("right edge past the sheet")
        << 9 << kW << QPoint(650, 70) << QRect(100, 50, 500, kH) << std::optional(QPoint(600, 70));
    QTest::newRow("right edge below 30")
        << 9 << kW << QPoint(110, 70) << QRect(100, 50, 30, kH) << std::optional(QPoint(130, 70));
    QTest::newRow("left edge keeps the right edge")
        << 8 << kW << QPoint(150, 70) << QRect(150, 50, 150, kH) << none;
    QTest::newRow("left edge stops at 30")
        << 8 << kW << QPoint(290, 70) << QRect(270, 50, 30, kH) << std::optional(QPoint(270, 70));
    QTest::newRow("left edge past the origin")
        << 8 << kW << QPoint(-5, 70) << QRect(0, 50, 300, kH) << std::optional(QPoint(100, 70));
    QTest::newRow("top edge past the origin")
        << 6 << kW << QPoint(150, -5) << QRect(100, 0, kW, 150) << std::optional(QPoint(150, 50));
    // Reaching a limit exactly is no stop: the pointer is where it should be.
    QTest::newRow("top edge right at 30")
        << 6 << kW << QPoint(150, 120) << QRect(100, 120, kW, 30) << none;
    QTest::newRow("bottom edge right at 30")
        << 7 << kW << QPoint(150, 80) << QRect(100, 50, kW, 30) << none;
    QTest::newRow("top edge stops at 30")
        << 6 << kW << QPoint(150, 149) << QRect(100, 120, kW, 30) << std::optional(QPoint(150, 120));
    QTest::newRow("bottom edge past the sheet")
        << 7 << kW << QPoint(150, 900) << QRect(100, 50, kW, 750) << std::optional(QPoint(150, 800));
    QTest::newRow("bottom edge below 30")
        << 7 << kW << QPoint(150, 60) << QRect(100, 50, kW, 30) << std::optional(QPoint(150, 80));
    QTest::newRow("bottom-right corner past both edges")
        << 3 << kW << QPoint(700, 900) << QRect(100, 50, 500, 750) << std::optional(QPoint(600, 800));
    QTest::newRow("top-left corner")
        << 2 << kW << QPoint(80, 30) << QRect(80, 30, 220, 120) << none;
    QTest::newRow("top-right corner")
        << 4 << kW << QPoint(400, 60) << QRect(100, 60, 300, 90) << none;
    QTest::newRow("bottom-left corner at both minimums")
        << 5 << kW << QPoint(299, 51) << QRect(270, 50, 30, 30) << std::optional(QPoint(270, 80));
    QTest::newRow("no drag") << 0 << kW << QPoint(400, 400) << QRect(100, 50, kW, kH) << none;
}

void LayoutEditingTest::dragStep()
{
    QFETCH(int, mode);
    QFETCH(int, width);
    QFETCH(QPoint, at);
    QFETCH(QRect, result);
    QFETCH(std::optional<QPoint>, pointer);
    TGFXL e = element(kRecipeName, true, width);
    e.DragMode = mode;
    e.GrabX = 10;
    e.GrabY = 20;
    const DragOutcome out = DragStep(e, at.x(), at.y(), kSheet);
    QCOMPARE(QRect(out.left, out.top, out.width, out.height), result);
    QCOMPARE(out.pointer, pointer);
}

// A one-line text is lower than three handle bands and than the least size of a
// resize; the quantity column carries the other columns.
void LayoutEditingTest::lowElementsAndTheColumnRow()
{
    // 17 pixels high: bands of 5, rows 50-55 and 62-67; the middle third moves it.
    const TGFXL line = element(kRecipeName, true, kW, 17);
    QCOMPARE(HitTest(line, kRecipeName, 150, 55), int(kDragTop));
    QCOMPARE(HitTest(line, kRecipeName, 150, 56), int(kDragMove));
    QCOMPARE(HitTest(line, kRecipeName, 150, 61), int(kDragMove));
    QCOMPARE(HitTest(line, kRecipeName, 150, 62), int(kDragBottom));
    QCOMPARE(HitTest(line, kRecipeName, 104, 58), int(kDragLeft));

    // 20 pixels high: the top edge dragged down stops where it is; the bottom edge
    // dragged up stops where it is too. Neither moves nor grows the element.
    TGFXL low = element(kRecipeName, true, kW, 20);
    low.DragMode = kDragTop;
    DragOutcome out = DragStep(low, 150, 65, kSheet);
    QCOMPARE(QRect(out.left, out.top, out.width, out.height), QRect(100, 50, kW, 20));
    QCOMPARE(out.pointer, std::optional(QPoint(150, 50)));
    low.DragMode = kDragBottom;
    out = DragStep(low, 150, 55, kSheet);
    QCOMPARE(QRect(out.left, out.top, out.width, out.height), QRect(100, 50, kW, 20));
    QCOMPARE(out.pointer, std::optional(QPoint(150, 70)));
    // 20 pixels wide, its left edge dragged right.
    TGFXL narrow = element(kRecipeName, true, 20, kH);
    narrow.DragMode = kDragLeft;
    out = DragStep(narrow, 115, 70, kSheet);
    QCOMPARE(QRect(out.left, out.top, out.width, out.height), QRect(100, 50, 20, kH));

    // The quantity column 50 wide heads a row 300 wide: the row's right end stops at
    // the sheet's edge, 600.
    TGFXL quantity = element(kQuantity, true, 50, kH);
    quantity.DragMode = kDragMove;
    quantity.GrabX = 10;
    quantity.GrabY = 20;
    out = DragStep(quantity, 590, 70, kSheet, QSize(300, kH));
    QCOMPARE(QRect(out.left, out.top, out.width, out.height), QRect(300, 50, 50, kH));
}

void LayoutEditingTest::popupItems_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("width");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("editBox");
    QTest::addColumn<bool>("selection");
    // Shown items in the order edit, hide, fit, centre, close; "e" disabled edit.
    QTest::addColumn<QString>("items");

    const QPoint on(150, 100);
    QTest::newRow("inactive") << 7 << false << kW << on << false << false << "";
    QTest::newRow("pointer outside") << 7 << true << kW << QPoint(400, 100) << false << false << "";
    QTest::newRow("narrow text") << 7 << true << kW << on << false << false << "EHCX";
    QTest::newRow("4 px narrower: no centring") << 7 << true << 596 << on << false << false << "EHX";
    QTest::newRow("5 px narrower: centring") << 7 << true << 595 << on << false << false << "EHCX";
    QTest::newRow("sheet wide: neither") << 7 << true << 600 << on << false << false << "EHX";
    QTest::newRow("wider than the sheet") << 7 << true << 601 << on << false << false << "EHFX";
    QTest::newRow("picture") << 10 << true << kW << on << false << false << "HC";
    QTest::newRow("wide picture") << 10 << true << 700 << on << false << false << "H";
    QTest::newRow("wide column") << 5 << true << 700 << on << false << false << "EHX";
    QTest::newRow("edit box, no selection") << 7 << true << kW << on << true << false << "eX";
    QTest::newRow("edit box, selection") << 7 << true << kW << on << true << true << "EX";
    QTest::newRow("edit box, column") << 4 << true << kW << on << true << false << "EX";
}

void LayoutEditingTest::popupItems()
{
    QFETCH(int, index);
    QFETCH(bool, active);
    QFETCH(int, width);
    QFETCH(QPoint, at);
    QFETCH(bool, editBox);
    QFETCH(bool, selection);
    QFETCH(QString, items);
    const PopupItems p = ComputePopupItems(element(index, active, width), index, at.x(), at.y(),
                                           kSheet.width(), editBox, selection);
    QString shown;
    if (p.edit)
        shown += p.editEnabled ? QLatin1Char('E') : QLatin1Char('e');
    if (p.hide)
        shown += QLatin1Char('H');
    if (p.fit)
        shown += QLatin1Char('F');
    if (p.centre)
        shown += QLatin1Char('C');
    if (p.close)
        shown += QLatin1Char('X');
    QCOMPARE(shown, items);
    QCOMPARE(p.any(), !items.isEmpty());
    QCOMPARE(p.editCaption, editBox ? QStringLiteral("Select Font") : QStringLiteral("Edit"));
    QCOMPARE(p.closeCaption,
             editBox ? QStringLiteral("Close edit box") : QStringLiteral("Close pop-up menu"));
}

void LayoutEditingTest::centring()
{
    QCOMPARE(centredLeft(600, 101), 250);
    QCOMPARE(centredLeft(601, 100), 250);
    QCOMPARE(centredLeft(600, 700), -50);
}

QTEST_APPLESS_MAIN(LayoutEditingTest)
#include "tst_layoutediting.moc"
