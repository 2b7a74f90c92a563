#pragma once
// The chat controller: one per ready report of the contact directory. It
// registers the module's incoming commands, keeps the registry of open chats
// (one-to-one, multi chat, random chat), builds new one-to-one chats and
// carries messages, push clips and typing notices between tabs and network.
// Each concern lives in its own source file (chat_*.cpp).

#include <QHash>
#include <QMultiMap>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include "czubuddy.h"
#include "messagestruct.h"
#include "zr.h"

class Protocol;
class Request;
class RequestHandler;
class WrapPluginHelper;

namespace zubrel {

class ZChat;
class ZChatLogger;
class ZChatTab;
class ZContactCard;

class Chat : public QObject
{
    Q_OBJECT
public:
    // Log entries shown again when a one-to-one chat opens.
    static constexpr int historyReplayCount = 10;

    explicit Chat(WrapPluginHelper *helper);
    ~Chat() override;

    // The open chats and cards for tools that inspect the controller through
    // its meta-object without linking against the module (the demo host's
    // replay tracer): {"chats", "multichats", "randomChats"} map keys to
    // windows (QObject*), "cards" maps contact ids to the number of cards
    // on screen, "requestTabs" counts message requests still in flight,
    // "pendingRandomChat" is the random chat window still logging in.
    Q_INVOKABLE QVariantMap registry() const;

    // Contacts the user blocked, hides from, or is invisible to; shared by
    // every controller of the process and filled from the host's lists.
    static QStringList blockList;
    static QStringList hideList;
    static QStringList invisibleList;
    // The random chat window of the newest search, from its creation until
    // its login is answered (a failed one leaves it here, saying so).
    static QPointer<ZChat> pendingRandomChat;
    // The chat window beside which the next slideshow window is placed; set
    // when the user starts a slideshow or screenshot, consumed by the next
    // slideshow answer. Guarded: the window may close before the answer.
    static QPointer<ZChat> slideshowWindow;

    // The one multi chat the user is creating: the key its waiting window is
    // filed under in multichats until the server names the chat, and the
    // contacts to invite once it has. Empty when nothing is pending.
    static QString pendingMultichatKey;
    static QStringList pendingInvitees;

    // Log record kinds (MessageStruct::chatKind).
    enum LogKind { MultiChatLog = 0, OneToOneLog = 1, RandomChatLog = 2 };

public slots:
    // Core: opening, activating and forgetting chats.
    void newChat(QString zubrelId);
    void slotNewChat(RequestHandler *handler, Request *request);
    void slotNewChat2(RequestHandler *handler, Request *request);
    void slotActivatedChat();
    void slotActivatedTab();
    void slotDeleteChat();
    void slotMandator(Request *request);
    void slotMsgSuccess(Request *request);
    void slotMsgFailed(Request *request);

    // One-to-one messaging (also the send path of multi and random chats).
    void slotNewMessage(QString message);
    void slotNewPushMessage(QString fileName);
    void slotSendTyping();
    void slotNewMessage(RequestHandler *handler, Request *request);
    void slotImcommMessage(RequestHandler *handler, Request *request);
    void slotIsTyping(RequestHandler *handler, Request *request);
    void slotImcommIsTyping(RequestHandler *handler, Request *request);
    void slotMessageFailed(Request *request);

    // Contact state and presence.
    void slotContactChanged(CZuBuddy buddy);
    void slotBlocklist(RequestHandler *handler, Request *request);
    void slotInvisiblelist(RequestHandler *handler, Request *request);
    void slotHidelist(RequestHandler *handler, Request *request);
    void slotAvatarClicked();
    void slotNewAvatar(QStringList fileNames);

    // Links, files and side channels.
    void slotSip(const QUrl &url);
    void slotFtp(const QUrl &url);
    void slotDroppedFiles(QStringList files, Zr::ClientApplication application);
    void slotSlideshow(RequestHandler *handler, Request *request);
    void slotSlideshow(Request *request);
    void slotAction(RequestHandler *handler, Request *request);

    // Chat actions.
    void slotChatAction(QString id);
    void slotCardAction(QString id);

    // Private session.
    void slotNoLogRequest(RequestHandler *handler, Request *request);
    void slotNoLogResponse(RequestHandler *handler, Request *request);

    // Multi chat.
    void slotMultichatInvitation(RequestHandler *handler, Request *request);
    void slotMultichatJoined(RequestHandler *handler, Request *request);
    void slotMultichatLeaved(RequestHandler *handler, Request *request);
    void slotMultichatIsTyping(RequestHandler *handler, Request *request);
    void slotMultichatMessage(RequestHandler *handler, Request *request);
    void slotMultichatUserKicked(RequestHandler *handler, Request *request);
    void slotMultichatClosed(RequestHandler *handler, Request *request);
    void slotMultichat(Request *request);
    void slotNewMultichat(Request *request);

    // Random chat.
    void slotRandomChat(RequestHandler *handler, Request *request);
    void slotRandomMatch(RequestHandler *handler, Request *request);
    void slotRandomIsTyping(RequestHandler *handler, Request *request);
    void slotRandomMessage(RequestHandler *handler, Request *request);
    void slotRandomLeft(RequestHandler *handler, Request *request);
    void slotRandomChatCreate(Request *request);
    void slotRandomChatLogin(Request *request);
    void slotRandomChatLoginFailed(Request *request);

public:
    // The registry. Windows, tabs, cards and loggers are guarded: a window
    // that goes away without reporting hid() leaves a null entry that is
    // pruned, never a dangling pointer.
    QHash<QString, QPointer<ZChat>> chats;
    QHash<QString, QPointer<ZChat>> multichats;
    QHash<QString, QPointer<ZChat>> randomChats;
    // Message requests in flight and the tab that sent each; an entry lives
    // until its request completes.
    QHash<uint, QPointer<ZChatTab>> requestTabs;
    QHash<QString, QStringList> multichatInfo;
    QHash<QString, QStringList> randomChatInfo;
    // Chat logs per tab; entries leave with their tab.
    QHash<ZChatTab *, QPointer<ZChatLogger>> chatLoggers;
    QHash<ZChatTab *, QPointer<ZChatLogger>> randomChatLoggers;
    QHash<ZChatTab *, QPointer<ZChatLogger>> multichatLoggers;
    // Every card on screen by the id it shows (own cards under the user's id).
    QMultiMap<QString, QPointer<ZContactCard>> cards;
    // Random chat logins in flight and the window each one is for: a late
    // answer finds its own window, or none once that window closed.
    QHash<uint, QPointer<ZChat>> randomChatLogins;

protected:
    // Shared by the controller's files.
    WrapPluginHelper *helper() const { return m_helper; }
    ZChatTab *senderTab() const;
    static ZChatTab *firstTab(const ZChat *window);
    static ZContactCard *partnerCard(const ZChatTab *tab);
    static QString partnerId(const ZChatTab *tab);
    static bool isOtherNetwork(const QString &zubrelId);
    static bool isMobileClient(const QString &zubrelId);
    static int logKind(const ZChatTab *tab);
    ZChatLogger *loggerOf(ZChatTab *tab) const;
    // Forgets a tab in every per-tab hash once it is destroyed.
    void watchTab(ZChatTab *tab);
    void fileCard(const QString &zubrelId, ZContactCard *card);
    // The registered window of a one-to-one chat, null when none is open.
    ZChat *chatWindow(const QString &zubrelId) const;
    // Creates, wires and sends a request completed by the freeing slots;
    // module < 0 sends it to the network.
    void sendFireAndForget(Protocol &protocol, int module = -1);
    // Answers an incoming command that needs no reply protocol.
    void answer(Request *request);
    // Writes a log record to the tab's log of its kind, unless the tab is in
    // a private session.
    void logMessage(ZChatTab *tab, const MessageStruct &record);
    // The same for one line written now, of the tab's kind.
    void logMessage(ZChatTab *tab, const QString &contact, const QString &alias, const QString &message,
                    Zr::ChatDirection direction);
    // Tells the user that an offline partner gets the message later.
    void noteOfflinePartner(ZChatTab *tab);

    // Chat actions that belong to multi and random chats, dispatched by the
    // action handlers: "add" (create a multi chat from a one-to-one tab, or
    // invite more people into a running one), "exitmc", the kick behind a
    // multi chat card's "exit", and "exitrc".
    void startMultichat(ZChatTab *tab);
    void leaveMultichat(ZChatTab *tab);
    void kickFromMultichat(ZChatTab *tab, const QString &contactId);
    void quitRandomChat(ZChatTab *tab);

private:
    // Contact state helpers (chat_contactstate.cpp).
    void applyPrivacyList(Request *request, QStringList *list, void (Chat::*notify)(const QString &id));
    void noteBlocked(const QString &id);
    void noteInvisible(const QString &id);
    void noteHidden(const QString &id);
    void endChatsOnGoingOffline(QHash<QString, QPointer<ZChat>> *windows, QHash<QString, QStringList> *info,
                                bool multi);
    // Chat action helpers (chat_actions.cpp).
    static void addMemberBlock(Protocol &protocol, const ZChatTab *tab);
    static ZChatTab *owningTab(const QObject *card);
    void sendChatAction(const QString &id, Protocol &protocol);
    // Private session (chat_privatesession.cpp).
    void proposePrivateSession(ZChat *window, ZChatTab *tab);
    void sendPrivateSessionState(const QString &partner, bool active);
    // Slideshow placement (chat_links.cpp).
    void slotSlideshowFailed(Request *request);
    ZChat *findSlideshowChat(QStringList participants);
    void placeSlideshow(ZChat *chat, quint64 handle);
    // Tabs whose proposal of a private session awaits the partner's state.
    QList<QPointer<ZChatTab>> noLogProposals;

    void registerCommands();
    void fillCard(ZContactCard *card, const CZuBuddy &buddy, const QString &zubrelId);
    ZChatLogger *createLogger(const QString &id, ZChatTab *tab, int kind);
    void replayHistory(ZChatTab *tab, ZChatLogger *logger);
    void showNotices(ZChatTab *tab, ZContactCard *partner, const QString &zubrelId);
    void sendActivation(ZChatTab *tab);
    // Incoming message helpers.
    ZChat *openForIncoming(const QString &zubrelId);
    QString storeReceivedFile(ZChatTab *tab, const QString &key, const QByteArray &bytes) const;
    bool buildOutgoing(ZChatTab *tab, Protocol &protocol, bool typing) const;
    // Multi chat helpers (chat_multichat*.cpp).
    ZChat *multichatWindow(const QString &key) const;
    ZChat *newMultichatWindow(quint32 id, ZChatTab *&tab);
    void prepareOwnCard(ZChatTab *tab);
    ZContactCard *addMultichatCard(ZChatTab *tab, const QString &zubrelId);
    void forgetMultichatOnClose(ZChat *window);
    void inviteMore(ZChatTab *tab);
    void sendInvitation(const QString &invitee, const QVariant &idValue, ushort server);
    bool sessionOf(const ZChatTab *tab, QString *key, ushort *server) const;
    void abandonPendingCreation();
    // Random chat helpers.
    ZChat *openRandomChatWindow();
    void sendRandomChatLogin(ZChat *window, ushort server, const QList<int> &criteria);
    void sendRandomChatQuit(quint32 id, ushort server);
    ZChat *randomChatWindow(const Protocol &protocol) const;

    WrapPluginHelper *m_helper = nullptr;
    // The create request of the pending multi chat: only its answer may
    // turn the waiting window into a running chat.
    uint m_pendingCreate = 0;
};

} // namespace zubrel
