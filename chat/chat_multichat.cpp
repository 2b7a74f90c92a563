// Multi chats: the incoming commands (invitations, members joining and
// leaving, typing, messages, kicks, the session closed) and the windows
// they fill. The user's own actions are in chat_multichat_actions.cpp.

#include "chat.h"
#include "receivedfiles.h"

#include <QIcon>
#include <QPointer>

#include "czubuddy_administrator.h"
#include "multichatjoin.h"
#include "multichatwire.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "historypager.h"
#include "multichatroster.h"
#include "zchatlogger.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdesktop.h"
#include "ztextedit.h"
#include "zresourceicon.h"

namespace zubrel {

using namespace Internal;

namespace {

constexpr int cardWidth = 153;
constexpr int cardHeight = 72;

QString nicknameOf(const QString &zubrelId)
{
    const CZuBuddy buddy(zubrelId.toUInt());
    return buddy.IsNicknameValid() && !buddy.Nickname().isEmpty() ? buddy.Nickname() : zubrelId;
}

bool isMobileType(int clientType)
{
    return clientType == 33 || clientType == 34;
}

// The participant's card in this tab, from the controller's index by id
// rather than a walk over every card of a busy group on each join. A card
// that left is out of the index at once, though deleted only later.
ZContactCard *cardOf(const QMultiMap<QString, QPointer<ZContactCard>> &index, const ZChatTab *tab,
                     const QString &zubrelId)
{
    for (auto it = index.constFind(zubrelId); it != index.cend() && it.key() == zubrelId; ++it) {
        ZContactCard *card = it.value();
        if (card && tab->cardList->isAncestorOf(card))
            return card;
    }
    return nullptr;
}

// "Aliases - topic"; the topic lives on the window, never parsed back out
// of a title whose aliases may hold " - " themselves.
const char *topicProperty = "zubrelMultichatTopic";

void setTitle(ZChat *window, ZChatTab *tab)
{
    const QString joined = MultichatRoster::of(tab)->titleAliases();
    const QString topic = window->property(topicProperty).toString();
    window->setWindowTitle(topic.isEmpty() ? joined : QStringLiteral("%1 - %2").arg(joined, topic));
}

// The member list the slideshow module keeps: one block before the change
// and one after, each the user first, then every participant in list order.
class MemberBlocks
{
public:
    explicit MemberBlocks(ZChatTab *tab) : m_tab(tab)
    {
        // Both blocks of a busy group in one allocation: the user, the
        // count and every participant twice, one more after a join.
        m_args.reserve(2 * (qsizetype(tab->cardList->size()) + 3));
        appendBlock();
    }
    // The command with both blocks, once the change is made.
    Protocol afterChange()
    {
        appendBlock();
        Protocol members(ProtocolCommand(40, 0xF164));
        members.setArgs(m_args);
        return members;
    }

private:
    void appendBlock() { MultichatRoster::of(m_tab)->appendBlock(m_args, uint(CZuBuddy::CurrentUser().Id())); }

    ZChatTab *m_tab;
    QList<ProtocolArg> m_args;
};

} // namespace

// ---------------------------------------------------------------------------
// Shared helpers

ZChat *Chat::multichatWindow(const QString &key) const
{
    return multichats.value(key).data();
}

bool Chat::sessionOf(const ZChatTab *tab, QString *key, ushort *server) const
{
    if (!tab || !tab->multichat || tab->multichatId == ZChatTab::noId)
        return false;
    *key = QString::number(tab->multichatId);
    // Waiting, closed and offline-ended chats have no complete entry.
    const QStringList info = multichatInfo.value(*key);
    if (info.size() < 3)
        return false;
    *server = info.at(2).toUShort();
    return true;
}

void Chat::forgetMultichatOnClose(ZChat *window)
{
    // Whatever key the window was filed under last (its id, or none after
    // the session closed), closing it forgets it.
    const QPointer<ZChat> guarded = window;
    connect(window, &ZChat::hid, this, [this, guarded] {
        const QStringList keys = multichats.keys();
        for (const QString &key : keys) {
            const QPointer<ZChat> filed = multichats.value(key);
            if (filed.isNull() || filed == guarded) {
                multichats.remove(key);
                if (key != pendingMultichatKey)
                    multichatInfo.remove(key);
            }
        }
    });
}

void Chat::prepareOwnCard(ZChatTab *tab)
{
    ZContactCard *own = tab->ownCard;
    connect(own, &ZContactCard::actionId, this, &Chat::slotCardAction);
    connect(own, &ZContactCard::avatarClicked, this, &Chat::slotAvatarClicked);
    connect(own, &ZContactCard::newAvatar, this, &Chat::slotNewAvatar);
    const CZuBuddy user = CZuBuddy::CurrentUser();
    const QString userId = QString::number(user.Id());
    fillCard(own, user, userId);
    own->setGeneralApp(11);
    own->setOwn(true);
    fileCard(userId, own);
}

ZContactCard *Chat::addMultichatCard(ZChatTab *tab, const QString &zubrelId)
{
    // Owned by the card list; a busy group shows only a few of its cards.
    auto *card = new ZContactCard(nullptr, ZContactCard::WaitUntilSeen);
    connect(card, &ZContactCard::actionId, this, &Chat::slotCardAction);
    connect(card, &ZContactCard::avatarClicked, this, &Chat::slotAvatarClicked);
    const CZuBuddy buddy(zubrelId.toUInt());
    const bool known = buddy.IsCurrentUser() || buddy.IsContact();
    if (!known)
        CZuBuddy_Administrator::Instance()->FetchFromUserDataServer(buddy);
    fillCard(card, buddy, zubrelId);
    card->setMinimumSize(cardWidth, cardHeight);
    card->setMaximumSize(cardWidth, cardHeight);
    card->setInternalId(int(tab->multichatId));
    card->setGeneralApp(known ? 11 : 13);
    card->setMobile(isMobileType(buddy.ClientType()));
    tab->cardList->addCard(card);
    MultichatRoster *roster = MultichatRoster::of(tab);
    roster->cardAdded(card);
    // A renamed participant changes the aliases the roster has put together.
    connect(card, &ZContactCard::aliasChanged, roster, &MultichatRoster::invalidate);
    connect(card, &QObject::destroyed, roster, &MultichatRoster::invalidate);
    fileCard(zubrelId, card);
    return card;
}

ZChat *Chat::newMultichatWindow(quint32 id, ZChatTab *&tab)
{
    auto *window = new ZChat; // disposes of itself when closed
    connect(window, &ZChat::action, this, &Chat::slotChatAction);
    connect(window, &ZChat::activated, this, &Chat::slotActivatedChat);
    connect(window, &ZChat::droppedFiles, this, &Chat::slotDroppedFiles);
    connect(window, &ZChat::hid, this, &Chat::slotDeleteChat);
    forgetMultichatOnClose(window);

    tab = new ZChatTab; // owned by the window's tab widget once added
    // Bound to the tab rather than found through sender(), which walks
    // every connection into this object (two per card of a busy group).
    connect(tab, &ZChatTab::activated, this, [this, guarded = QPointer<ZChatTab>(tab)] {
        if (guarded)
            sendActivation(guarded);
    });
    connect(tab, &ZChatTab::sendPushMessage, this, &Chat::slotNewPushMessage);
    connect(tab, &ZChatTab::sendHtml, this, qOverload<QString>(&Chat::slotNewMessage));
    connect(tab, &ZChatTab::typing, this, &Chat::slotSendTyping);
    watchTab(tab);
    tab->multichatId = id;
    return window;
}

// ---------------------------------------------------------------------------
// Invitation and joining

void Chat::slotMultichatInvitation(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    QString inviter;
    QString key;
    quint32 id = 0;
    QString session;
    const bool usable = readContactId(protocol, 0, &inviter) && readMultichatId(protocol, 1, &id, &key)
                        && readText(protocol, 2, &session);
    const QString server = QString::number(protocol.command().applicationServerId());
    answer(request);
    // Nothing to ask about, or a chat the user is already in.
    if (!usable || multichatWindow(key))
        return;

    QPointer<MultichatJoin> dialog = new MultichatJoin;
    dialog->txtTitle->setText(dialog->txtTitle->text().replace(QLatin1String("%1"), escaped(nicknameOf(inviter))));
    Protocol raise(ProtocolCommand(1, 0xF0F2));
    raise.addArg(ProtocolArg(5, 0, int(dialog->winId())));
    sendFireAndForget(raise);
    const bool accepted = dialog->ask() == 1;
    delete dialog.data();

    // Kept even when declined: a later invitation to the same chat finds it.
    multichatInfo.insert(key, {key, session, server});
    if (!accepted)
        return;
    ProtocolCommand command(4, 0x0007);
    command.setApplicationServerId(server.toUShort());
    Protocol join(command);
    join.addArg(ProtocolArg(6, multichatIdField, key));
    join.addArg(ProtocolArg(0x20, sessionField, session));
    join.addArg(ProtocolArg(6, joinFlagField, 0));
    QPointer<Request> sent = helper()->createRequest(join, nullptr);
    if (!sent)
        return;
    connect(sent, &Request::onSuccess, this, &Chat::slotNewMultichat);
    connect(sent, &Request::onFailed, this, &Chat::slotMsgFailed);
    helper()->sendRequest(sent);
}

void Chat::slotNewMultichat(Request *request)
{
    QString key;
    quint32 id = 0;
    if (!readMultichatId(*request->protocol(), 0, &id, &key) || multichatWindow(key)) {
        helper()->freeRequest(request);
        return;
    }
    const Protocol &response = *request->response();
    QString topic;
    readText(response, 0, &topic);
    int count = 0;
    readInt(response, 1, &count);
    // Members are read only from arguments that are there.
    count = qBound(0, count, qMax(0, response.argCount() - 2));
    QStringList members;
    for (int i = 0; i < count; ++i) {
        QString member;
        if (readContactId(response, 2 + i, &member))
            members.append(member);
    }

    ZChatTab *tab = nullptr;
    ZChat *window = newMultichatWindow(id, tab);
    // Every member gets a card, in the order the server listed them.
    for (const QString &member : std::as_const(members))
        addMultichatCard(tab, member);
    prepareOwnCard(tab);
    tab->setEncrypted(true);
    tab->setMultiChat(true);
    window->addTab(tab);
    window->setupMultiChatMenu();
    window->setProperty(topicProperty, topic);
    setTitle(window, tab);
    window->setWindowIcon(ZResourceIcon::get(QStringLiteral(":/multichat-32")));
    // Alone in the chat: nobody to write to until someone joins.
    tab->input->setReadOnly(tab->cardList->size() == 0);

    multichats.insert(key, window);
    if (ZChatLogger *logger = createLogger(QStringLiteral("0"), tab, MultiChatLog)) {
        multichatLoggers.insert(tab, logger);
        (new HistoryPager(tab, logger))->startAfterLogged();
    }
    window->restoreChatGeometry();
    window->show();
    helper()->freeRequest(request);
}

// ---------------------------------------------------------------------------
// Members

void Chat::slotMultichatJoined(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    QString key;
    quint32 id = 0;
    QString user;
    ZChat *window = nullptr;
    if (readMultichatId(protocol, 0, &id, &key) && readContactId(protocol, 1, &user)
        && user != QString::number(CZuBuddy::CurrentUser().Id()))
        window = multichatWindow(key);
    ZChatTab *tab = firstTab(window);
    if (!tab || !tab->multichat) {
        answer(request);
        return;
    }
    tab->appendSystemMessage(tr("%1 has joined the Multi Chat.").arg(escaped(nicknameOf(user))));
    if (cardOf(cards, tab, user)) {
        answer(request);
        return;
    }
    MemberBlocks members(tab);
    addMultichatCard(tab, user);
    QString sessionKey;
    ushort server = 0;
    // Chats that ended (closed, or the user went offline) stay read-only.
    if (tab->input->isReadOnly() && sessionOf(tab, &sessionKey, &server))
        tab->input->setReadOnly(false);
    Protocol notice = members.afterChange();
    sendFireAndForget(notice, slideshowModule);
    setTitle(window, tab);
    answer(request);
}

void Chat::slotMultichatLeaved(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    QString key;
    quint32 id = 0;
    QString user;
    ZChat *window = nullptr;
    if (readMultichatId(protocol, 0, &id, &key) && readContactId(protocol, 1, &user))
        window = multichatWindow(key);
    ZChatTab *tab = firstTab(window);
    if (!tab || !tab->multichat) {
        answer(request);
        return;
    }
    MemberBlocks members(tab);
    if (ZContactCard *card = cardOf(cards, tab, user)) {
        cards.removeIf([card](const auto &entry) { return entry.value() == card; });
        tab->cardList->removeCard(card);
        tab->appendSystemMessage(tr("%1 has left the Multi Chat.").arg(escaped(nicknameOf(user))));
    }
    Protocol notice = members.afterChange();
    sendFireAndForget(notice, slideshowModule);
    setTitle(window, tab);
    if (tab->cardList->size() == 0)
        tab->input->setReadOnly(true);
    answer(request);
}

void Chat::slotMultichatIsTyping(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    QString key;
    quint32 id = 0;
    QString user;
    if (readMultichatId(protocol, 0, &id, &key) && readContactId(protocol, 1, &user)) {
        if (ZChatTab *tab = firstTab(multichatWindow(key))) {
            for (int i = 0, n = tab->cardList->size(); i < n; ++i) {
                if (tab->cardList->card(i)->zubrelId() == user)
                    tab->cardList->card(i)->setTyping(true);
            }
        }
    }
    answer(request);
}

// ---------------------------------------------------------------------------
// Messages

void Chat::slotMultichatMessage(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    QString key;
    quint32 id = 0;
    QString sender;
    QByteArray bytes;
    ZChatTab *tab = nullptr;
    if (readMultichatId(protocol, 0, &id, &key) && readContactId(protocol, 2, &sender)
        && readBytes(protocol, 3, &bytes))
        tab = firstTab(multichatWindow(key));
    // Unknown chats get nothing written to disk.
    if (!tab || !tab->multichat) {
        answer(request);
        return;
    }
    QString html = QString::fromUtf8(bytes);
    QString lastFile;
    const int argCount = protocol.argCount();
    if (argCount >= 6) {
        int count = 0;
        readInt(protocol, 4, &count);
        count = qBound(0, count, argCount - 5);
        for (int i = 0, stored = 0; i < count && stored < ReceivedFiles::MaxFilesPerMessage; ++i) {
            QByteArray attachment;
            if (!ReceivedFiles::wanted(html, i + 1, count) || !readBytes(protocol, 5 + i, &attachment))
                continue; // keeps its placeholder
            const QString fileName = storeReceivedFile(tab, QStringLiteral("mc-") + key, attachment);
            ++stored;
            if (fileName.isEmpty())
                continue;
            // Whole references only: attachment 1 never touches "%10".
            html.replace(QStringLiteral("src=\"%%1\"").arg(i + 1),
                         QStringLiteral("src=\"%1\"").arg(fileName.toHtmlEscaped()));
            lastFile = fileName;
        }
    }

    const CZuBuddy buddy(sender.toUInt());
    const QString nickname = nicknameOf(sender);
    if (!html.isEmpty())
        tab->appendMultiChatMessage(html, nickname, sender, isMobileType(buddy.ClientType()));
    else if (!lastFile.isEmpty())
        html = tab->appendReceivedPushMessage(lastFile, nickname, sender);
    // The sender's cards from the index by id, not a walk over every card of
    // a busy group for each message.
    for (const QPointer<ZContactCard> &card : cards.values(sender)) {
        if (card && card->isTyping() && tab->cardList->isAncestorOf(card))
            card->setTyping(false);
    }
    ZDesktop::flashWindow(tab->window(), true);
    answer(request);
    if (!html.isEmpty())
        logMessage(tab, sender, nickname, html, Zr::Received);
}

// ---------------------------------------------------------------------------
// The end of a session

void Chat::slotMultichatUserKicked(RequestHandler *, Request *request)
{
    QString key;
    quint32 id = 0;
    if (readMultichatId(*request->protocol(), 0, &id, &key)) {
        ZChatTab *tab = firstTab(multichatWindow(key));
        if (tab && tab->multichat) {
            tab->appendSystemMessage(
                tr("You have been kicked out of the Multi Chat. New messages will not be delivered."));
            tab->input->setReadOnly(true);
        }
    }
    answer(request);
}

void Chat::slotMultichatClosed(RequestHandler *, Request *request)
{
    QString key;
    quint32 id = 0;
    if (readMultichatId(*request->protocol(), 0, &id, &key)) {
        ZChatTab *tab = firstTab(multichatWindow(key));
        if (tab && tab->multichat) {
            tab->appendSystemMessage(
                tr("The Multi Chat session has been cancelled. New messages will not be delivered."));
            tab->input->setReadOnly(true);
            tab->multichatId = ZChatTab::noId;
            // Nothing more may be sent about a session that is gone.
            multichatInfo.remove(key);
        }
    }
    answer(request);
}

} // namespace zubrel
