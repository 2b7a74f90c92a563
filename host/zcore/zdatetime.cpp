#include "zdatetime.h"

#include <cmath>
#include <limits>

namespace zubrel {

namespace {

constexpr qint64 msecsPerDay = 86400000;
// The range OLE automation dates are defined for: 0100-01-01 .. 9999-12-31.
constexpr double minWinTime = -657435.0;
constexpr double maxWinTime = 2958466.0;

QDate epoch()
{
    return QDate(1899, 12, 30);
}

} // namespace

// The fields are returned in UTC: a LocalTime result would silently shift
// times that fall into a daylight-saving gap of the machine's zone before the
// caller could mark them as UTC.
QDateTime ZDateTime::fromWinTime(double winTime)
{
    if (!std::isfinite(winTime) || winTime < minWinTime || winTime >= maxWinTime)
        return {};
    // The integral part counts days (towards zero); the fraction is the time
    // of day even before 1899-12-30, so -1.25 is 1899-12-29 06:00.
    const double days = std::trunc(winTime);
    qint64 msecs = std::llround(std::fabs(winTime - days) * msecsPerDay);
    QDate date = epoch().addDays(static_cast<qint64>(days));
    if (msecs >= msecsPerDay) { // rounded up to midnight
        date = date.addDays(1);
        msecs -= msecsPerDay;
    }
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs)), Qt::UTC);
}

// Uses the date and time fields as they are, whatever their time zone.
double ZDateTime::toWinTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return std::numeric_limits<double>::quiet_NaN();
    const qint64 days = epoch().daysTo(dateTime.date());
    const double fraction = double(dateTime.time().msecsSinceStartOfDay()) / msecsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

} // namespace zubrel
