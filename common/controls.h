#pragma once

#include <QAction>
#include <QLatin1String>
#include <QWidget>

// Building windows control by control: each control gets the object name the interface
// texts and the tests address it by, and its place in pixels.

namespace controls {

/// A new control of type W in parent, named name, at x, y with size w × h.
template <typename W> W* place(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

/// A new menu command named name with its working caption.
inline QAction* action(QObject* parent, const char* name, const char* caption)
{
    auto* a = new QAction(QLatin1String(caption), parent);
    a->setObjectName(QLatin1String(name));
    return a;
}

} // namespace controls
