// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QPainter>
#include <QSizeF>
#include <QString>
#include <QStringList>

// Every drawing of the installation's pictures. Each draws into its own unit grid (given
// per family below); gfx::Canvas scales the grid to the picture's pixel size.

namespace gfx {

// Recipe kinds (kindicons.cpp), 32 × 32 units: 0 new recipe, 1 normal recipe, 2 deluxe
// recipe, 3 ring binder, 4 magazine, 5 book.
inline constexpr int kKindCount = 6;
void drawKind(QPainter& p, int kind);

// Cooking devices (devices.cpp), 32 × 32 units.
/// The device names in the order the editor lists them; each is a picture's base name.
const QStringList& deviceNames();
/// Draws device index (into deviceNames()).
void drawDevice(QPainter& p, int index);
/// A free device slot.
void drawEmptyDeviceSlot(QPainter& p);

// Editor and preview decorations (decorations.cpp).
/// count (1 to 5) difficulty stars, 30 × 30 units.
void drawStars(QPainter& p, int count);
enum class CookingDay { Yesterday, Today, Tomorrow };
/// A calendar page telling whether the cooking date is past, today or ahead, 30 × 30 units.
void drawCalendar(QPainter& p, CookingDay day);
/// The window background, in pixels of the given size.
void drawBackground(QPainter& p, QSizeF size);
enum class ButtonGlyph { Left, Right, Printer };
/// A glyph of the preview's buttons, 24 × 24 units.
void drawButtonGlyph(QPainter& p, ButtonGlyph glyph);

// Logos (logos.cpp), 32 × 32 units.
void drawProgramIcon(QPainter& p);
void drawMakerLogo(QPainter& p);

// Recipe pictures (recipepictures.cpp, dishes.cpp), 281 × 145 units.
inline constexpr double kDishWidth = 281;
inline constexpr double kDishHeight = 145;
void drawNoRecipePicture(QPainter& p);
void drawStrawberryCake(QPainter& p);
void drawChili(QPainter& p);
void drawPancakes(QPainter& p);
void drawCurry(QPainter& p);
void drawFondue(QPainter& p);
void drawWaffles(QPainter& p);

} // namespace gfx
