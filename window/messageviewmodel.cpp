#include "messageviewmodel.h"

namespace zubrel {

namespace {
// Messages of one sender closer together than this share one header.
constexpr int groupSeconds = 900;

bool before(const QDateTime &time, const QDateTime &deadline)
{
    return time.isValid() && deadline.isValid() && time < deadline;
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
        m_ownDeadline = now.addSecs(groupSeconds);
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
    m_incomingDeadline = sendTime.addSecs(groupSeconds);
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
    m_styled.squeeze();
    m_plain.clear();
    m_plain.squeeze();
    m_lastSender.clear();
    m_lastLogSender.clear();
    m_incomingDeadline = {};
    m_ownDeadline = {};
}

QString MessageViewModel::add(MessageTemplates::Kind kind, bool continuation, const QString &alias,
                              const QString &time, const QString &abstime, const QString &msg)
{
    const QString tmpl = continuation ? MessageTemplates::continuation(kind) : MessageTemplates::header(kind);
    // The alias is a contact's chosen name, not markup.
    const QString escapedAlias = alias.toHtmlEscaped();
    const QString styled = MessageTemplates::fill(tmpl, escapedAlias, time, abstime, msg);
    const QString plain = MessageTemplates::fill(tmpl, escapedAlias, time, abstime, MessageTemplates::stripStyles(msg));
    m_styled += styled.toUtf8();
    m_plain += plain.toUtf8();

    MessageEntry entry;
    entry.kind = kind;
    entry.continuation = continuation;
    entry.alias = alias;
    entry.time = time;
    entry.body = msg;
    m_entries.push_back(std::move(entry));
    return styled;
}

} // namespace zubrel
