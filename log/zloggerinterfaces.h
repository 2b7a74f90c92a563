#pragma once
// The interfaces a chat-log plug-in's root object implements. Their
// identifiers and the order of the operations are the plug-in contract.

#include <QList>
#include <QString>
#include <QUuid>
#include <QtPlugin>

#include "messagestruct.h"

class ZLoggerInterface
{
public:
    virtual ~ZLoggerInterface() = default;
    virtual void setUserId(QString user) = 0;
};

class ZChatLoggerInterface
{
public:
    virtual ~ZChatLoggerInterface() = default;
    virtual QList<MessageStruct> lastMessages(int count, QString chatId) = 0;
    virtual QList<MessageStruct> lastMessages(int count, QUuid uuid) = 0;
    virtual void appendMessage(MessageStruct message) = 0;
};

// Paged reading, added later: a plug-in without it still loads and the chat
// shows only the records it opens with. A record's id grows with every
// record written; 0 marks one not in the database yet (kept in memory).
struct LogRecord
{
    qint64 id = 0;
    MessageStruct message;
};

class ZChatLogPagingInterface
{
public:
    virtual ~ZChatLogPagingInterface() = default;
    // Up to `count` records of the conversation written before record
    // `beforeId` (before none: the newest), oldest first.
    virtual QList<LogRecord> recordsBefore(qint64 beforeId, int count, QString chatId) = 0;
    virtual QList<LogRecord> recordsBefore(qint64 beforeId, int count, QUuid uuid) = 0;
};

// Whole-history search, added later still: without it the chat searches only
// what its view shows.
class ZChatLogSearchInterface
{
public:
    virtual ~ZChatLogSearchInterface() = default;
    // Up to `limit` records of the conversation whose text (without markup)
    // holds every word of `text`, newest first. `text` is plain words: no
    // character in it is query syntax.
    virtual QList<LogRecord> searchRecords(QString text, int limit, QString chatId) = 0;
    virtual QList<LogRecord> searchRecords(QString text, int limit, QUuid uuid) = 0;
};

#define ZLoggerInterface_iid "com.zubrelnetworks.Zubrel.ZLoggerInterface/1.1"
#define ZChatLoggerInterface_iid "com.zubrelnetworks.Zubrel.ZChatLoggerInterface/1.1"

Q_DECLARE_INTERFACE(ZLoggerInterface, ZLoggerInterface_iid)
#define ZChatLogPagingInterface_iid "com.zubrelnetworks.Zubrel.ZChatLogPagingInterface/1.0"

Q_DECLARE_INTERFACE(ZChatLoggerInterface, ZChatLoggerInterface_iid)
Q_DECLARE_INTERFACE(ZChatLogPagingInterface, ZChatLogPagingInterface_iid)
#define ZChatLogSearchInterface_iid "com.zubrelnetworks.Zubrel.ZChatLogSearchInterface/1.0"
Q_DECLARE_INTERFACE(ZChatLogSearchInterface, ZChatLogSearchInterface_iid)
