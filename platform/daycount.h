// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <QDateTime>

// Date-times of the program's files: days since 30 December 1899 as a double, the
// fraction being the local time of day. For negative values the whole part counts
// days before that date and the fraction is still the time of that day.

/// The local date-time of a day count; invalid for values outside the years 1 to 9999.
QDateTime dateTimeFromDayCount(double days);
/// The day count of a local date-time.
double dayCountFromDateTime(const QDateTime& dateTime);
/// The current local date and time as a day count.
double currentDayCount();
