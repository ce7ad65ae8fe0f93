// SPDX-License-Identifier: GPL-2.0-or-later
// The version header is made at every build; only this file reads it, so a new version
// recompiles one file.

#include "common/version.h"

#include "dilboscan_version.h"

QString ProgramVersion()
{
    return QStringLiteral(DILBOSCAN_VERSION);
}
