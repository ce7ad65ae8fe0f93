// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QStringList>

class QWidget;

// The English texts of the windows. Windows are built with working captions; at start-up
// the texts are put onto their controls, found by objectName. Each window has its own
// tables, chosen by the window's objectName ("TFMain", "TFKVE", "TFVor", "TFPrintS",
// "TFPDraftS", "TFPDraftL", "TFinfo").

inline constexpr char kProgramTitle[] = "Dilboscan 2.01";

/// How long a tooltip stays visible, in milliseconds.
inline constexpr int kTooltipDuration = 4000;

/// Sets the title of window and the captions of its labels, buttons, group boxes, menus
/// and menu items. Controls the window does not have (yet) are skipped; a window without
/// tables is left alone. For the main window it also sets the program's title and, when
/// "Dilboscan.ico" below the base folder can be read, the program icon.
void ApplyCaptions(QWidget* window);

/// Sets the tooltips of window's controls and switches the tooltips of its listed
/// controls on or off. Switched off, a control keeps its tooltip text (recipe-specific
/// tips set later stay too) but shows none until switched on again. Every listed control
/// shows its tooltip for kTooltipDuration.
void ApplyTooltips(QWidget* window, bool on);

/// Names in window's caption and tooltip tables that no control of window carries: a
/// misspelt name would leave a control without its text.
QStringList ControlsWithoutTexts(QWidget* window);
