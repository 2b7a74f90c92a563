#include "messageviewmodel.h"

#include "messagehtmlguard.h"

#include <iterator>

namespace zubrel {

namespace {
// Messages of one sender closer together than this share one header.
constexpr int groupSeconds = 900;

// Seconds on the wall clock. Comparing local times through the epoch makes
// Qt consult the time-zone database for every message, which costs more than
// laying the message out; a daylight-saving switch inside a run of messages
// only moves one grouping boundary by an hour.
qint64 wallSeconds(const QDateTime &time)
{
    if (!time.isValid())
        return 0;
    return time.date().toJulianDay() * 86400 + time.time().msecsSinceStartOfDay() / 1000;
}

bool before(const QDateTime &time, qint64 deadline)
{
    return deadline != 0 && time.isValid() && wallSeconds(time) < deadline;
}

qint64 deadlineAfter(const QDateTime &time)
{
    return time.isValid() ? wallSeconds(time) + groupSeconds : 0;
}
} // namespace

QString MessageViewModel::appendOwn(const QString &html, const QString &alias, const QString &id,
                                    const QDateTime &now, bool groupWithoutTimeLimit)
{
    // An empty last sender never groups: otherwise the very first message of
    // a tab without an own id would come out without a header.
    const bool sameSender = !m_lastSender.isEmpty() && m_lastSender == id;
    const bool continuation = sameSender && (groupWithoutTimeLimit || before(now, m_ownDeadline));
    const QString out = add(MessageTemplates::Own, continuation, alias, MessageTemplates::shortTime(now),
                            MessageTemplates::longTime(now), html);
    m_lastSender = id;
    // Push messages group without a time limit and leave the deadline alone.
    if (!groupWithoutTimeLimit)
        m_ownDeadline = deadlineAfter(now);
    return out;
}

QString MessageViewModel::appendIncoming(const QString &html, const QString &alias, const QString &id,
                                         const QDateTime &sendTime, bool offline, bool mobile)
{
    const bool continuation = !m_lastSender.isEmpty() && m_lastSender == id && before(sendTime, m_incomingDeadline);
    const QString longForm = MessageTemplates::longTime(sendTime);
    const QString out = add(mobile ? MessageTemplates::Mobile : MessageTemplates::Incoming, continuation, alias,
                            offline ? longForm : MessageTemplates::shortTime(sendTime), longForm, html);
    m_lastSender = id;
    m_incomingDeadline = deadlineAfter(sendTime);
    return out;
}

QString MessageViewModel::appendMultiChat(const QString &html, const QString &alias, const QString &id, bool mobile,
                                          const QDateTime &now)
{
    const bool continuation = !m_lastSender.isEmpty() && m_lastSender == id;
    const QString out = add(mobile ? MessageTemplates::Mobile : MessageTemplates::Incoming, continuation, alias,
                            MessageTemplates::shortTime(now), MessageTemplates::longTime(now), html);
    m_lastSender = id;
    return out;
}

QString MessageViewModel::appendLog(const QString &html, const QString &alias, const QString &id,
                                    const QDateTime &time)
{
    const bool continuation = !m_lastLogSender.isEmpty() && m_lastLogSender == id;
    const QString longForm = MessageTemplates::longTime(time);
    const QString out = add(MessageTemplates::Log, continuation, alias, longForm, longForm, html);
    m_lastLogSender = id;
    return out;
}

QString MessageViewModel::appendNotice(MessageTemplates::Kind kind, const QString &text, const QDateTime &now)
{
    if (!MessageTemplates::isNotice(kind))
        kind = MessageTemplates::System;
    return add(kind, false, QString(), MessageTemplates::shortTime(now), MessageTemplates::longTime(now), text);
}

void MessageViewModel::clear()
{
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_lastSender.clear();
    m_lastLogSender.clear();
    m_incomingDeadline = 0;
    m_ownDeadline = 0;
}

QString MessageViewModel::entryHtml(const MessageEntry &entry, bool plain)
{
    const QString tmpl
        = entry.continuation ? MessageTemplates::continuation(entry.kind) : MessageTemplates::header(entry.kind);
    return MessageTemplates::fill(tmpl, entry.alias.toHtmlEscaped(), entry.time, entry.absTime,
                                  plain ? MessageTemplates::stripStyles(entry.body) : entry.body);
}

QString MessageViewModel::store(bool plain) const
{
    QString all;
    for (const MessageEntry &entry : m_entries)
        all += entryHtml(entry, plain);
    return all;
}

QString MessageViewModel::add(MessageTemplates::Kind kind, bool continuation, const QString &alias,
                              const QString &time, const QString &abstime, const QString &message)
{
    m_entries.push_back(build(kind, continuation, alias, time, abstime, message));
    return entryHtml(m_entries.back(), false);
}

MessageEntry MessageViewModel::build(MessageTemplates::Kind kind, bool continuation, const QString &alias,
                                    const QString &time, const QString &abstime, const QString &message)
{
    MessageEntry entry;
    entry.kind = kind;
    entry.continuation = continuation;
    entry.alias = alias;
    entry.time = time;
    entry.absTime = abstime;
    // Whatever a contact sent (or the log kept) is shown at bounded cost.
    entry.body = MessageHtmlGuard::bounded(message);
    return entry;
}

int MessageViewModel::prependLog(const QList<LogLine> &lines)
{
    // Grouped among themselves like records on open; the entry that was
    // first keeps its header, which marks where the older page ends.
    std::vector<MessageEntry> entries;
    entries.reserve(lines.size());
    QString previous;
    for (const LogLine &line : lines) {
        const bool continuation = !previous.isEmpty() && previous == line.id;
        const QString longForm = MessageTemplates::longTime(line.time);
        entries.push_back(build(MessageTemplates::Log, continuation, line.alias, longForm, longForm, line.html));
        previous = line.id;
    }
    m_entries.insert(m_entries.begin(), std::make_move_iterator(entries.begin()),
                     std::make_move_iterator(entries.end()));
    // Only the open records' sender continues grouping at the bottom.
    if (m_lastLogSender.isEmpty() && !lines.isEmpty() && m_entries.size() == size_t(lines.size()))
        m_lastLogSender = lines.last().id;
    return int(lines.size());
}

} // namespace zubrel
