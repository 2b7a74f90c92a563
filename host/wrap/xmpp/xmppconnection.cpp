#include "xmppconnection.h"

#include "xmppblocking.h"

#include <QHostAddress>
#include <csignal>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <gloox/attention.h>
#include <gloox/chatstate.h>
#include <gloox/client.h>
#include <gloox/connectiontcpbase.h>
#include <gloox/delayeddelivery.h>
#include <gloox/error.h>
#include <gloox/iq.h>
#include <gloox/message.h>
#include <gloox/presence.h>
#include <gloox/rostermanager.h>
#include <gloox/tag.h>

namespace zubrel {

namespace {

constexpr int pollIntervalMs = 50;
constexpr int firstReconnectDelayMs = 250;
constexpr int maxReconnectDelayMs = 8000;
// A server on this machine is back the moment it listens, and asking it
// costs nothing: a longer pause would only add to the time offline.
constexpr int maxLoopbackReconnectDelayMs = 1000;

QString fromStd(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// XEP-0082 stamps, "2026-12-08T01:02:03Z" or with fractions or an offset.
QDateTime parseStamp(const std::string &stamp)
{
    QDateTime time = QDateTime::fromString(fromStd(stamp), Qt::ISODateWithMs);
    if (!time.isValid())
        time = QDateTime::fromString(fromStd(stamp), Qt::ISODate);
    return time.isValid() ? time.toUTC() : QDateTime();
}

// gloox takes a roster push from anyone; only the own account may send
// one (no sender, or the own bare JID). A push from someone else would put
// them in the roster: their messages would reach the module and their
// subscription be accepted without asking.
class GuardedClient : public gloox::Client
{
public:
    using gloox::Client::Client;
    void handleTag(gloox::Tag *tag) override
    {
        if (tag && tag->name() == "iq" && tag->hasChild("query", "xmlns", "jabber:iq:roster")) {
            const gloox::JID from(tag->findAttribute("from"));
            if (from && from.bare() != jid().bare())
                return;
        }
        gloox::Client::handleTag(tag);
    }
};

} // namespace

int zrStatusOf(int glooxPresence)
{
    switch (glooxPresence) {
    case gloox::Presence::Available:
    case gloox::Presence::Chat:
        return 1;
    case gloox::Presence::Away:
    case gloox::Presence::XA:
        return 2;
    case gloox::Presence::DND:
        return 4;
    default:
        return 0;
    }
}

XmppConnection::XmppConnection(const Settings &settings, QObject *parent)
    : QObject(parent), m_settings(settings)
{
    qRegisterMetaType<zubrel::XmppIncoming>();
    // gloox writes with plain send(): a server that closed the connection
    // under us would otherwise end the whole process with SIGPIPE instead
    // of the write failing and the connection being reported lost.
    std::signal(SIGPIPE, SIG_IGN);
    m_poll.setInterval(pollIntervalMs);
    connect(&m_poll, &QTimer::timeout, this, &XmppConnection::read);
    m_reconnectTimer.setSingleShot(true);
    connect(&m_reconnectTimer, &QTimer::timeout, this, &XmppConnection::open);
}

XmppConnection::~XmppConnection()
{
    close();
}

QString XmppConnection::bareJid() const
{
    return fromStd(gloox::JID(m_settings.jid.toStdString()).bare());
}

bool XmppConnection::isLoopback() const
{
    const QString host = m_settings.host.isEmpty() ? fromStd(gloox::JID(m_settings.jid.toStdString()).server())
                                                   : m_settings.host;
    return host == QLatin1String("localhost") || QHostAddress(host).isLoopback();
}

void XmppConnection::open()
{
    m_wanted = true;
    if (m_connected || m_closing)
        return;
    m_reconnectTimer.stop();
    dropNotifier();
    if (m_client)
        emit clientAboutToChange();
    gloox::JID jid(m_settings.jid.toStdString());
    if (jid.resource().empty())
        jid.setResource(m_settings.resource.toStdString());
    m_client = std::make_unique<GuardedClient>(jid, m_settings.password.toStdString());
    if (!m_settings.host.isEmpty())
        m_client->setServer(m_settings.host.toStdString());
    if (m_settings.port > 0)
        m_client->setPort(m_settings.port);
    // Anywhere but loopback the server must prove who it is.
    m_client->setTls(isLoopback() ? gloox::TLSOptional : gloox::TLSRequired);
    m_client->setCACerts({"/etc/ssl/certs/ca-certificates.crt"});
    m_client->registerConnectionListener(this);
    m_client->registerMessageHandler(this);
    m_client->rosterManager()->registerRosterListener(this, false);
    m_client->registerStanzaExtension(new XmppPayload);
    m_client->registerStanzaExtension(new gloox::ChatState(nullptr));
    m_client->registerStanzaExtension(new gloox::DelayedDelivery(nullptr));
    m_client->registerStanzaExtension(new gloox::Attention);
    m_client->registerStanzaExtension(new XmppBlocking);
    m_client->registerIqHandler(this, XmppBlocking::type);
    emit clientCreated();
    if (!m_client->connect(false)) {
        scheduleReconnect();
        return;
    }
    watchSocket();
}

void XmppConnection::watchSocket()
{
    auto *tcp = dynamic_cast<gloox::ConnectionTCPBase *>(m_client ? m_client->connectionImpl() : nullptr);
    if (tcp && tcp->socket() >= 0) {
        // Chat stanzas are small and each one matters now: no Nagle delay
        // behind the confirmation ping.
        const int on = 1;
        ::setsockopt(tcp->socket(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        m_notifier = std::make_unique<QSocketNotifier>(tcp->socket(), QSocketNotifier::Read);
        connect(m_notifier.get(), &QSocketNotifier::activated, this, &XmppConnection::read);
    }
    m_poll.start();
}

void XmppConnection::dropNotifier()
{
    // Called from inside the notifier's own signal too: it goes later, but
    // stops watching now, before its descriptor number is reused.
    if (QSocketNotifier *notifier = m_notifier.release()) {
        notifier->setEnabled(false);
        notifier->deleteLater();
    }
}

void XmppConnection::read()
{
    if (!m_client || m_reading)
        return;
    m_reading = true;
    // Everything that is there, without waiting for more.
    const gloox::ConnectionError error = m_client->recv(0);
    m_reading = false;
    if (error != gloox::ConnNoError && m_notifier)
        m_notifier->setEnabled(false);
}

void XmppConnection::close()
{
    m_closing = true;
    m_wanted = false;
    m_reconnectTimer.stop();
    m_poll.stop();
    dropNotifier();
    if (m_client)
        m_client->disconnect();
    m_connected = false;
    m_closing = false;
    m_wanted = false;
}

void XmppConnection::scheduleReconnect()
{
    m_poll.stop();
    dropNotifier();
    // A failed attempt reports itself twice (connect() fails and gloox
    // calls onDisconnect()): the pause grows once per attempt, not twice.
    if (!m_reconnect || m_closing || !m_wanted || m_connected || m_reconnectTimer.isActive())
        return;
    m_reconnectTimer.start(m_reconnectDelayMs);
    m_reconnectDelayMs = qMin(m_reconnectDelayMs * 2, isLoopback() ? maxLoopbackReconnectDelayMs : maxReconnectDelayMs);
}

void XmppConnection::onConnect()
{
    m_connected = true;
    m_reconnectDelayMs = firstReconnectDelayMs;
    emit connected();
    queryBlockList();
}

void XmppConnection::onDisconnect(gloox::ConnectionError error)
{
    const bool was = m_connected;
    m_connected = false;
    // gloox has closed the socket: its number may come back for another.
    dropNotifier();
    QString reason;
    if (error == gloox::ConnAuthenticationFailed)
        reason = QStringLiteral("the server refused the user name or password");
    else if (error == gloox::ConnTlsFailed || error == gloox::ConnTlsNotAvailable)
        reason = QStringLiteral("no trusted encrypted connection to the server");
    else if (error == gloox::ConnUserDisconnected)
        reason = QStringLiteral("signed out");
    else
        reason = QStringLiteral("the connection to the server was lost (%1)").arg(int(error));
    if (was || error == gloox::ConnAuthenticationFailed || error == gloox::ConnTlsFailed)
        emit disconnected(reason);
    // Wrong credentials or an untrusted server do not get better by retrying.
    if (error == gloox::ConnAuthenticationFailed || error == gloox::ConnTlsFailed
        || error == gloox::ConnTlsNotAvailable || error == gloox::ConnUserDisconnected)
        return;
    // Not from inside gloox's own call.
    QMetaObject::invokeMethod(this, &XmppConnection::scheduleReconnect, Qt::QueuedConnection);
}

bool XmppConnection::onTLSConnect(const gloox::CertInfo &info)
{
    return info.status == gloox::CertOk;
}

void XmppConnection::handleMessage(const gloox::Message &message, gloox::MessageSession *)
{
    if (message.subtype() == gloox::Message::Error) {
        emit messageBounced(fromStd(message.id()));
        return;
    }
    XmppIncoming incoming;
    incoming.from = fromStd(message.from().full());
    incoming.id = fromStd(message.id());
    incoming.body = fromStd(message.body());
    incoming.groupChat = message.subtype() == gloox::Message::Groupchat;
    incoming.subject = fromStd(message.subject());
    if (const auto *payload = message.findExtension<XmppPayload>(XmppPayload::type); payload && payload->valid) {
        incoming.hasPayload = true;
        incoming.html = payload->html;
        incoming.pictures = payload->pictures;
        incoming.noLogState = payload->noLogState;
        incoming.randomAction = payload->randomAction;
        incoming.randomChat = payload->randomChat;
        incoming.randomAlias = payload->randomAlias;
    }
    if (const gloox::DelayedDelivery *delay = message.when())
        incoming.sentAt = parseStamp(delay->stamp());
    if (const auto *state = message.findExtension<gloox::ChatState>(gloox::ExtChatState))
        incoming.composing = state->state() == gloox::ChatStateComposing;
    incoming.attention = message.findExtension(gloox::ExtAttention) != nullptr;
    emit messageReceived(incoming);
}

void XmppConnection::handleEvent(const gloox::Event &event)
{
    if (event.eventType() == gloox::Event::PingPong || event.eventType() == gloox::Event::PingError)
        emit confirmed();
}

void XmppConnection::handleRoster(const gloox::Roster &roster)
{
    QList<XmppContact> contacts;
    for (const auto &entry : roster) {
        XmppContact contact;
        contact.jid = fromStd(entry.second->jidJID().bare());
        contact.name = fromStd(entry.second->name());
        for (const std::string &group : entry.second->groups())
            contact.groups.append(fromStd(group));
        contacts.append(contact);
    }
    emit rosterReceived(contacts);
}

void XmppConnection::rosterChanged()
{
    // Later: gloox reports a removal while the entry is still in its roster.
    QTimer::singleShot(0, this, [this] {
        if (m_client && m_client->rosterManager() && m_client->rosterManager()->roster())
            handleRoster(*m_client->rosterManager()->roster());
    });
}

void XmppConnection::handleRosterPresence(const gloox::RosterItem &item, const std::string &,
                                          gloox::Presence::PresenceType presence, const std::string &)
{
    // The best of the contact's resources decides.
    int best = zrStatusOf(presence);
    for (const auto &resource : item.resources()) {
        const int status = zrStatusOf(resource.second->presence());
        if (best == 0 || (status != 0 && status < best))
            best = status;
    }
    emit presenceChanged(fromStd(item.jidJID().bare()), best);
}

bool XmppConnection::handleSubscriptionRequest(const gloox::JID &jid, const std::string &)
{
    // Only people already in the roster see presence without asking the user.
    return m_client && m_client->rosterManager()->getRosterItem(jid.bareJID()) != nullptr;
}

void XmppConnection::sendMessage(const QString &to, const QString &id, const QString &body,
                                 const XmppPayload *payload, bool noStore, bool groupChat)
{
    if (!m_client || !m_connected)
        return;
    gloox::Message message(groupChat ? gloox::Message::Groupchat : gloox::Message::Chat, gloox::JID(to.toStdString()), body.toStdString());
    message.setID(id.toStdString());
    if (payload)
        message.addExtension(payload->clone());
    message.addExtension(new gloox::ChatState(gloox::ChatStateActive));
    if (!noStore) {
        m_client->send(message);
        return;
    }
    // Private sessions: the hints that ask servers not to archive.
    gloox::Tag *tag = message.tag();
    new gloox::Tag(tag, "no-store", "xmlns", "urn:xmpp:hints");
    new gloox::Tag(tag, "no-permanent-store", "xmlns", "urn:xmpp:hints");
    m_client->send(tag);
}

void XmppConnection::sendChatState(const QString &to, bool composing, bool groupChat)
{
    if (!m_client || !m_connected)
        return;
    gloox::Message message(groupChat ? gloox::Message::Groupchat : gloox::Message::Chat, gloox::JID(to.toStdString()));
    message.addExtension(new gloox::ChatState(composing ? gloox::ChatStateComposing : gloox::ChatStatePaused));
    m_client->send(message);
}

void XmppConnection::sendPresenceTo(const QString &jid)
{
    if (!m_client || !m_connected)
        return;
    m_client->send(gloox::Presence(gloox::Presence::Available, gloox::JID(jid.toStdString())));
}

void XmppConnection::handleNonrosterPresence(const gloox::Presence &presence)
{
    if (presence.subtype() == gloox::Presence::Unavailable && presence.from())
        emit presenceGone(fromStd(presence.from().full()));
}

void XmppConnection::sendAttention(const QString &to)
{
    if (!m_client || !m_connected)
        return;
    gloox::Message message(gloox::Message::Headline, gloox::JID(to.toStdString()));
    message.addExtension(new gloox::Attention);
    m_client->send(message);
}

void XmppConnection::confirm()
{
    if (m_client && m_connected)
        m_client->xmppPing(gloox::JID(m_client->jid().server()), this);
}

} // namespace zubrel

namespace zubrel {

void XmppConnection::queryBlockList()
{
    if (!m_client || !m_connected)
        return;
    gloox::IQ iq(gloox::IQ::Get, gloox::JID(), m_client->getID());
    iq.addExtension(new XmppBlocking(XmppBlocking::List, {}));
    m_client->send(iq, this, 0);
}

void XmppConnection::setBlocked(const QString &bareJid, bool blocked, uint requestId)
{
    if (!m_client || !m_connected) {
        emit blockRequestDone(requestId, false);
        return;
    }
    gloox::IQ iq(gloox::IQ::Set, gloox::JID(), m_client->getID());
    iq.addExtension(new XmppBlocking(blocked ? XmppBlocking::Block : XmppBlocking::Unblock, {bareJid}));
    m_client->send(iq, this, int(requestId));
}

void XmppConnection::requestSubscription(const QString &bareJid)
{
    if (m_client && m_connected)
        m_client->rosterManager()->subscribe(gloox::JID(bareJid.toStdString()));
}

bool XmppConnection::handleIq(const gloox::IQ &iq)
{
    // Pushes of the block list come from the own account only.
    const auto *blocking = iq.findExtension<XmppBlocking>(XmppBlocking::type);
    if (!blocking || iq.subtype() != gloox::IQ::Set || (iq.from() && iq.from().bare() != m_client->jid().bare()))
        return false;
    m_client->send(gloox::IQ(gloox::IQ::Result, iq.from(), iq.id()));
    queryBlockList();
    return true;
}

void XmppConnection::handleIqID(const gloox::IQ &iq, int context)
{
    if (context != 0) {
        emit blockRequestDone(uint(context), iq.subtype() == gloox::IQ::Result);
        return;
    }
    const auto *blocking = iq.findExtension<XmppBlocking>(XmppBlocking::type);
    if (iq.subtype() == gloox::IQ::Result && blocking && blocking->kind == XmppBlocking::List)
        emit blockList(blocking->jids);
}

} // namespace zubrel
