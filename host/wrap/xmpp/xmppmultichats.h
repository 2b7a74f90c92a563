#pragma once
// Multi chats on the server's multi-user chat service (XEP-0045). A multi
// chat is a room "zc<random>@conference.<domain>"; its number comes from the
// same JID map as contacts, the session text the module carries from an
// invitation to the join is the room's JID, and every participant takes
// their bare JID as nickname, so occupants map back to contact numbers
// even where the room hides real JIDs. A drop of the connection ends the
// multi chats (the module shows them closed).

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
        QSet<QString> members; // bare JIDs of the others present
        QString topic;
        uint pendingCreate = 0;
        uint pendingJoin = 0;
        bool joined = false;
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

    void onConnected();
    void endAll();
    void onInvitation(const QString &room, const QString &from);
    Room *enter(const QString &roomJid);
    Room *find(gloox::MUCRoom *room);
    Room *find(uint id);
    void finishJoin(Room *room);
    void deliver(ushort b, const QList<ProtocolArg> &args);
    QString occupantJid(const gloox::MUCRoomParticipant &participant) const;
    void complete(uint requestId, bool success, const QList<ProtocolArg> &args = {});

    QPointer<XmppConnection> m_connection;
    XmppIdMap *m_ids = nullptr;
    XmppDirectory *m_directory = nullptr;
    XmppOutbox *m_outbox = nullptr;
    std::map<uint, std::unique_ptr<Room>> m_rooms;
    class InvitationRelay;
    std::unique_ptr<InvitationRelay> m_invitations;
};

} // namespace zubrel
