#include "chatloglocaltime.h"

#include <QTimeZone>

#include <atomic>
#include <chrono>
#include <ctime>

namespace zubrel {

namespace {

// Counts the reads of the system's zone, so what was learnt under an
// earlier zone is not trusted under a later one.
std::atomic<quint64> zoneGeneration{0};

// The C library's offset from UTC at an instant, in seconds.
std::optional<int> libcOffset(qint64 msecsSinceEpoch)
{
#if defined(Q_OS_UNIX)
    // Whole seconds rounded down, also before 1970.
    const qint64 seconds = msecsSinceEpoch / 1000 - (msecsSinceEpoch % 1000 < 0 ? 1 : 0);
    if (seconds >= std::numeric_limits<time_t>::min() && seconds <= std::numeric_limits<time_t>::max()) {
        const time_t t = time_t(seconds);
        tm local{};
        if (localtime_r(&t, &local))
            return int(local.tm_gmtoff);
    }
#else
    Q_UNUSED(msecsSinceEpoch);
#endif
    return std::nullopt;
}

} // namespace

QDateTime ChatLogLocalTime::at(qint64 msecsSinceEpoch)
{
    if (const std::optional<int> offset = libcOffset(msecsSinceEpoch))
        return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::OffsetFromUTC, *offset);
    return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch);
}

void ChatLogLocalTime::refreshZone()
{
#if defined(Q_OS_UNIX)
    static std::atomic<qint64> lastCheck{std::numeric_limits<qint64>::min()};
    const qint64 now = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now().time_since_epoch())
                           .count();
    const qint64 last = lastCheck.load(std::memory_order_relaxed);
    if (last != std::numeric_limits<qint64>::min() && now - last < 1000)
        return;
    lastCheck.store(now, std::memory_order_relaxed);
    tzset();
    zoneGeneration.fetch_add(1, std::memory_order_relaxed);
#endif
}

std::optional<int> ChatLogLocalTime::sharedOffset(qint64 earliest, qint64 latest)
{
    // Both ends are always asked of the C library: whoever reads the zone
    // again (Qt does, for its own local times) is followed at once.
    const std::optional<int> offset = libcOffset(earliest);
    if (!offset || earliest > latest || libcOffset(latest) != offset)
        return std::nullopt;
    const bool known = m_zoneGeneration == zoneGeneration.load(std::memory_order_relaxed)
                       && m_offset == *offset && earliest >= m_from && earliest < m_to;
    if (!known && !learnStretch(earliest, *offset))
        return std::nullopt;
    // Equal offsets at both ends say nothing about summer time between two
    // winter records: the stretch without changes must hold both.
    if (latest >= m_to)
        return std::nullopt;
    return m_offset;
}

bool ChatLogLocalTime::learnStretch(qint64 at, int offset)
{
    m_from = m_to = 0;
    m_zoneGeneration = zoneGeneration.load(std::memory_order_relaxed);
    // Qt knows where the zone changes; the C library, whose offsets are the
    // ones used, must see the same zone: the same offset at the instant and
    // at both ends of the stretch Qt reports, else nothing is learnt.
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDateTime instant = QDateTime::fromMSecsSinceEpoch(at, Qt::UTC);
    if (!zone.isValid() || zone.offsetFromUtc(instant) != offset)
        return false;
    qint64 from = std::numeric_limits<qint64>::min();
    qint64 to = std::numeric_limits<qint64>::max();
    if (zone.hasTransitions()) {
        // Changes fall on whole seconds; one at the instant itself counts
        // as before it.
        const QDateTime before = zone.previousTransition(instant.addMSecs(1)).atUtc;
        const QDateTime after = zone.nextTransition(instant).atUtc;
        if (before.isValid())
            from = before.toMSecsSinceEpoch();
        if (after.isValid())
            to = after.toMSecsSinceEpoch();
    }
    if (from > at || to <= at)
        return false;
    if ((from != std::numeric_limits<qint64>::min() && libcOffset(from) != offset)
        || (to != std::numeric_limits<qint64>::max() && libcOffset(to - 1) != offset))
        return false;
    m_from = from;
    m_to = to;
    m_offset = offset;
    return true;
}

} // namespace zubrel
