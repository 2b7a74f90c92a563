#include "replayuntilstep.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>

#include "tracewriter.h"

namespace zubrel {

namespace {

constexpr int defaultLimitMs = 60000;
constexpr int longestLimitMs = 600000;

} // namespace

ReplayUntilStep::ReplayUntilStep(TraceWriter *writer, QObject *parent)
    : QObject(parent)
{
    connect(writer, &TraceWriter::written, this, [this](const QJsonObject &event) {
        m_events.append({event.value(QLatin1String("ev")).toString(), event.value(QLatin1String("cmd"))});
    });
}

int ReplayUntilStep::matching(const QString &event, const QJsonValue &command) const
{
    int count = 0;
    for (const auto &[name, cmd] : m_events) {
        if (name == event && (command.isUndefined() || cmd == command))
            ++count;
    }
    return count;
}

bool ReplayUntilStep::run(const QJsonObject &step, QString *error)
{
    const QString event = step.value(QLatin1String("ev")).toString();
    const QJsonValue command = step.value(QLatin1String("cmd"));
    const QJsonValue countValue = step.value(QLatin1String("count"));
    const QJsonValue limitValue = step.value(QLatin1String("ms"));
    const int count = countValue.isUndefined() ? 1 : countValue.toInt(-1);
    const int limitMs = limitValue.isUndefined() ? defaultLimitMs : limitValue.toInt(-1);
    if (event.isEmpty() || (!command.isUndefined() && !command.isArray()) || count < 1 || limitMs < 0
        || limitMs > longestLimitMs) {
        *error = QStringLiteral("\"until\" needs \"ev\", and \"cmd\" [a, b], \"count\" from 1 and \"ms\" up to %1 "
                                "where given").arg(longestLimitMs);
        return false;
    }
    const QDeadlineTimer deadline(limitMs);
    QEventLoop loop;
    QTimer slice;
    slice.setInterval(20);
    connect(&slice, &QTimer::timeout, &loop, &QEventLoop::quit);
    slice.start();
    while (matching(event, command) < count) {
        if (deadline.hasExpired()) {
            *error = QStringLiteral("waited %1 ms for %2 \"%3\" event(s), %4 came")
                         .arg(limitMs)
                         .arg(count)
                         .arg(event)
                         .arg(matching(event, command));
            return false;
        }
        loop.exec();
    }
    return true;
}

} // namespace zubrel
