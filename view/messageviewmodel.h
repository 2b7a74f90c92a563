#pragma once
// What a chat tab's message view holds: the compact list of entries it
// draws, the styled and plain conversation stores (template HTML exactly as
// written to other parts of the program), and the grouping state that
// decides between a full entry and a continuation.

#include "messagetemplates.h"

#include <QByteArray>
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

    QString styledStore() const { return join(m_styled); }
    QString plainStore() const { return join(m_plain); }
    QString lastSender() const { return m_lastSender; }

private:
    struct Built
    {
        MessageEntry entry;
        QString html;
        QByteArray styled;
        QByteArray plain;
        bool plainSame = false;
    };
    static Built build(MessageTemplates::Kind kind, bool continuation, const QString &alias, const QString &time,
                       const QString &abstime, const QString &msg);
    QString add(MessageTemplates::Kind kind, bool continuation, const QString &alias, const QString &time,
                const QString &abstime, const QString &msg);

    static QString join(const std::vector<QByteArray> &parts);

    std::vector<MessageEntry> m_entries;
    // One UTF-8 piece per entry: half the memory of UTF-16, no reallocation
    // of one huge string per append, and a plain piece equal to its styled
    // one shares its bytes.
    std::vector<QByteArray> m_styled;
    std::vector<QByteArray> m_plain;
    QString m_lastSender;
    QString m_lastLogSender;
    // Deadlines in wall-clock seconds (see wallSeconds in the .cpp); 0 = none.
    qint64 m_incomingDeadline = 0;
    qint64 m_ownDeadline = 0;
};

} // namespace zubrel
