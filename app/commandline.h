// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QStringList>

class QTextStream;

/// Runs the program's command-line modes. Returns the process exit code.
int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err);
