#pragma once
// What the connection reports of an incoming message, in Qt types: the
// backend never sees a gloox object.

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

#include "xmpppayload.h"

namespace zubrel {

struct XmppIncoming
{
    QString from; // as sent, with resource
    QString id;
    QString body;
    QString html;               // from our payload, empty when absent
    QList<QByteArray> pictures; // from our payload
    int noLogState = -1;
    QString randomAction; // random chats: see XmppPayload
    QString randomChat;
    QString randomAlias;
    bool hasPayload = false;
    QDateTime sentAt;       // valid only for delayed (stored offline) messages
    bool composing = false; // a typing notice
    bool attention = false;
    bool groupChat = false;
    QString subject; // group chats: a changed topic
};

struct XmppContact
{
    QString jid; // bare
    QString name;
    QStringList groups;
};

// Presence in the host's numbers (Zr::ContactStatus): unavailable 0,
// available and "chat" 1, "away" and "xa" 2, "dnd" 4.
int zrStatusOf(int glooxPresence);

} // namespace zubrel

Q_DECLARE_METATYPE(zubrel::XmppIncoming)
