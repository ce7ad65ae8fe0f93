// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's general error report: a message box with the error text, for file and
// format errors that stop an operation. Waits for the user like every message; tests
// answer it through a hook.

/// Shows text as an error over parent and waits until it is closed.
void ReportError(QWidget* parent, const QString& text);

/// As ReportError, but a text already reported in this run is not shown again (a file
/// that cannot be read is named once, not at every look at its recipe).
void ReportErrorOnce(QWidget* parent, const QString& text);

using ErrorReportHook = std::function<void(const QString& text)>;

/// Routes every ReportError to hook instead of a message box; an empty hook restores the
/// message box.
void SetErrorReportHook(ErrorReportHook hook);
