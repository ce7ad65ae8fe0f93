// SPDX-License-Identifier: GPL-2.0-or-later
// The program's version and licence, for --version and the information window.

#pragma once

#include <QString>

/// The version the build read from git ("0.3.0", or "0.3.0+5.g1a2b3c4" five commits
/// after that release), or the version in CMakeLists.txt where git names none.
QString ProgramVersion();

/// The licence under which the program is distributed, as an SPDX expression.
inline constexpr char kProgramLicence[] = "GPL-2.0-or-later";
