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
// toUtf8() reserves room for three bytes per character; give it back, since
// the pieces are kept for the life of the tab.
QByteArray compact(const QString &html)
{
    QByteArray bytes = html.toUtf8();
    bytes.squeeze();
    return bytes;
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
    m_styled.clear();
    m_styled.shrink_to_fit();
    m_plain.clear();
    m_plain.shrink_to_fit();
    m_lastSender.clear();
    m_lastLogSender.clear();
    m_incomingDeadline = 0;
    m_ownDeadline = 0;
}

QString MessageViewModel::join(const std::vector<QByteArray> &parts)
{
    qsizetype size = 0;
    for (const QByteArray &part : parts)
        size += part.size();
    QByteArray all;
    all.reserve(size);
    for (const QByteArray &part : parts)
        all += part;
    return QString::fromUtf8(all);
}

QString MessageViewModel::add(MessageTemplates::Kind kind, bool continuation, const QString &alias,
                              const QString &time, const QString &abstime, const QString &message)
{
    Built built = build(kind, continuation, alias, time, abstime, message);
    m_styled.push_back(std::move(built.styled));
    m_plain.push_back(built.plainSame ? m_styled.back() : std::move(built.plain));
    m_entries.push_back(std::move(built.entry));
    return built.html;
}

MessageViewModel::Built MessageViewModel::build(MessageTemplates::Kind kind, bool continuation, const QString &alias,
                                                const QString &time, const QString &abstime,
                                                const QString &message)
{
    Built built;
    // Whatever a contact sent (or the log kept) is shown at bounded cost.
    const QString msg = MessageHtmlGuard::bounded(message);
    const QString tmpl = continuation ? MessageTemplates::continuation(kind) : MessageTemplates::header(kind);
    // The alias is a contact's chosen name, not markup.
    const QString escapedAlias = alias.toHtmlEscaped();
    built.html = MessageTemplates::fill(tmpl, escapedAlias, time, abstime, msg);
    built.styled = compact(built.html);
    const QString stripped = MessageTemplates::stripStyles(msg);
    built.plainSame = stripped == msg;
    if (!built.plainSame)
        built.plain = compact(MessageTemplates::fill(tmpl, escapedAlias, time, abstime, stripped));

    built.entry.kind = kind;
    built.entry.continuation = continuation;
    built.entry.alias = alias;
    built.entry.time = time;
    built.entry.body = msg;
    return built;
}

int MessageViewModel::prependLog(const QList<LogLine> &lines)
{
    // Grouped among themselves like records on open; the entry that was
    // first keeps its header, which marks where the older page ends.
    std::vector<MessageEntry> entries;
    std::vector<QByteArray> styled;
    std::vector<QByteArray> plain;
    entries.reserve(lines.size());
    styled.reserve(lines.size());
    plain.reserve(lines.size());
    QString previous;
    for (const LogLine &line : lines) {
        const bool continuation = !previous.isEmpty() && previous == line.id;
        const QString longForm = MessageTemplates::longTime(line.time);
        Built built = build(MessageTemplates::Log, continuation, line.alias, longForm, longForm, line.html);
        styled.push_back(std::move(built.styled));
        plain.push_back(built.plainSame ? styled.back() : std::move(built.plain));
        entries.push_back(std::move(built.entry));
        previous = line.id;
    }
    m_entries.insert(m_entries.begin(), std::make_move_iterator(entries.begin()),
                     std::make_move_iterator(entries.end()));
    m_styled.insert(m_styled.begin(), std::make_move_iterator(styled.begin()), std::make_move_iterator(styled.end()));
    m_plain.insert(m_plain.begin(), std::make_move_iterator(plain.begin()), std::make_move_iterator(plain.end()));
    // Only the open records' sender continues grouping at the bottom.
    if (m_lastLogSender.isEmpty() && !lines.isEmpty() && m_entries.size() == size_t(lines.size()))
        m_lastLogSender = lines.last().id;
    return int(lines.size());
}

} // namespace zubrel
