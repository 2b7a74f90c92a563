#pragma once
// Random chats through the project's matchmaker (zubrel-matchmaker), an
// XMPP client that pairs the users who ask and relays their messages, so
// neither side learns the other's JID. Between a user and the matchmaker
// everything is a message with our payload's <random> element: "search"
// (the login, with the alias), "waiting" (the answer, with the random chat
// number), "matched", "message", "typing", "quit". The stranger is known to
// the module by the number of "stranger<chat>@<matchmaker's domain>".

#include <QHash>
#include <QObject>
#include <QPointer>

#include "protocol.h"
#include "xmppevent.h"

class Request;

namespace zubrel {

class XmppConnection;
class XmppIdMap;
class XmppOutbox;

class XmppRandomChats : public QObject
{
    Q_OBJECT
public:
    static constexpr ushort applicationServer = 2;

    XmppRandomChats(XmppConnection *connection, XmppIdMap *ids, XmppOutbox *outbox, QObject *parent = nullptr);

    void setMatchmaker(const QString &bareJid) { m_matchmaker = bareJid; }
    QString matchmaker() const { return m_matchmaker; }
    // Handles the random chat commands; false for any other.
    bool transmit(Request *request);
    // Handles what the matchmaker sends; false for any other message.
    bool receive(const XmppIncoming &message);

private:
    void post(uint requestId, const QString &action, const QString &chat, const QString &alias = {},
              const QString &html = {}, const QList<QByteArray> &pictures = {});
    void deliver(ushort b, const QList<ProtocolArg> &args);

    QPointer<XmppConnection> m_connection;
    XmppIdMap *m_ids = nullptr;
    XmppOutbox *m_outbox = nullptr;
    QString m_matchmaker;
    QList<uint> m_logins; // login requests waiting for their chat number, oldest first
    quint64 m_sent = 0;
};

} // namespace zubrel
