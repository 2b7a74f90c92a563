#pragma once
// Stored times as local time, as QDateTime's local time reads them (the C
// library's zone), with the offset of the instant fixed in the value: same
// moment, same wall-clock time, without Qt looking at the zone file again
// for every value.

#include <QDateTime>

#include <limits>
#include <optional>

namespace zubrel {

class ChatLogLocalTime
{
public:
    // One instant. Call refreshZone() once before a batch of these.
    static QDateTime at(qint64 msecsSinceEpoch);
    // Reads the system's zone again, at most once a second: a change of
    // the zone is seen within a second, and a page of records costs no look
    // at the zone file.
    static void refreshZone();

    // The offset from UTC, in seconds, that every instant from `earliest`
    // to `latest` (milliseconds since 1970) has, when that is certain: both
    // ends have it and no change of offset lies between them. A page of
    // records then costs two conversions instead of one per record. The
    // stretch between the zone's changes around them is remembered.
    std::optional<int> sharedOffset(qint64 earliest, qint64 latest);

private:
    bool learnStretch(qint64 at, int offset);

    qint64 m_from = 0;
    qint64 m_to = 0; // exclusive; empty while m_from == m_to
    int m_offset = 0;
    quint64 m_zoneGeneration = std::numeric_limits<quint64>::max();
};

} // namespace zubrel
