#pragma once
// The two interfaces a chat-log plug-in's root object implements. Their
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

#define ZLoggerInterface_iid "com.zubrelnetworks.Zubrel.ZLoggerInterface/1.1"
#define ZChatLoggerInterface_iid "com.zubrelnetworks.Zubrel.ZChatLoggerInterface/1.1"

Q_DECLARE_INTERFACE(ZLoggerInterface, ZLoggerInterface_iid)
Q_DECLARE_INTERFACE(ZChatLoggerInterface, ZChatLoggerInterface_iid)
