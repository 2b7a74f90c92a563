#include "xmppdirectory.h"

#include <QSet>

#include "czubuddy_administrator.h"
#include "xmppconnection.h"
#include "xmppidmap.h"

namespace zubrel {

namespace {

QString userPart(const QString &bareJid)
{
    const QString node = bareJid.section(QLatin1Char('@'), 0, 0);
    return node.isEmpty() ? bareJid : node;
}

} // namespace

XmppDirectory::XmppDirectory(XmppConnection *connection, XmppIdMap *ids, QObject *parent)
    : QObject(parent), m_connection(connection), m_ids(ids)
{
    m_selfId = m_ids->idOf(connection->bareJid());
    BuddyData self;
    self.id = m_selfId;
    self.nickname = userPart(connection->bareJid());
    self.userState = 1;
    self.profile.insert(QStringLiteral("jid"), connection->bareJid());
    CZuBuddy_Administrator::Instance()->setCurrentUser(self);
    connect(connection, &XmppConnection::rosterReceived, this, &XmppDirectory::onRoster);
    connect(connection, &XmppConnection::presenceChanged, this, &XmppDirectory::onPresence);
    connect(connection, &XmppConnection::disconnected, this, &XmppDirectory::onDisconnected);
}

void XmppDirectory::onRoster(const QList<XmppContact> &contacts)
{
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    const bool first = !directory->isReady();
    QHash<QString, QList<uint>> groups;
    QStringList groupOrder;
    // Someone taken out of the roster is nobody's contact any more: their
    // messages no longer reach the module.
    QSet<QString> gone(m_roster.keyBegin(), m_roster.keyEnd());
    for (const XmppContact &contact : contacts)
        gone.remove(contact.jid);
    for (const QString &jid : std::as_const(gone)) {
        if (const BuddyData *known = directory->data(m_roster.take(jid))) {
            BuddyData data = *known;
            data.isContact = false;
            data.userState = 0;
            directory->updateBuddy(data);
        }
    }
    for (const XmppContact &contact : contacts) {
        const uint id = m_ids->idOf(contact.jid);
        if (!id || id == m_selfId)
            continue;
        m_roster.insert(contact.jid, id);
        BuddyData data;
        if (const BuddyData *known = directory->data(id))
            data = *known;
        else
            data.userState = 0;
        data.id = id;
        data.isContact = true;
        data.nickname = contact.name.isEmpty() ? userPart(contact.jid) : contact.name;
        data.profile.insert(QStringLiteral("jid"), contact.jid);
        if (first)
            directory->setBuddy(data);
        else
            directory->updateBuddy(data);
        const QStringList names = contact.groups.isEmpty() ? QStringList{tr("Contacts")} : contact.groups;
        for (const QString &name : names) {
            if (!groups.contains(name))
                groupOrder.append(name);
            groups[name].append(id);
        }
    }
    QList<QPair<QString, QList<uint>>> ordered;
    for (const QString &name : std::as_const(groupOrder))
        ordered.append({name, groups.value(name)});
    directory->setGroups(ordered);
    if (first)
        directory->setReady();
    else
        emit changed();
    for (const XmppContact &contact : contacts)
        emit contactAppeared(contact.jid);
}

void XmppDirectory::onPresence(const QString &bareJid, int status)
{
    const uint id = m_roster.value(bareJid);
    const BuddyData *known = CZuBuddy_Administrator::Instance()->data(id);
    if (!id || !known || known->userState == status)
        return;
    const bool cameOnline = known->userState == 0;
    BuddyData changed = *known;
    changed.userState = status;
    CZuBuddy_Administrator::Instance()->updateBuddy(changed);
    if (cameOnline)
        emit contactAppeared(bareJid);
}

void XmppDirectory::onDisconnected()
{
    // Without a connection nobody's presence is known.
    for (auto it = m_roster.cbegin(); it != m_roster.cend(); ++it)
        onPresence(it.key(), 0);
}

} // namespace zubrel
