#pragma once
// One chat-log record, handed by value between the module and the chat-log
// plug-in. The field order is part of the plug-in contract.

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QUuid>

#include "zr.h"

struct MessageStruct
{
    QString contact;   // user id the record belongs to, decimal text
    QDateTime time;    // when the message was sent or received
    QString message;   // the message as HTML, exactly as shown
    QUuid uuid;        // multi chat logger that wrote it; null otherwise
    QString alias;     // display name of contact
    int chatKind = 1;  // 0 multi chat, 1 one-to-one chat, 2 random chat
    Zr::ChatDirection direction = Zr::Sent;

    bool operator==(const MessageStruct &other) const = default;
};

Q_DECLARE_METATYPE(MessageStruct)
