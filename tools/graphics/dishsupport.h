// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

// Pieces shared by the recipe pictures: the room behind a dish, plates, shadows, fruit.

#include "graphics/canvas.h"

namespace gfx::dish {

inline constexpr double kOutline = 2.0;

/// A wall above tableTop and a table below it, with the table's front edge.
void backdrop(QPainter& p, const QColor& wall, const QColor& table, double tableTop);
/// A soft shadow under something standing at centre.
void shadow(QPainter& p, const QPointF& centre, double rx, double ry);
/// A white plate seen at an angle.
void plate(QPainter& p, const QPointF& centre, double rx, double ry);
/// An ellipse as a path.
QPainterPath ellipsePath(const QPointF& centre, double rx, double ry);
/// Half a strawberry, cut face towards the viewer, green top up; size is its height.
void strawberryHalf(QPainter& p, const QPointF& centre, double size, double angle);
/// A curl of steam rising from base.
void steam(QPainter& p, const QPointF& base, double height);
/// A filled ellipse without outline.
void blob(QPainter& p, const QPointF& centre, double rx, double ry, const QColor& colour);

} // namespace gfx::dish
