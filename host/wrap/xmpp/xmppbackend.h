#pragma once
// The messaging library's real network: every command the module sends is
// carried over XMPP where XMPP has a counterpart, and what arrives from the
// server becomes the module's incoming commands.
//
//   user information (1, 2)         the own JID's number
//   message (4, 0x0001)             <message type='chat'>: plain body for any
//                                   client, HTML and pictures in our payload
//   typing (4, 0x0003)              chat state "composing"
//   shake (4, 0x0015)               attention
//   incoming message (4, 0xF0A1)    from a chat message; stored offline ones
//                                   carry their send time (delayed delivery)
//   incoming typing (4, 0x8003)     from chat state "composing"
//   incoming shake (4, 0x8015)      from attention
//   private session (4, 0x0004/5)   our payload's <nolog>; while one is on,
//                                   messages ask servers not to store them
//   block / unblock (1, 0x0021/20)  the server's block list (XEP-0191),
//                                   reported as the block list (1, 0xF102)
//   authorisation (1, 0xF180)       a presence subscription request
//   multi chats (4, 0x0006-0x000D)  rooms of the multi-user chat service,
//                                   see XmppMultichats
//   random chats (4, 0x0030-0x0034) through the matchmaker, see XmppRandomChats
// Contacts' pictures come from their vCards (XmppAvatars).
// A request XMPP has no counterpart for fails, and notAvailable() says so.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <memory>

#include "protocol.h"
#include "wrapbackend.h"
#include "xmppconnection.h"
#include "xmppevent.h"

class Request;

namespace zubrel {

class XmppAvatars;
class XmppDirectory;
class XmppIdMap;
class XmppMultichats;
class XmppRandomChats;
class XmppOutbox;

class XmppBackend : public QObject, public WrapBackend
{
    Q_OBJECT
public:
    // idFile: where the JID numbers are kept (in the profile).
    XmppBackend(const XmppConnection::Settings &settings, const QString &idFile, QObject *parent = nullptr);
    ~XmppBackend() override;

    // Installs itself as the helper's backend and connects.
    void start();
    // Restores the simulated network and signs out.
    void stop();

    void transmit(Request *request, int module) override;

    XmppConnection *connection() const { return m_connection.get(); }
    XmppIdMap *ids() const { return m_ids.get(); }
    XmppOutbox *outbox() const { return m_outbox.get(); }
    uint selfId() const;
    XmppRandomChats *randomChats() const { return m_randomChats.get(); }

    // An incoming plain body is cut here (the server lets a megabyte through).
    static constexpr qsizetype maxIncomingBodyChars = 64 * 1024;

    // Plain text of the module's HTML, for clients that read only the body.
    static QString plainText(const QString &html);
    // A body without our payload, as the module's HTML.
    static QString htmlOf(const QString &body);

signals:
    // A request the network cannot carry: what it was, for the user.
    void notAvailable(const QString &what);
    void statusChanged(const QString &text);
    // Someone was added to the roster, renamed or removed during the session.
    void contactsChanged();

private:
    void onMessage(const XmppIncoming &message);
    void deliverChat(uint sender, const XmppIncoming &message);
    bool sendChatMessage(Request *request);
    bool sendNoLog(Request *request, const QString &partner, int state);
    void onBlockList(const QStringList &jids);
    bool isDuplicate(const QString &from, const QString &id);
    void complete(uint requestId, bool success, const QList<ProtocolArg> &args = {});
    void completeLater(uint requestId, bool success, const QList<ProtocolArg> &args = {});

    std::unique_ptr<XmppConnection> m_connection;
    std::unique_ptr<XmppIdMap> m_ids;
    std::unique_ptr<XmppDirectory> m_directory;
    std::unique_ptr<XmppOutbox> m_outbox;
    std::unique_ptr<XmppMultichats> m_multichats;
    std::unique_ptr<XmppRandomChats> m_randomChats;
    std::unique_ptr<XmppAvatars> m_avatars;
    QList<QString> m_recentOrder; // the newest (sender, id) pairs seen, for dropping repeats
    QSet<QString> m_recent;
    QSet<QString> m_privateSessions; // partners with a private session on
    bool m_started = false;
};

} // namespace zubrel
