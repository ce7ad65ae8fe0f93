// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

class TFVor;

// The preview's commands around drafts and the print format: "Save draft as" (Ctrl+S),
// "Load draft" (Ctrl+L) and the printer button "Setup". Each acts only while its menu
// item (or the button) is enabled.

/// Gives the preview's two draft items their shortcuts and connects them and the
/// printer button to the commands below.
void connectDraftCommands(TFVor& preview);

/// Opens the save-draft window on the preview's layout.
void Formatvorlagespeichern1Click(TFVor& preview);
/// Opens the load-draft window with the drafts of the preview's layout kind.
void Formatvorlageladen1Click(TFVor& preview);
/// Opens the print format window and waits until it is closed.
void BBDruckerClick(TFVor& preview);
