#include "replayuntilstep.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QTimer>

#include "chatstatereader.h"
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

QString ReplayUntilStep::shownIn(const QString &chat)
{
    const QJsonArray chats = ChatStateReader::state().value(QLatin1String("chats")).toArray();
    for (const QJsonValue &window : chats) {
        if (window[QLatin1String("key")].toString() == chat)
            return window[QLatin1String("tabs")][0][QLatin1String("view")].toString();
    }
    return {};
}

bool ReplayUntilStep::run(const QJsonObject &step, QString *error)
{
    const QString event = step.value(QLatin1String("ev")).toString();
    const QJsonValue command = step.value(QLatin1String("cmd"));
    const QString chat = step.value(QLatin1String("chat")).toString();
    const QString shows = step.value(QLatin1String("shows")).toString();
    const QJsonValue countValue = step.value(QLatin1String("count"));
    const QJsonValue limitValue = step.value(QLatin1String("ms"));
    const int count = countValue.isUndefined() ? 1 : countValue.toInt(-1);
    const int limitMs = limitValue.isUndefined() ? defaultLimitMs : limitValue.toInt(-1);
    // Either an event or a text in a chat, never both: one bound for one wait.
    const bool forText = !chat.isEmpty() && !shows.isEmpty();
    if (event.isEmpty() == !forText || (!command.isUndefined() && !command.isArray()) || count < 1 || limitMs < 0
        || limitMs > longestLimitMs) {
        *error = QStringLiteral("\"until\" needs \"ev\" (with \"cmd\" [a, b] and \"count\" from 1 where given) or "
                                "\"chat\" and \"shows\", and \"ms\" up to %1 where given")
                     .arg(longestLimitMs);
        return false;
    }
    auto done = [&] { return forText ? shownIn(chat).contains(shows) : matching(event, command) >= count; };
    const QDeadlineTimer deadline(limitMs);
    QEventLoop loop;
    QTimer slice;
    slice.setInterval(20);
    connect(&slice, &QTimer::timeout, &loop, &QEventLoop::quit);
    slice.start();
    while (!done()) {
        if (deadline.hasExpired()) {
            // One arg() call: a "%2" in the script's texts stays as it is.
            *error = forText ? QStringLiteral("waited %1 ms for chat %2 to show \"%3\"")
                                   .arg(QString::number(limitMs), chat, shows)
                             : QStringLiteral("waited %1 ms for %2 \"%3\" event(s), %4 came")
                                   .arg(QString::number(limitMs), QString::number(count), event,
                                        QString::number(matching(event, command)));
            return false;
        }
        loop.exec();
    }
    return true;
}

} // namespace zubrel
