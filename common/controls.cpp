// SPDX-License-Identifier: GPL-2.0-or-later

#include "common/controls.h"

#include <QEvent>

namespace controls {

namespace {

// Passes a wheel event over an unfocused control on to the control's parent.
class WheelGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Wheel && !static_cast<QWidget*>(watched)->hasFocus()) {
            event->ignore(); // not taken: the parent gets it
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void wheelOnlyWithFocus(QWidget* control)
{
    // Qt's default for these controls is Qt::WheelFocus: the wheel would focus them first.
    control->setFocusPolicy(Qt::StrongFocus);
    control->installEventFilter(new WheelGuard(control));
}

QFont verdana(int pixels, bool bold, bool underline)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace controls
