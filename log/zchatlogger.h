#pragma once
// The chat log of one conversation: a one-to-one chat (kind 1) or a random
// chat (kind 2) logs under the conversation's id, a multi chat (kind 0)
// under a fresh uuid per logger and the sender of each message.

#include <QList>
#include <QUuid>

#include "zloggerinterfaces.h"
#include "zabstractlogger.h"

namespace zubrel {

class ZChatLogger : public ZAbstractLogger
{
    Q_OBJECT
    // Read by tools that find a multi chat's log from outside the module.
    Q_PROPERTY(QUuid uuid READ uuid CONSTANT)
public:
    enum ChatKind { MultiChat = 0, OneToOneChat = 1, RandomChat = 2 };
    static constexpr int defaultHistoryCount = 20;

    // Null when the chat-log plug-in is not installed.
    static ZChatLogger *create(QString id, QObject *parent, int chatKind);
    // Tells the plug-in the logged-in user; false when there is no plug-in.
    static bool initUser(QString user);

    // Whether the plug-in reads the log in pages (recordsBefore); older
    // plug-ins only hand out the newest records.
    bool canPage() const;
    // Whether the plug-in searches the whole log (searchRecords).
    bool canSearch() const;

    QUuid uuid() const { return m_uuid; }
    int chatKind() const { return m_chatKind; }
    QString chatId() const { return m_chatId; }

public slots:
    QList<MessageStruct> lastMessages(int count);
    QList<MessageStruct> lastMessages();
    // Up to `count` records before record `beforeId` (0: the newest), oldest
    // first; empty when the plug-in cannot page.
    QList<LogRecord> recordsBefore(qint64 beforeId, int count);
    // Up to `limit` records holding every word of `text`, newest first;
    // empty when the plug-in cannot search.
    QList<LogRecord> searchRecords(const QString &text, int limit);
    void appendMessage(MessageStruct message);
    void appendMessage(QString message, Zr::ChatDirection direction, QString contact);
    void appendMessage(QString message, Zr::ChatDirection direction);
    void appendMessage(QString message);

signals:
    // The history had a problem the user must hear about (damage found and
    // set aside, a path that cannot be written); emitted once per problem.
    void notice(const QString &text);

private:
    void passOnNotice();
    explicit ZChatLogger(QObject *parent = nullptr);
    MessageStruct buildRecord(const QString &contact, const QString &message, const QDateTime &time,
                              Zr::ChatDirection direction) const;

    QUuid m_uuid;
    int m_chatKind = OneToOneChat;
    QString m_chatId;
};

} // namespace zubrel
