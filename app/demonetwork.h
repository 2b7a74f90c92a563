#pragma once
// The demo's network: answers every request the module sends after a short
// latency, and plays the bot contacts. One bot answers each message after a
// typing notice, one answers with an inline picture, one is offline and
// only receives what it was sent once it comes online, one lives on another
// network and one on a mobile client. Presence of other contacts changes
// now and then.

#include <QList>
#include <functional>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "protocol.h"

struct SentRequest;

namespace zubrel {

class DemoMultichat;
class DemoStranger;

class DemoNetwork : public QObject
{
    Q_OBJECT
public:
    // Numbers of the demo user and the bots in demo/contacts.json.
    static constexpr uint selfId = 1000;
    static constexpr uint echoBot = 2001;
    static constexpr uint pictureBot = 2002;
    static constexpr uint offlineBot = 2003;
    static constexpr uint otherNetworkBot = 2004;
    static constexpr uint mobileBot = 2005;
    // The bots of DemoBots start here; they keep their presence.
    static constexpr uint firstMoreBot = 2008;
    // The stranger a random chat is matched with, and the random chat
    // server's application server number.
    static constexpr uint stranger = 3001;
    static constexpr ushort randomChatServer = 77;

    explicit DemoNetwork(int latencyMs, QObject *parent = nullptr);
    ~DemoNetwork() override;

    // Becomes the simulated network's responder.
    void attach();
    // The next message the module sends fails instead of succeeding.
    void failNextSend() { m_failNext = true; }
    bool failsNextSend() const { return m_failNext; }
    int latency() const { return m_latency; }
    // Messages the offline bot has not received yet.
    int pendingForOfflineBot() const { return int(m_pendingOffline.size()); }
    void setOfflineBotOnline(bool online);
    // Presence changes now and then; off for tests that count events.
    void setPresenceChanges(bool on);

    // The partner a sent message or typing notice is addressed to; 0 when none.
    static uint partnerOf(const SentRequest &request);
    // The text part of a sent message, as HTML.
    static QString messageOf(const SentRequest &request);
    // The pictures attached to a sent message, in their numbered order.
    static QList<QByteArray> picturesOf(const SentRequest &request);
    // A small picture drawn for the picture bot, PNG bytes.
    static QByteArray drawnPicture(int number);
    // A landscape wider than a chat window, to see pictures fitted to it.
    static QByteArray drawnLandscape(int number);

    // A handler sees every request before the bots; returning true means it
    // completes the request itself (the demo's slideshow module does).
    using Handler = std::function<bool(const SentRequest &)>;
    void addHandler(Handler handler) { m_handlers.append(std::move(handler)); }
    void completeLater(uint id, bool success, const QList<ProtocolArg> &args = {});
    void injectLater(int delayMs, ushort a, ushort b, const QList<ProtocolArg> &args);

signals:
    // A request was completed by the demo network (for the contact list's status line).
    void completed(uint id, bool success);
    // Every request the module sends, as it arrives (before it is answered).
    void sent(const SentRequest &request);

private:
    void onSent(const SentRequest &request);
    void botAnswers(uint bot, const QString &html, const QList<QByteArray> &pictures = {});
    void changeSomePresence();
    void greet(uint bot);
    // A bot's push message: a short generated clip (see DemoPush).
    QList<ProtocolArg> pushClip(uint bot);
    // Random chats: server, login, match, the stranger's answers.
    bool handleRandomChat(const SentRequest &request);
    DemoStranger *m_stranger = nullptr;

    int m_latency = 300;
    bool m_failNext = false;
    bool m_controllerUp = false; // the module has asked for its first answer
    bool m_offlineBotOnline = false;
    int m_pictureCount = 0;
    int m_clipCount = 0;
    QList<uint> m_pendingOffline;
    QList<uint> m_greeted;
    QTimer m_presenceTimer;
    QTimer m_offlineBotTimer;
    DemoMultichat *m_multichat = nullptr; // a child: the multi chat server
    QList<Handler> m_handlers;
};

} // namespace zubrel
