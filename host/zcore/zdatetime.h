#pragma once
#include <QDateTime>

namespace zubrel {

class ZDateTime
{
public:
    // Windows OLE automation date: days since 1899-12-30, the fraction is the
    // time of day. The result is already marked UTC, so a time that falls
    // into a local daylight-saving gap is never shifted; callers that mark it
    // UTC again change nothing. NaN, infinity and out-of-range days give an
    // invalid date-time.
    static QDateTime fromWinTime(double winTime);
    static double toWinTime(const QDateTime &dateTime);
};

} // namespace zubrel
