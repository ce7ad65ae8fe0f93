// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

class QWidget;

/// Moves a top-level window so that it sits in the middle of its screen's available
/// area (the primary screen when it has none yet).
void centreOnScreen(QWidget* window);

/// Shows a top-level window in the middle of its screen. The frame of a window shown for
/// the first time is only known once it is shown, so the window is placed again then.
void showCentred(QWidget* window);
