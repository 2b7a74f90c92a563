#pragma once
// Multi chats on the server's multi-user chat service (XEP-0045). A multi
// chat is a room "zc<random>@conference.<domain>"; its number comes from the
// same JID map as contacts, and the session text the module carries from an
// invitation to the join is the room's JID. The rooms we create show real
// JIDs to everyone, so occupants map to their contacts' numbers. A nickname
// alone is never taken for an address (anyone may pick any): an occupant
// whose real JID the room hides gets a number of its own for the session,
// shown under the nickname. After a drop the rooms are entered again and
// their messages wait until then; a room gone meanwhile is shown closed.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <map>
#include <memory>
#include <gloox/mucroomconfighandler.h>
#include <gloox/mucroomhandler.h>

#include "protocol.h"

class Request;

namespace gloox {
class MUCRoom;
}

namespace zubrel {

class XmppConnection;
class XmppDirectory;
class XmppIdMap;
class XmppOutbox;

class XmppMultichats : public QObject, public gloox::MUCRoomHandler, public gloox::MUCRoomConfigHandler
{
    Q_OBJECT
public:
    // The application server number multi chat commands carry.
    static constexpr ushort applicationServer = 1;
    // Occupants known by nickname only are numbered from here: far above
    // the numbers the JID map counts up, never stored.
    static constexpr uint firstAnonymousId = 3000000000u;

    XmppMultichats(XmppConnection *connection, XmppIdMap *ids, XmppDirectory *directory, XmppOutbox *outbox,
                   QObject *parent = nullptr);
    ~XmppMultichats() override;

    // Handles the multi chat commands; false for any other.
    bool transmit(Request *request);
    QString roomOf(uint multichatId) const;

private:
    struct Room
    {
        uint id = 0;
        QString jid;
        std::unique_ptr<gloox::MUCRoom> room;
        QHash<QString, uint> occupants; // nickname -> number, the others present
        QSet<uint> before;              // who was there before a drop
        QString topic;
        uint pendingCreate = 0;
        uint pendingJoin = 0;
        bool joined = false;
        bool rejoining = false; // entering again after a drop
        QList<QString> recentOrder; // the newest (sender, id) pairs, for dropping resent ones
        QSet<QString> recent;
    };

    void handleMUCParticipantPresence(gloox::MUCRoom *room, const gloox::MUCRoomParticipant participant,
                                      const gloox::Presence &presence) override;
    void handleMUCMessage(gloox::MUCRoom *room, const gloox::Message &message, bool priv) override;
    bool handleMUCRoomCreation(gloox::MUCRoom *room) override;
    void handleMUCSubject(gloox::MUCRoom *room, const std::string &nick, const std::string &subject) override;
    void handleMUCInviteDecline(gloox::MUCRoom *, const gloox::JID &, const std::string &) override {}
    void handleMUCError(gloox::MUCRoom *room, gloox::StanzaError error) override;
    void handleMUCInfo(gloox::MUCRoom *, int, const std::string &, const gloox::DataForm *) override {}
    void handleMUCItems(gloox::MUCRoom *, const gloox::Disco::ItemList &) override {}
    void handleMUCConfigList(gloox::MUCRoom *, const gloox::MUCListItemList &, gloox::MUCOperation) override {}
    void handleMUCConfigForm(gloox::MUCRoom *, const gloox::DataForm &) override {}
    void handleMUCConfigResult(gloox::MUCRoom *room, bool success, gloox::MUCOperation operation) override;
    void handleMUCRequest(gloox::MUCRoom *, const gloox::DataForm &) override {}
    void finishCreate(Room *room);

    void onClientCreated();
    void onConnected();
    void onDisconnected();
    void finishRejoin(Room *room, bool roomIsNew);
    uint occupantId(Room *room, const gloox::MUCRoomParticipant &participant);
    bool isRepeat(Room *room, uint sender, const std::string &stanzaId);
    void remove(uint id);
    void join(Room *room);
    void onInvitation(const QString &room, const QString &from);
    Room *enter(const QString &roomJid);
    Room *find(gloox::MUCRoom *room);
    Room *find(uint id);
    void finishJoin(Room *room);
    void deliver(ushort b, const QList<ProtocolArg> &args);
    void complete(uint requestId, bool success, const QList<ProtocolArg> &args = {});

    QPointer<XmppConnection> m_connection;
    XmppIdMap *m_ids = nullptr;
    XmppDirectory *m_directory = nullptr;
    XmppOutbox *m_outbox = nullptr;
    std::map<uint, std::unique_ptr<Room>> m_rooms;
    QHash<QString, uint> m_anonymous; // occupant JID -> number for this session
    uint m_nextAnonymous = firstAnonymousId;
    class InvitationRelay;
    std::unique_ptr<InvitationRelay> m_invitations;
};

} // namespace zubrel
