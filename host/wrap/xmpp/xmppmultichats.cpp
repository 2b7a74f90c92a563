#include "xmppmultichats.h"

#include <QRandomGenerator>
#include <QTimer>
#include <gloox/chatstate.h>
#include <gloox/client.h>
#include <gloox/message.h>
#include <gloox/mucinvitationhandler.h>
#include <gloox/mucroom.h>

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
        // Rooms that hide real JIDs name the inviter by occupant: the
        // nickname is the inviter's bare JID.
        const bool occupant = from.bare() == room.bare();
        m_owner->onInvitation(fromStd(room.bare()), fromStd(occupant ? from.resource() : from.bare()));
    }

private:
    XmppMultichats *m_owner;
};

XmppMultichats::XmppMultichats(XmppConnection *connection, XmppIdMap *ids, XmppDirectory *directory,
                               XmppOutbox *outbox, QObject *parent)
    : QObject(parent), m_connection(connection), m_ids(ids), m_directory(directory), m_outbox(outbox)
{
    connect(connection, &XmppConnection::clientAboutToChange, this, [this] {
        endAll();
        m_invitations.reset();
    });
    connect(connection, &XmppConnection::clientCreated, this, &XmppMultichats::onConnected);
    connect(connection, &XmppConnection::disconnected, this, &XmppMultichats::endAll);
}

XmppMultichats::~XmppMultichats()
{
    // The rooms leave while their client still exists.
    m_rooms.clear();
}

void XmppMultichats::onConnected()
{
    m_invitations = std::make_unique<InvitationRelay>(m_connection->client(), this);
    m_connection->client()->registerMUCInvitationHandler(m_invitations.get());
}

void XmppMultichats::endAll()
{
    const auto rooms = std::exchange(m_rooms, {});
    for (const auto &[id, room] : rooms) {
        if (room->pendingCreate || room->pendingJoin)
            complete(room->pendingCreate ? room->pendingCreate : room->pendingJoin, false);
        else
            deliver(0x8011, {ProtocolArg(DataTypes::Identifier, 0, QString::number(id))});
    }
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
    // The bare JID as nickname: occupants map back to their numbers.
    const std::string nick = m_connection->bareJid().toStdString();
    room->room = std::make_unique<gloox::MUCRoom>(m_connection->client(), gloox::JID(room->jid.toStdString() + "/" + nick),
                                                  this);
    room->room->setRequestHistory(0, gloox::MUCRoom::HistoryMaxStanzas);
    room->room->registerMUCRoomConfigHandler(this);
    Room *entered = room.get();
    m_rooms.emplace(id, std::move(room));
    entered->room->join();
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
        if (command.b() == 0x0009)
            room->room->destroy();
        else
            room->room->leave();
        m_rooms.erase(multichat);
        complete(id, true);
        return true;
    case 0x000A: { // kick
        const QString who = m_ids->jidOf(argOf(args, DataTypes::Identifier, 1).toString().toUInt());
        if (!room || who.isEmpty())
            break;
        room->room->kick(who.toStdString());
        complete(id, true);
        return true;
    }
    case 0x000B: { // invite
        const QString who = m_ids->jidOf(argOf(args, DataTypes::Identifier, 9).toString().toUInt());
        if (!room || who.isEmpty())
            break;
        room->room->invite(gloox::JID(who.toStdString()), std::string());
        complete(id, true);
        return true;
    }
    case 0x000C: { // message
        const QVariant text = argOf(args, DataTypes::Text, 10);
        if (!room || !room->joined || !text.isValid())
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

QString XmppMultichats::occupantJid(const gloox::MUCRoomParticipant &participant) const
{
    if (participant.jid)
        return XmppIdMap::bareJid(fromStd(participant.jid->bare()));
    return participant.nick ? XmppIdMap::bareJid(fromStd(participant.nick->resource())) : QString();
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
        // Not from inside the room's own call.
        const uint id = room->id;
        QTimer::singleShot(0, this, [this, id] { m_rooms.erase(id); });
        return;
    }
    const QString jid = occupantJid(participant);
    const uint user = m_ids->idOf(jid);
    if (!user || jid == m_connection->bareJid())
        return;
    if (gone) {
        if (room->members.remove(jid) && room->joined)
            deliver(0x800F, {ProtocolArg(DataTypes::Identifier, 0, roomId), ProtocolArg(DataTypes::Identifier, 1, QString::number(user))});
        return;
    }
    const bool known = room->members.contains(jid);
    room->members.insert(jid);
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
    QList<ProtocolArg> args{ProtocolArg(DataTypes::Text, 0, room->topic),
                            ProtocolArg(DataTypes::Count, 1, int(room->members.size()))};
    for (const QString &member : std::as_const(room->members))
        args.append(ProtocolArg(DataTypes::Identifier, 2, QString::number(m_ids->idOf(member))));
    complete(std::exchange(room->pendingJoin, 0), true, args);
}

void XmppMultichats::handleMUCMessage(gloox::MUCRoom *mucRoom, const gloox::Message &message, bool priv)
{
    Room *room = find(mucRoom);
    const QString jid = XmppIdMap::bareJid(fromStd(message.from().resource()));
    // Own messages come back from the room; history and private messages are not the chat's.
    if (!room || priv || jid.isEmpty() || jid == m_connection->bareJid() || message.when())
        return;
    const uint sender = m_ids->idOf(jid);
    const QString roomId = QString::number(room->id);
    const auto *payload = message.findExtension<XmppPayload>(XmppPayload::type);
    const bool hasPayload = payload && payload->valid && (!payload->html.isEmpty() || !payload->pictures.isEmpty());
    if (message.body().empty() && !hasPayload) {
        const auto *state = message.findExtension<gloox::ChatState>(gloox::ExtChatState);
        if (state && state->state() == gloox::ChatStateComposing)
            deliver(0x8014, {ProtocolArg(DataTypes::Identifier, 0, roomId), ProtocolArg(DataTypes::Identifier, 1, QString::number(sender))});
        return;
    }
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
    if (!room || operation != gloox::CreateInstantRoom || !room->pendingCreate)
        return;
    if (success) {
        finishCreate(room);
        return;
    }
    complete(std::exchange(room->pendingCreate, 0), false);
    const uint id = room->id;
    QTimer::singleShot(0, this, [this, id] { m_rooms.erase(id); });
}

void XmppMultichats::finishCreate(Room *room)
{
    if (!room->topic.isEmpty())
        room->room->setSubject(room->topic.toStdString());
    complete(std::exchange(room->pendingCreate, 0), true,
             {ProtocolArg(DataTypes::Identifier, 0, int(room->id)), ProtocolArg(DataTypes::Text, 1, room->jid)});
}

bool XmppMultichats::handleMUCRoomCreation(gloox::MUCRoom *)
{
    return true; // an instant room with the service's defaults
}

void XmppMultichats::handleMUCError(gloox::MUCRoom *mucRoom, gloox::StanzaError)
{
    Room *room = find(mucRoom);
    if (!room || (!room->pendingCreate && !room->pendingJoin))
        return;
    complete(room->pendingCreate ? room->pendingCreate : room->pendingJoin, false);
    const uint id = room->id;
    QTimer::singleShot(0, this, [this, id] { m_rooms.erase(id); });
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
