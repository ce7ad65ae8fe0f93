// SPDX-License-Identifier: GPL-2.0-or-later
// The preview window's pointer handling: selecting, moving and resizing elements on
// the sheet with the mouse. The rules themselves are in layoutediting.h; this file
// routes the window's mouse events to them.

#include "preview/F_Vor.h"
#include "preview/elementimage.h"
#include "preview/layoutediting.h"
#include "preview/render.h"

#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>

#include <cstring>

namespace {

constexpr QRgb kResizeFrame = qRgb(0, 0, 255);
constexpr QRgb kErase = qRgb(255, 255, 255);
/// Scroll distance of one wheel notch, and the notch in eighths of a degree.
constexpr int kWheelStep = 120;
constexpr int kWheelNotch = 120;

QImage resizedBitmap(const QImage& bitmap, int width, int height)
{
    // The pixels stay anchored at the top-left corner; new room is white.
    QImage resized(width, height, bitmap.format());
    resized.fill(Qt::white);
    const int w = std::min(width, bitmap.width());
    const int h = std::min(height, bitmap.height());
    const int bytes = w * bitmap.depth() / 8;
    for (int y = 0; y < h; ++y)
        std::memcpy(resized.scanLine(y), bitmap.constScanLine(y), size_t(bytes));
    return resized;
}

} // namespace

QSize TFVor::sheetSize() const
{
    return IBlatt->size();
}

bool TFVor::activeElement(int* index) const
{
    if (m_elements.isEmpty())
        return false;
    const int a = ActiveElementIndex(m_elements);
    *index = a;
    return m_elements.at(a).Active;
}

void TFVor::pointerTracking(QPoint form, Qt::MouseButtons buttons)
{
    m_state.MouseX = form.x() - IBlatt->x();
    m_state.MouseY = form.y() - IBlatt->y();
    if (editBoxOpen())
        return;
    updateTitle();
    int a = 0;
    if ((buttons & Qt::LeftButton) && activeElement(&a))
        Redraw(true);
}

void TFVor::FormMouseMove(QPoint form, Qt::MouseButtons buttons)
{
    pointerTracking(form, buttons);
}

void TFVor::IBlattMouseMove(QPoint local, Qt::MouseButtons buttons)
{
    pointerTracking(local + IBlatt->pos(), buttons);
    if (editBoxOpen() || (buttons & (Qt::LeftButton | Qt::RightButton)) ||
        m_lastCursor == Qt::ArrowCursor)
        return;
    m_lastCursor = Qt::ArrowCursor;
    IBlatt->setCursor(Qt::ArrowCursor);
}

void TFVor::IBlattMouseDown(Qt::MouseButton button)
{
    if (button != Qt::LeftButton || editBoxOpen())
        return;
    DeselectAll();
    Redraw(false);
}

void TFVor::IBlattClick()
{
    if (editBoxOpen())
        return;
    DeselectAll();
    Redraw(false);
}

void TFVor::ElementMouseMove(int i, QPoint local, Qt::MouseButtons buttons)
{
    ElementImage* image = elementImage(i);
    pointerTracking(local + image->pos(), buttons);
    // A drag in progress keeps its mode.
    if (editBoxOpen() || (buttons & (Qt::LeftButton | Qt::RightButton)))
        return;
    TGFXL& e = m_elements[i];
    e.DragMode = HitTest(e, i, m_state.MouseX, m_state.MouseY);
    m_lastCursor = cursorForDragMode(e.DragMode);
    image->setCursor(m_lastCursor);
}

void TFVor::ElementMouseDown(int i)
{
    int a = 0;
    if (editBoxOpen() || !activeElement(&a) || a == i)
        return;
    DeselectAll();
    Redraw(false);
}

void TFVor::ElementMouseUp(int i, QPoint local, Qt::MouseButton button)
{
    if (editBoxOpen())
        return;
    pointerTracking(local + elementImage(i)->pos(), Qt::NoButton);
    if (button != Qt::LeftButton)
        return;
    if (DeselectAll() != i)
        SelectElement(true, i);
    Redraw(false);
}

void TFVor::dragActiveElement()
{
    int a = 0;
    if (!activeElement(&a))
        return;
    TGFXL& e = m_elements[a];
    if (!e.Shown)
        return;
    // The quantity column carries the other columns along: the whole row stays on
    // the sheet.
    const QSize moved = isColumn(a) ? ColumnGroupSize(m_elements) : QSize();
    const DragOutcome out = DragStep(e, m_state.MouseX, m_state.MouseY, sheetSize(), moved);
    if (out.width != e.width() || out.height != e.height()) {
        DrawFrame(e.Bitmap, 0, 0, kErase, e.height(), e.width());
        e.Bitmap = resizedBitmap(e.Bitmap, out.width, out.height);
        DrawFrame(e.Bitmap, 0, 0, kResizeFrame, e.height(), e.width());
    }
    e.Left = out.left;
    e.Top = out.top;
    if (out.pointer)
        putPointer(*out.pointer);
}

void TFVor::putPointer(QPoint sheet)
{
    QCursor::setPos(IBlatt->mapToGlobal(sheet));
}

bool TFVor::FormMouseWheel(const QWheelEvent* event)
{
    const int turn = event->angleDelta().y();
    if (turn == 0)
        return false; // a sideways turn scrolls as usual
    // High-resolution wheels send fractions of a notch: they scroll once per notch.
    m_wheelRest += turn;
    QScrollBar* bar = m_scroll->verticalScrollBar();
    while (std::abs(m_wheelRest) >= kWheelNotch) {
        const int step = m_wheelRest < 0 ? kWheelStep : -kWheelStep;
        bar->setValue(bar->value() + step);
        m_wheelRest += m_wheelRest < 0 ? kWheelNotch : -kWheelNotch;
    }
    return true;
}

void TFVor::showPopupAt(const QPoint& global)
{
    if (PMREListenPopup())
        PMREListen->popup(global);
}

bool TFVor::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == m_scroll->viewport() && type == QEvent::Wheel)
        return FormMouseWheel(static_cast<QWheelEvent*>(event));
    if (watched == REDummy) {
        if (type == QEvent::KeyPress)
            return REDummyKeyPress(static_cast<QKeyEvent*>(event));
        if (type == QEvent::Hide)
            fitCanvas(); // the scroll range goes back to the sheet
        return QMainWindow::eventFilter(watched, event);
    }
    if (type != QEvent::MouseMove && type != QEvent::MouseButtonPress &&
        type != QEvent::MouseButtonRelease)
        return QMainWindow::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint local = mouse->position().toPoint();
    if (watched == m_canvas) {
        if (type == QEvent::MouseMove)
            FormMouseMove(local, mouse->buttons());
        return false;
    }
    if (watched == IBlatt) {
        if (type == QEvent::MouseMove)
            IBlattMouseMove(local, mouse->buttons());
        else if (type == QEvent::MouseButtonPress)
            IBlattMouseDown(mouse->button());
        else if (mouse->button() == Qt::LeftButton && IBlatt->rect().contains(local))
            IBlattClick();
        return true;
    }
    for (int i = 0; i < kElementCount; ++i) {
        if (watched != m_images[size_t(i)])
            continue;
        if (m_elements.size() != kElementCount)
            return true;
        if (type == QEvent::MouseMove) {
            ElementMouseMove(i, local, mouse->buttons());
        } else if (type == QEvent::MouseButtonPress) {
            ElementMouseDown(i);
        } else {
            ElementMouseUp(i, local, mouse->button());
            if (mouse->button() == Qt::RightButton)
                showPopupAt(mouse->globalPosition().toPoint());
        }
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
