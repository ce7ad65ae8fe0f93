// SPDX-License-Identifier: GPL-2.0-or-later

#include "platform/daycount.h"

#include <cmath>

namespace {

constexpr qint64 kMsPerDay = 24 * 60 * 60 * 1000;

qint64 epochJulianDay()
{
    return QDate(1899, 12, 30).toJulianDay();
}

} // namespace

QDateTime dateTimeFromDayCount(double days)
{
    // Years 1 to 9999 are what the program's files can hold.
    if (!std::isfinite(days) || days < -693593.0 || days >= 2958466.0)
        return {};
    const double whole = std::trunc(days);
    const double fraction = std::fabs(days - whole);
    qint64 ms = std::llround(fraction * kMsPerDay);
    qint64 day = qint64(whole);
    if (ms >= kMsPerDay) { // rounding reached the next midnight
        ms -= kMsPerDay;
        day += days < 0 ? -1 : 1;
    }
    const QDate date = QDate::fromJulianDay(epochJulianDay() + day);
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

double dayCountFromDateTime(const QDateTime& dateTime)
{
    const QDateTime local = dateTime.toLocalTime();
    const double day = double(local.date().toJulianDay() - epochJulianDay());
    const double fraction = double(local.time().msecsSinceStartOfDay()) / double(kMsPerDay);
    return day >= 0 ? day + fraction : day - fraction;
}

double currentDayCount()
{
    return dayCountFromDateTime(QDateTime::currentDateTime());
}
