#pragma once
#include <QDateTime>

namespace zubrel {

class ZDateTime
{
public:
    // Windows OLE automation date: days since 1899-12-30, the fraction is the
    // time of day. The result carries no time spec; callers mark it as UTC.
    static QDateTime fromWinTime(double winTime);
    static double toWinTime(const QDateTime &dateTime);
};

} // namespace zubrel
