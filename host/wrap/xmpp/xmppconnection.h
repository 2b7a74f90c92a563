#pragma once
// One account's connection through gloox, driven from the Qt event loop: a
// socket notifier reads whenever the server sends, so nothing ever blocks
// waiting on the network on the GUI thread. Reports what arrives as Qt
// signals, reconnects after a drop, and verifies TLS certificates against
// the system's authorities (plain only on loopback, for the private server).

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>
#include <memory>
#include <gloox/connectionlistener.h>
#include <gloox/eventhandler.h>
#include <gloox/iqhandler.h>
#include <gloox/messagehandler.h>
#include <gloox/rosterlistener.h>

#include "xmppevent.h"

namespace gloox {
class Client;
}

namespace zubrel {

class XmppConnection : public QObject,
                       public gloox::ConnectionListener,
                       public gloox::MessageHandler,
                       public gloox::RosterListener,
                       public gloox::EventHandler,
                       public gloox::IqHandler
{
    Q_OBJECT
public:
    struct Settings
    {
        QString jid;
        QString password;
        QString host; // empty: from the JID's domain
        int port = -1;
        QString resource = QStringLiteral("zubrel");
    };

    explicit XmppConnection(const Settings &settings, QObject *parent = nullptr);
    ~XmppConnection() override;

    void open();
    void close();
    bool isConnected() const { return m_connected; }
    QString bareJid() const;
    // Reconnects after a drop, with a growing pause; on by default.
    void setReconnect(bool on) { m_reconnect = on; }

    // Messages carry our payload when html or pictures are given.
    void sendMessage(const QString &to, const QString &id, const QString &body, const XmppPayload *payload,
                     bool noStore = false, bool groupChat = false);
    void sendChatState(const QString &to, bool composing, bool groupChat = false);
    void sendAttention(const QString &to);
    // A ping to the own server; confirmed() follows once it has seen
    // everything sent before it (the server answers in order).
    void confirm();
    // The server's block list; blockRequestDone() reports the request's
    // outcome, blockList() every new list (also the first after connecting).
    void setBlocked(const QString &bareJid, bool blocked, uint requestId);
    // A presence subscription request (the other side authorises).
    void requestSubscription(const QString &bareJid);
    // Our presence to one entity outside the roster: its server then tells
    // it when this client signs out or drops (presenceGone() over there).
    void sendPresenceTo(const QString &jid);
    gloox::Client *client() const { return m_client.get(); }

signals:
    // Before the gloox client of the last connection goes: rooms and
    // handlers tied to it must go first.
    void clientAboutToChange();
    void clientCreated();
    void connected();
    void disconnected(const QString &reason);
    void messageReceived(const zubrel::XmppIncoming &message);
    // An error bounce for the stanza with this id.
    void messageBounced(const QString &id);
    void confirmed();
    void rosterReceived(const QList<zubrel::XmppContact> &contacts);
    void presenceChanged(const QString &bareJid, int zrStatus);
    void blockList(const QStringList &bareJids);
    void blockRequestDone(uint requestId, bool success);
    // Someone outside the roster to whom we are no one went unavailable
    // (full JID, as the server stamped it).
    void presenceGone(const QString &fullJid);

private:
    // gloox callbacks, all on this thread inside recv().
    void onConnect() override;
    void onDisconnect(gloox::ConnectionError error) override;
    bool onTLSConnect(const gloox::CertInfo &info) override;
    void handleMessage(const gloox::Message &message, gloox::MessageSession *session) override;
    void handleEvent(const gloox::Event &event) override;
    // Every change to the roster during the session (someone added,
    // renamed, regrouped, removed) reports the whole roster again.
    void handleItemAdded(const gloox::JID &) override { rosterChanged(); }
    void handleItemSubscribed(const gloox::JID &) override { rosterChanged(); }
    void handleItemRemoved(const gloox::JID &) override { rosterChanged(); }
    void handleItemUpdated(const gloox::JID &) override { rosterChanged(); }
    void handleItemUnsubscribed(const gloox::JID &) override { rosterChanged(); }
    void handleRoster(const gloox::Roster &roster) override;
    void rosterChanged();
    void handleRosterPresence(const gloox::RosterItem &item, const std::string &resource,
                              gloox::Presence::PresenceType presence, const std::string &msg) override;
    void handleSelfPresence(const gloox::RosterItem &, const std::string &, gloox::Presence::PresenceType,
                            const std::string &) override {}
    bool handleSubscriptionRequest(const gloox::JID &jid, const std::string &msg) override;
    bool handleUnsubscriptionRequest(const gloox::JID &, const std::string &) override { return false; }
    void handleNonrosterPresence(const gloox::Presence &presence) override;
    void handleRosterError(const gloox::IQ &) override {}
    bool handleIq(const gloox::IQ &iq) override;
    void handleIqID(const gloox::IQ &iq, int context) override;
    void queryBlockList();

    void read();
    void watchSocket();
    void dropNotifier();
    void scheduleReconnect();
    bool isLoopback() const;

    Settings m_settings;
    std::unique_ptr<gloox::Client> m_client;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_poll;      // also reads what TLS buffered without a new packet
    QTimer m_reconnectTimer;
    int m_reconnectDelayMs = 250;
    bool m_connected = false;
    bool m_reconnect = true;
    bool m_closing = false;
    bool m_wanted = false; // open() was called and close() not since
    bool m_reading = false;
};

} // namespace zubrel
