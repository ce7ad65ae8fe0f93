// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QAbstractSpinBox>
#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QLatin1String>
#include <QWidget>

#include <type_traits>

// Building windows control by control: each control gets the object name the interface
// texts and the tests address it by, and its place in pixels.

namespace controls {

/// Lets control (a drop-down list or a date picker) react to the mouse wheel only while
/// it has the focus: a wheel turned over it on the way to somewhere else neither gives
/// it the focus nor changes its value, and scrolls what lies below instead.
void wheelOnlyWithFocus(QWidget* control);

/// A new control of type W in parent, named name, at x, y with size w × h. Drop-down
/// lists and spin boxes react to the wheel only with the focus (wheelOnlyWithFocus).
template <typename W> W* place(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    if constexpr (std::is_base_of_v<QComboBox, W> || std::is_base_of_v<QAbstractSpinBox, W>)
        wheelOnlyWithFocus(widget);
    return widget;
}

/// A new menu command named name with its working caption.
inline QAction* action(QObject* parent, const char* name, const char* caption)
{
    auto* a = new QAction(QLatin1String(caption), parent);
    a->setObjectName(QLatin1String(name));
    return a;
}

/// Verdana at a pixel size, the font of the program's own windows.
QFont verdana(int pixels, bool bold = false, bool underline = false);

} // namespace controls
