#pragma once
// The matchmaker's side of random chats (the program zubrel-matchmaker):
// every "search" gets a random chat number and waits until someone else
// searches; the two are then told "matched" with each other's alias, and
// their messages, typing notices and quitting are relayed between the two
// numbers. Nobody learns the other's JID, and only the owner of a number
// can speak through it.

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

#include "xmppevent.h"

namespace zubrel {

class XmppConnection;

class XmppMatchmaker : public QObject
{
    Q_OBJECT
public:
    static constexpr int maxSeats = 10000;

    explicit XmppMatchmaker(XmppConnection *connection, QObject *parent = nullptr);

    int waiting() const { return int(m_waiting.size()); }
    int seats() const { return int(m_seats.size()); }

private:
    struct Seat
    {
        QString jid;
        QString from; // the searching client's full JID: when it goes, the seat goes
        QString alias;
        uint partner = 0; // the partner's chat number, 0 while waiting
    };

    void onMessage(const XmppIncoming &message);
    void search(const QString &from, const QString &alias);
    void onGone(const QString &fullJid);
    void leave(uint chat);
    void tell(uint chat, const QString &action, const QString &alias = {}, const XmppIncoming *relayed = nullptr);

    QPointer<XmppConnection> m_connection;
    QHash<uint, Seat> m_seats;
    QList<uint> m_waiting;
    uint m_next = 1;
    quint64 m_sent = 0;
};

} // namespace zubrel
