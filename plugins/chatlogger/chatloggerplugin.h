#pragma once
// The chat-log plug-in's root object: keeps each logged-in user's history in
// that user's profile folder.

#include <QObject>
#include <QTimer>

#include "chatlogstore.h"
#include "zloggerinterfaces.h"

namespace zubrel {

class ChatLoggerPlugin final : public QObject, public ZLoggerInterface, public ZChatLoggerInterface,
                               public ZChatLogPagingInterface, public ZChatLogSearchInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZChatLoggerInterface_iid)
    Q_INTERFACES(ZLoggerInterface ZChatLoggerInterface ZChatLogPagingInterface ZChatLogSearchInterface)

public:
    explicit ChatLoggerPlugin(QObject *parent = nullptr);
    ~ChatLoggerPlugin() override;

    void setUserId(QString user) override;
    QList<MessageStruct> lastMessages(int count, QString chatId) override;
    QList<MessageStruct> lastMessages(int count, QUuid uuid) override;
    void appendMessage(MessageStruct message) override;
    QList<LogRecord> recordsBefore(qint64 beforeId, int count, QString chatId) override;
    QList<LogRecord> recordsBefore(qint64 beforeId, int count, QUuid uuid) override;
    QList<LogRecord> searchRecords(QString text, int limit, QString chatId) override;
    QList<LogRecord> searchRecords(QString text, int limit, QUuid uuid) override;

    // Beyond the plug-in interfaces: what the user should be told about the
    // history (damage found and set aside, an unusable path), once; the
    // chat module asks after each call.
    Q_INVOKABLE QString takeNotice();

private:
    void writeWaiting();

    ChatLogStore m_store;
    // Records of a busy chat are written together, one transaction per
    // burst instead of one per message.
    QTimer m_flush;
    // Asks for the verdict of a background damage check until it is in, so
    // records held back meanwhile are written soon after.
    QTimer m_checkPoll;
};

} // namespace zubrel
