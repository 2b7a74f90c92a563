#pragma once
// What a chat tab's message view holds: the compact list of entries it
// draws, the styled and plain conversation stores (template HTML exactly as
// written to other parts of the program), and the grouping state that
// decides between a full entry and a continuation.

#include "messagetemplates.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <vector>

namespace zubrel {

// One chat-log record as the view shows it.
struct LogLine
{
    QString html;
    QString alias;
    QString id;
    QDateTime time;
};

struct MessageEntry
{
    MessageTemplates::Kind kind = MessageTemplates::System;
    bool continuation = false;
    QString alias;       // plain text, shown in the header band
    QString time;        // the header's time text
    QString absTime;     // the long form the template's %abstime gets
    QString body;        // the %msg HTML in its styled form
    QString text;        // the body as plain text, filled when first laid out
    bool textKnown = false;
    unsigned generation = 0; // layout generation its height was measured in
};

class MessageViewModel
{
public:
    // Grouping rules per kind of message; each returns the styled entry HTML.
    QString appendOwn(const QString &html, const QString &alias, const QString &id, const QDateTime &now,
                      bool groupWithoutTimeLimit);
    QString appendIncoming(const QString &html, const QString &alias, const QString &id, const QDateTime &sendTime,
                           bool offline, bool mobile);
    QString appendMultiChat(const QString &html, const QString &alias, const QString &id, bool mobile,
                            const QDateTime &now);
    QString appendLog(const QString &html, const QString &alias, const QString &id, const QDateTime &time);
    QString appendNotice(MessageTemplates::Kind kind, const QString &text, const QDateTime &now);

    // Older chat-log records (oldest first) placed before every entry, in
    // the view and both stores; returns how many.
    int prependLog(const QList<LogLine> &lines);

    void clear();

    int count() const { return int(m_entries.size()); }
    const MessageEntry &entry(int index) const { return m_entries[index]; }
    MessageEntry &entry(int index) { return m_entries[index]; }

    // The stores are written again from the entries when asked for: keeping
    // each entry's filled template twice cost two kilobytes an entry, most
    // of a long conversation's memory, for text hardly anyone reads.
    QString styledStore() const { return store(false); }
    QString plainStore() const { return store(true); }
    QString lastSender() const { return m_lastSender; }

private:
    static MessageEntry build(MessageTemplates::Kind kind, bool continuation, const QString &alias, const QString &time,
                       const QString &abstime, const QString &msg);
    QString add(MessageTemplates::Kind kind, bool continuation, const QString &alias, const QString &time,
                const QString &abstime, const QString &msg);
    // An entry's template filled with its styled or its plain body.
    static QString entryHtml(const MessageEntry &entry, bool plain);
    QString store(bool plain) const;

    std::vector<MessageEntry> m_entries;
    QString m_lastSender;
    QString m_lastLogSender;
    // Deadlines in wall-clock seconds (see wallSeconds in the .cpp); 0 = none.
    qint64 m_incomingDeadline = 0;
    qint64 m_ownDeadline = 0;
};

} // namespace zubrel
