#include "xmppmultichats.h"

#include <QRandomGenerator>
#include <QTimer>
#include <gloox/chatstate.h>
#include <gloox/client.h>
#include <gloox/dataform.h>
#include <gloox/message.h>
#include <gloox/mucinvitationhandler.h>
#include <gloox/mucroom.h>

#include "czubuddy_administrator.h"
#include "request.h"
#include "wrappluginhelper.h"
#include "xmppbackend.h"
#include "xmppconnection.h"
#include "xmppdirectory.h"
#include "xmppidmap.h"
#include "xmppoutbox.h"

namespace zubrel {

namespace {

QString fromStd(const std::string &text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

QVariant argOf(const QList<ProtocolArg> &args, DataType type, DataField field)
{
    for (const ProtocolArg &arg : args) {
        if (arg.type() == type && arg.field() == field)
            return arg.variant();
    }
    return {};
}

QList<QByteArray> picturesOf(const QList<ProtocolArg> &args)
{
    QList<QByteArray> pictures;
    int wanted = 0;
    for (const ProtocolArg &arg : args) {
        if (arg.type() == DataTypes::Count && arg.field() == 637)
            wanted = arg.variant().toInt();
        else if (wanted > int(pictures.size()) && arg.type() == DataTypes::Text && arg.field() == 0)
            pictures.append(arg.variant().toByteArray());
    }
    return pictures;
}

constexpr int subjectWaitMs = 250;
constexpr int recentLimit = 500;
constexpr int maxNickChars = 64;

QSet<uint> numbersOf(const QHash<QString, uint> &occupants)
{
    QSet<uint> numbers;
    for (uint number : occupants)
        numbers.insert(number);
    return numbers;
}

} // namespace

// gloox ties invitation handlers to one client: a relay per connection.
class XmppMultichats::InvitationRelay : public gloox::MUCInvitationHandler
{
public:
    InvitationRelay(gloox::ClientBase *client, XmppMultichats *owner)
        : gloox::MUCInvitationHandler(client), m_owner(owner) {}
    void handleMUCInvitation(const gloox::JID &room, const gloox::JID &from, const std::string &, const std::string &,
                             const std::string &, bool, const std::string &) override
    {
        // An inviter named by the room's occupant JID is a nickname, which
        // anyone may choose: only a real JID says who invites.
        if (from.bare() == room.bare())
            return;
        m_owner->onInvitation(fromStd(room.bare()), fromStd(from.bare()));
    }

private:
    XmppMultichats *m_owner;
};

XmppMultichats::XmppMultichats(XmppConnection *connection, XmppIdMap *ids, XmppDirectory *directory,
                               XmppOutbox *outbox, QObject *parent)
    : QObject(parent), m_connection(connection), m_ids(ids), m_directory(directory), m_outbox(outbox)
{
    connect(connection, &XmppConnection::clientAboutToChange, this, [this] {
        // The rooms' gloox objects belong to the old client; the rooms stay.
        for (const auto &[id, room] : m_rooms)
            room->room.reset();
        m_invitations.reset();
    });
    connect(connection, &XmppConnection::clientCreated, this, &XmppMultichats::onClientCreated);
    connect(connection, &XmppConnection::connected, this, &XmppMultichats::onConnected);
    connect(connection, &XmppConnection::disconnected, this, &XmppMultichats::onDisconnected);
    // A room's messages leave only while we are in it.
    outbox->setGate([this](const XmppOutgoing &message) {
        if (!message.groupChat)
            return true;
        const auto it = m_rooms.find(m_ids->idOf(message.to));
        return it == m_rooms.end() || it->second->joined;
    });
}

XmppMultichats::~XmppMultichats()
{
    // The rooms leave while their client still exists.
    m_rooms.clear();
}

void XmppMultichats::onClientCreated()
{
    m_invitations = std::make_unique<InvitationRelay>(m_connection->client(), this);
    m_connection->client()->registerMUCInvitationHandler(m_invitations.get());
}

void XmppMultichats::onDisconnected()
{
    // Creating or joining cannot finish; the rooms we were in are entered
    // again once the connection is back.
    std::vector<uint> failed;
    for (const auto &[id, room] : m_rooms) {
        if (room->pendingCreate || room->pendingJoin) {
            complete(room->pendingCreate ? room->pendingCreate : room->pendingJoin, false);
            failed.push_back(id);
            continue;
        }
        if (!room->rejoining)
            room->before = numbersOf(room->occupants);
        room->occupants.clear();
        room->joined = false;
        room->rejoining = true;
    }
    for (uint id : failed)
        m_rooms.erase(id);
}

void XmppMultichats::onConnected()
{
    for (const auto &[id, room] : m_rooms) {
        if (room->rejoining)
            join(room.get());
    }
}

void XmppMultichats::join(Room *room)
{
    // Our bare JID as nickname: people who know us recognise it, though
    // nobody takes it as proof.
    const std::string nick = m_connection->bareJid().toStdString();
    room->room = std::make_unique<gloox::MUCRoom>(m_connection->client(), gloox::JID(room->jid.toStdString() + "/" + nick),
                                                  this);
    room->room->setRequestHistory(0, gloox::MUCRoom::HistoryMaxStanzas);
    room->room->registerMUCRoomConfigHandler(this);
    room->room->join();
}

void XmppMultichats::finishRejoin(Room *room, bool roomIsNew)
{
    room->rejoining = false;
    if (roomIsNew) {
        // The room was closed while we were away; entering made a new,
        // empty one of ours, which goes again.
        room->room->cancelRoomCreation();
        deliver(0x8011, {ProtocolArg(DataTypes::Identifier, 0, QString::number(room->id))});
        remove(room->id);
        return;
    }
    room->joined = true;
    const QString roomId = QString::number(room->id);
    const QSet<uint> now = numbersOf(room->occupants);
    for (uint user : room->before - now)
        deliver(0x800F, {ProtocolArg(DataTypes::Identifier, 0, roomId), ProtocolArg(DataTypes::Identifier, 1, QString::number(user))});
    for (uint user : now - room->before)
        deliver(0x800E, {ProtocolArg(DataTypes::Identifier, 0, roomId), ProtocolArg(DataTypes::Identifier, 1, QString::number(user))});
    room->before.clear();
    QMetaObject::invokeMethod(m_outbox, &XmppOutbox::flush, Qt::QueuedConnection);
}

void XmppMultichats::remove(uint id)
{
    // Not from inside the room's own call.
    QTimer::singleShot(0, this, [this, id] { m_rooms.erase(id); });
}

uint XmppMultichats::occupantId(Room *room, const gloox::MUCRoomParticipant &participant)
{
    if (participant.jid) {
        const QString jid = XmppIdMap::bareJid(fromStd(participant.jid->bare()));
        return jid.isEmpty() ? 0 : m_ids->idOf(jid);
    }
    // The room hides who this is: a number for this occupant and session,
    // shown under its nickname, never a contact's.
    const QString nick = participant.nick ? fromStd(participant.nick->resource()) : QString();
    if (nick.isEmpty())
        return 0;
    const QString key = room->jid + QLatin1Char('/') + nick;
    if (const uint known = m_anonymous.value(key))
        return known;
    const uint id = m_nextAnonymous++;
    m_anonymous.insert(key, id);
    BuddyData data;
    data.id = id;
    data.nickname = nick.left(maxNickChars);
    data.userState = 1;
    data.isContact = false;
    CZuBuddy_Administrator::Instance()->updateBuddy(data);
    return id;
}

bool XmppMultichats::isRepeat(Room *room, uint sender, const std::string &stanzaId)
{
    // A message resent after a drop comes again with its id.
    if (stanzaId.empty())
        return false;
    const QString key = QString::number(sender) + QLatin1Char(' ') + fromStd(stanzaId);
    if (room->recent.contains(key))
        return true;
    room->recent.insert(key);
    room->recentOrder.append(key);
    if (room->recentOrder.size() > recentLimit)
        room->recent.remove(room->recentOrder.takeFirst());
    return false;
}

QString XmppMultichats::roomOf(uint multichatId) const
{
    const auto it = m_rooms.find(multichatId);
    return it == m_rooms.end() ? QString() : it->second->jid;
}

XmppMultichats::Room *XmppMultichats::find(gloox::MUCRoom *room)
{
    for (const auto &[id, entry] : m_rooms) {
        if (entry->room.get() == room)
            return entry.get();
    }
    return nullptr;
}

XmppMultichats::Room *XmppMultichats::find(uint id)
{
    const auto it = m_rooms.find(id);
    return it == m_rooms.end() ? nullptr : it->second.get();
}

XmppMultichats::Room *XmppMultichats::enter(const QString &roomJid)
{
    const uint id = m_ids->idOf(roomJid);
    if (!id || !m_connection->client() || !m_connection->isConnected() || m_rooms.count(id))
        return nullptr;
    auto room = std::make_unique<Room>();
    room->id = id;
    room->jid = XmppIdMap::bareJid(roomJid);
    Room *entered = room.get();
    m_rooms.emplace(id, std::move(room));
    join(entered);
    return entered;
}

bool XmppMultichats::transmit(Request *request)
{
    const ProtocolCommand command = request->protocol()->command();
    if (command.a() != 4 || command.b() < 0x0006 || command.b() > 0x000D)
        return false;
    const QList<ProtocolArg> args = request->protocol()->args();
    const uint id = request->id();
    const uint multichat = argOf(args, DataTypes::Identifier, 634).toString().toUInt();
    Room *room = find(multichat);
    switch (command.b()) {
    case 0x0006: { // create
        const QString domain = m_connection->bareJid().section(QLatin1Char('@'), 1);
        const QString name = QStringLiteral("zc%1").arg(QRandomGenerator::system()->generate64(), 16, 16, QLatin1Char('0'));
        Room *created = enter(name + QLatin1String("@conference.") + domain);
        if (!created)
            break;
        created->topic = argOf(args, DataTypes::Text, 632).toString();
        created->pendingCreate = id;
        return true;
    }
    case 0x0007: { // join: the session text is the room
        const QString roomJid = argOf(args, DataTypes::Text, 635).toString();
        if (m_ids->idOf(roomJid) != multichat)
            break;
        Room *joined = enter(roomJid);
        if (!joined)
            break;
        joined->pendingJoin = id;
        return true;
    }
    case 0x0008: // leave
    case 0x0009: // quit: the owner's leaving ends it for everyone
        if (!room)
            break;
        if (room->room && command.b() == 0x0009)
            room->room->destroy();
        else if (room->room)
            room->room->leave();
        m_rooms.erase(multichat);
        complete(id, true);
        return true;
    case 0x000A: { // kick
        const QString who = m_ids->jidOf(argOf(args, DataTypes::Identifier, 1).toString().toUInt());
        const QString nick = room ? room->occupants.key(m_ids->idOf(who)) : QString();
        if (!room || !room->joined || who.isEmpty() || nick.isEmpty())
            break;
        room->room->kick(nick.toStdString());
        complete(id, true);
        return true;
    }
    case 0x000B: { // invite
        const QString who = m_ids->jidOf(argOf(args, DataTypes::Identifier, 9).toString().toUInt());
        if (!room || !room->joined || who.isEmpty())
            break;
        room->room->invite(gloox::JID(who.toStdString()), std::string());
        complete(id, true);
        return true;
    }
    case 0x000C: { // message
        const QVariant text = argOf(args, DataTypes::Text, 10);
        // While the room is entered again after a drop, it waits in the outbox.
        if (!room || (!room->joined && !room->rejoining) || !text.isValid())
            break;
        XmppOutgoing message;
        message.requestId = id;
        message.to = room->jid;
        message.groupChat = true;
        message.stanzaId = QStringLiteral("m%1-%2").arg(room->id).arg(id);
        XmppPayload payload;
        payload.html = QString::fromUtf8(text.toByteArray());
        payload.pictures = picturesOf(args);
        message.body = XmppBackend::plainText(payload.html);
        message.payload = payload;
        m_outbox->post(std::move(message));
        return true;
    }
    case 0x000D: // typing
        if (!room || !room->joined)
            break;
        m_connection->sendChatState(room->jid, true, true);
        complete(id, true);
        return true;
    default:
        return false;
    }
    complete(id, false);
    return true;
}

void XmppMultichats::onInvitation(const QString &room, const QString &from)
{
    const uint inviter = m_ids->idOf(from);
    // Invitations from strangers are not shown.
    if (!inviter || !m_directory->isInRoster(XmppIdMap::bareJid(from)))
        return;
    const uint id = m_ids->idOf(room);
    if (!id)
        return;
    ProtocolCommand command(4, 0x8012);
    command.setApplicationServerId(applicationServer);
    WrapPluginHelper::Instance()->deliverIncoming(
        command, {ProtocolArg(DataTypes::Identifier, 0, QString::number(inviter)),
                  ProtocolArg(DataTypes::Identifier, 1, QString::number(id)), ProtocolArg(DataTypes::Text, 2, room)});
}

void XmppMultichats::handleMUCParticipantPresence(gloox::MUCRoom *mucRoom, const gloox::MUCRoomParticipant participant,
                                                  const gloox::Presence &presence)
{
    Room *room = find(mucRoom);
    if (!room)
        return;
    const QString roomId = QString::number(room->id);
    const bool gone = presence.subtype() == gloox::Presence::Unavailable;
    if (participant.flags & gloox::UserSelf) {
        if (!gone && room->rejoining) {
            finishRejoin(room, participant.flags & gloox::UserNewRoom);
            return;
        }
        if (!gone) {
            if (room->pendingCreate && !room->joined) {
                room->joined = true;
                // A new room stays locked to everyone else until its
                // configuration is accepted: only then may invitees come.
                if (!(participant.flags & gloox::UserNewRoom))
                    finishCreate(room);
            } else if (room->pendingJoin) {
                // Everyone else's presence came first; a topic follows at
                // once if the room has one (an empty one is not reported).
                const uint id = room->id;
                QTimer::singleShot(subjectWaitMs, this, [this, id] {
                    if (Room *joining = find(id); joining && joining->pendingJoin)
                        finishJoin(joining);
                });
            }
            return;
        }
        const ushort what = (participant.flags & (gloox::UserKicked | gloox::UserBanned)) ? 0x8010 : 0x8011;
        deliver(what, {ProtocolArg(DataTypes::Identifier, 0, roomId)});
        remove(room->id);
        return;
    }
    // The service stamps who speaks by nickname; what the nickname says
    // proves nothing, so a participant is known by the number taken when
    // it entered.
    const QString nick = participant.nick ? fromStd(participant.nick->resource()) : QString();
    if (nick.isEmpty())
        return;
    if (gone) {
        const uint user = room->occupants.take(nick);
        const bool stillThere = numbersOf(room->occupants).contains(user);
        if (user && !stillThere && room->joined)
            deliver(0x800F, {ProtocolArg(DataTypes::Identifier, 0, roomId), ProtocolArg(DataTypes::Identifier, 1, QString::number(user))});
        return;
    }
    if (room->occupants.contains(nick))
        return; // a change of status
    const uint user = occupantId(room, participant);
    if (!user || user == m_ids->idOf(m_connection->bareJid()))
        return;
    const bool known = numbersOf(room->occupants).contains(user);
    room->occupants.insert(nick, user);
    if (!known && room->joined && !room->pendingJoin)
        deliver(0x800E, {ProtocolArg(DataTypes::Identifier, 0, roomId), ProtocolArg(DataTypes::Identifier, 1, QString::number(user))});
}

void XmppMultichats::handleMUCSubject(gloox::MUCRoom *mucRoom, const std::string &, const std::string &subject)
{
    Room *room = find(mucRoom);
    if (!room)
        return;
    room->topic = fromStd(subject);
    if (room->pendingJoin)
        finishJoin(room);
}

void XmppMultichats::finishJoin(Room *room)
{
    // The subject comes after everyone's presence: the member list is complete.
    room->joined = true;
    const QSet<uint> members = numbersOf(room->occupants);
    QList<ProtocolArg> args{ProtocolArg(DataTypes::Text, 0, room->topic),
                            ProtocolArg(DataTypes::Count, 1, int(members.size()))};
    for (uint member : members)
        args.append(ProtocolArg(DataTypes::Identifier, 2, QString::number(member)));
    complete(std::exchange(room->pendingJoin, 0), true, args);
}

void XmppMultichats::handleMUCMessage(gloox::MUCRoom *mucRoom, const gloox::Message &message, bool priv)
{
    Room *room = find(mucRoom);
    const QString nick = fromStd(message.from().resource());
    // Own messages come back from the room; history and private messages
    // are not the chat's, nor anything from someone not present.
    if (!room || !room->joined || priv || message.when() || nick.isEmpty() || nick == fromStd(mucRoom->nick()))
        return;
    const uint sender = room->occupants.value(nick);
    if (!sender)
        return;
    const QString roomId = QString::number(room->id);
    const auto *payload = message.findExtension<XmppPayload>(XmppPayload::type);
    const bool hasPayload = payload && payload->valid && (!payload->html.isEmpty() || !payload->pictures.isEmpty());
    if (message.body().empty() && !hasPayload) {
        const auto *state = message.findExtension<gloox::ChatState>(gloox::ExtChatState);
        if (state && state->state() == gloox::ChatStateComposing)
            deliver(0x8014, {ProtocolArg(DataTypes::Identifier, 0, roomId), ProtocolArg(DataTypes::Identifier, 1, QString::number(sender))});
        return;
    }
    if (isRepeat(room, sender, message.id()))
        return;
    const QString html = hasPayload ? payload->html : XmppBackend::htmlOf(fromStd(message.body()));
    QList<ProtocolArg> args{ProtocolArg(DataTypes::Identifier, 0, roomId), ProtocolArg(DataTypes::Identifier, 1, QString()),
                            ProtocolArg(DataTypes::Identifier, 2, QString::number(sender)),
                            ProtocolArg(DataTypes::Text, 3, html.toUtf8())};
    if (hasPayload && !payload->pictures.isEmpty()) {
        args.append(ProtocolArg(DataTypes::Count, 4, int(payload->pictures.size())));
        for (const QByteArray &picture : payload->pictures)
            args.append(ProtocolArg(DataTypes::Text, 5, picture));
    }
    deliver(0x8013, args);
}

void XmppMultichats::handleMUCConfigResult(gloox::MUCRoom *mucRoom, bool success, gloox::MUCOperation operation)
{
    Room *room = find(mucRoom);
    if (!room || !room->pendingCreate || (operation != gloox::CreateInstantRoom && operation != gloox::SendRoomConfig))
        return;
    if (success) {
        finishCreate(room);
        return;
    }
    if (operation == gloox::SendRoomConfig) {
        // A service that will not show real JIDs: its defaults, then.
        mucRoom->acknowledgeInstantRoom();
        return;
    }
    complete(std::exchange(room->pendingCreate, 0), false);
    remove(room->id);
}

void XmppMultichats::finishCreate(Room *room)
{
    if (!room->topic.isEmpty())
        room->room->setSubject(room->topic.toStdString());
    complete(std::exchange(room->pendingCreate, 0), true,
             {ProtocolArg(DataTypes::Identifier, 0, int(room->id)), ProtocolArg(DataTypes::Text, 1, room->jid)});
}

bool XmppMultichats::handleMUCRoomCreation(gloox::MUCRoom *mucRoom)
{
    Room *room = find(mucRoom);
    if (!room || !room->pendingCreate)
        return false; // entering again made it: it goes (finishRejoin)
    // Everyone may see who is who, so participants map to their contacts
    // instead of to nicknames; the room outlives a restart of the service
    // (its owner's quitting destroys it), so a drop does not end the chat.
    auto *form = new gloox::DataForm(gloox::TypeSubmit);
    form->addField(gloox::DataFormField::TypeHidden, "FORM_TYPE", "http://jabber.org/protocol/muc#roomconfig");
    form->addField(gloox::DataFormField::TypeListSingle, "muc#roomconfig_whois", "anyone");
    form->addField(gloox::DataFormField::TypeBoolean, "muc#roomconfig_persistentroom", "1");
    mucRoom->setRoomConfig(form);
    return false;
}

void XmppMultichats::handleMUCError(gloox::MUCRoom *mucRoom, gloox::StanzaError)
{
    Room *room = find(mucRoom);
    if (!room || (!room->pendingCreate && !room->pendingJoin && !room->rejoining))
        return;
    if (room->rejoining) {
        // Turned away on entering again (banned, the room gone private): closed.
        deliver(0x8011, {ProtocolArg(DataTypes::Identifier, 0, QString::number(room->id))});
        remove(room->id);
        return;
    }
    complete(room->pendingCreate ? room->pendingCreate : room->pendingJoin, false);
    remove(room->id);
}

void XmppMultichats::deliver(ushort b, const QList<ProtocolArg> &args)
{
    WrapPluginHelper::Instance()->deliverIncoming(ProtocolCommand(4, b), args);
}

void XmppMultichats::complete(uint requestId, bool success, const QList<ProtocolArg> &args)
{
    QTimer::singleShot(0, this, [requestId, success, args] {
        WrapPluginHelper::Instance()->completeRequest(requestId, success, args, applicationServer);
    });
}

} // namespace zubrel
