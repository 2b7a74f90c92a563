#include "xmppmatchmaker.h"

#include "xmppbackend.h"
#include "xmppconnection.h"
#include "xmppidmap.h"

namespace zubrel {

XmppMatchmaker::XmppMatchmaker(XmppConnection *connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    connect(connection, &XmppConnection::messageReceived, this, &XmppMatchmaker::onMessage);
    connect(connection, &XmppConnection::presenceGone, this, &XmppMatchmaker::onGone);
}

void XmppMatchmaker::onMessage(const XmppIncoming &message)
{
    const QString jid = XmppIdMap::bareJid(message.from);
    if (jid.isEmpty() || message.groupChat || message.randomAction.isEmpty())
        return;
    if (message.randomAction == QLatin1String("search")) {
        search(message.from, message.randomAlias);
        return;
    }
    bool ok = false;
    const uint chat = message.randomChat.toUInt(&ok);
    const auto seat = m_seats.constFind(chat);
    // Only the owner of a number speaks through it.
    if (!ok || seat == m_seats.cend() || seat->jid != jid)
        return;
    if (message.randomAction == QLatin1String("quit")) {
        leave(chat);
    } else if (seat->partner && (message.randomAction == QLatin1String("message") || message.randomAction == QLatin1String("typing"))) {
        tell(seat->partner, message.randomAction, {}, &message);
    }
}

void XmppMatchmaker::search(const QString &from, const QString &alias)
{
    if (m_seats.size() >= maxSeats)
        return;
    const QString jid = XmppIdMap::bareJid(from);
    const uint chat = m_next++;
    m_seats.insert(chat, {jid, from, alias.isEmpty() ? tr("Stranger") : alias, 0});
    tell(chat, QStringLiteral("waiting"));
    // The longest waiting someone else is the match.
    for (qsizetype i = 0; i < m_waiting.size(); ++i) {
        const uint other = m_waiting.at(i);
        if (m_seats.value(other).jid == jid)
            continue;
        m_waiting.removeAt(i);
        m_seats[chat].partner = other;
        m_seats[other].partner = chat;
        tell(chat, QStringLiteral("matched"), m_seats.value(other).alias);
        tell(other, QStringLiteral("matched"), m_seats.value(chat).alias);
        return;
    }
    m_waiting.append(chat);
}

void XmppMatchmaker::onGone(const QString &fullJid)
{
    // Signed out or dropped without quitting: as if the client had quit.
    QList<uint> gone;
    for (auto it = m_seats.cbegin(); it != m_seats.cend(); ++it) {
        if (it->from == fullJid)
            gone.append(it.key());
    }
    for (uint chat : gone)
        leave(chat);
}

void XmppMatchmaker::leave(uint chat)
{
    const Seat seat = m_seats.take(chat);
    m_waiting.removeAll(chat);
    if (seat.partner && m_seats.contains(seat.partner)) {
        tell(seat.partner, QStringLiteral("quit"));
        m_seats.remove(seat.partner);
    }
}

void XmppMatchmaker::tell(uint chat, const QString &action, const QString &alias, const XmppIncoming *relayed)
{
    const auto seat = m_seats.constFind(chat);
    if (!m_connection || seat == m_seats.cend())
        return;
    XmppPayload payload;
    payload.randomAction = action;
    payload.randomChat = QString::number(chat);
    payload.randomAlias = alias;
    QString body;
    if (relayed && action == QLatin1String("message")) {
        payload.html = relayed->html;
        payload.pictures = relayed->pictures;
        body = XmppBackend::plainText(relayed->html);
    }
    m_connection->sendMessage(seat->jid, QStringLiteral("mm%1").arg(++m_sent), body, &payload, true);
}

} // namespace zubrel
