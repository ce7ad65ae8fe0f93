// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QString>

/// Opens a file or a web address with the desktop's default program. Failures are not
/// reported: the caller has nothing sensible to do about them.
void OpenDocument(const QString& fileOrAddress);
