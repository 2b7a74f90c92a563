#include "chat.h"

#include <QDesktopServices>
#include <QDir>
#include <QResource>
#include <QScrollBar>

#include "chatargs.h"
#include "historypager.h"
#include "czubuddy_administrator.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "zchatlogger.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdesktop.h"
#include "zdir.h"
#include "zsafepath.h"
#include "zmessageview.h"
#include "zplatform.h"

namespace zubrel {

QStringList Chat::blockList;
QStringList Chat::hideList;
QStringList Chat::invisibleList;

namespace {

using IncomingSlot = void (Chat::*)(RequestHandler *, Request *);

struct IncomingCommand
{
    ushort a;
    ushort b;
    IncomingSlot slot;
};

// Registration order is part of the host contract: handlers of one command
// run in the order they were registered.
const IncomingCommand incomingCommands[] = {
    {1, 0xF0A0, &Chat::slotNewChat},
    {4, 0xF187, &Chat::slotNewChat2},
    {1, 0xF102, &Chat::slotBlocklist},
    {1, 0xF104, &Chat::slotInvisiblelist},
    {1, 0xF105, &Chat::slotHidelist},
    {4, 0xF0A1, &Chat::slotNewMessage},
    {4, 0xF162, &Chat::slotSlideshow},
    {4, 0xF166, &Chat::slotSlideshow},
    {4, 0x8001, &Chat::slotNewMessage},
    {4, 0x8003, &Chat::slotIsTyping},
    {4, 0x8004, &Chat::slotNoLogRequest},
    {4, 0x8005, &Chat::slotNoLogResponse},
    {4, 0x8012, &Chat::slotMultichatInvitation},
    {4, 0x800E, &Chat::slotMultichatJoined},
    {4, 0x800F, &Chat::slotMultichatLeaved},
    {4, 0x8014, &Chat::slotMultichatIsTyping},
    {4, 0x8013, &Chat::slotMultichatMessage},
    {4, 0x8010, &Chat::slotMultichatUserKicked},
    {4, 0x8011, &Chat::slotMultichatClosed},
    {1, 0xF0A7, &Chat::slotRandomChat},
    {4, 0x8040, &Chat::slotRandomMatch},
    {4, 0x8042, &Chat::slotRandomIsTyping},
    {4, 0x8041, &Chat::slotRandomMessage},
    {4, 0x8043, &Chat::slotRandomLeft},
    {4, 0xF0C7, &Chat::slotImcommIsTyping},
    {4, 0xF0C6, &Chat::slotImcommMessage},
    {4, 0x8015, &Chat::slotAction},
};

constexpr int cardWidth = 153;
constexpr int cardHeight = 72;

// A skin name becomes part of a file path: only a plain file name may.
bool isPlainSkinName(const QString &name)
{
    return ZSafePath::isSafeName(name); // the mandator name comes from the network
}

const QStringList sipSchemes = {QStringLiteral("sip"), QStringLiteral("sips")};
const QStringList ftpSchemes = {QStringLiteral("ftp"), QStringLiteral("ftps"), QStringLiteral("sftp")};

QString skinFile(const QString &name)
{
    return QStringLiteral("%1/skins/%2.res").arg(ZDir::applicationPath(), name);
}

} // namespace

Chat::Chat(WrapPluginHelper *helper)
    : QObject(helper)
    , m_helper(helper)
{
    setObjectName(QStringLiteral("zubrel::Chat"));

    connect(CZuBuddy_Administrator::Instance(), &CZuBuddy_Administrator::OnBuddyChanged, this,
            &Chat::slotContactChanged);

    for (const QString &scheme : sipSchemes)
        QDesktopServices::setUrlHandler(scheme, this, "slotSip");
    for (const QString &scheme : ftpSchemes)
        QDesktopServices::setUrlHandler(scheme, this, "slotFtp");

    // The mandator name picks the skin resource file.
    Protocol mandator(ProtocolCommand(1, 0x0029));
    QPointer<Request> request = m_helper->createRequest(mandator, nullptr);
    connect(request, &Request::onSuccess, this, &Chat::slotMandator);
    connect(request, &Request::onFailed, this, &Chat::slotMsgFailed);
    m_helper->sendRequest(request);

    registerCommands();
}

Chat::~Chat()
{
    // The module never destroys its controller; hosts and tests that do must
    // not leave the desktop calling into a dead handler.
    for (const QString &scheme : sipSchemes + ftpSchemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

void Chat::registerCommands()
{
    for (const IncomingCommand &command : incomingCommands) {
        const QPointer<RequestHandler> handler = m_helper->setOnCommand(command.a, command.b, nullptr);
        if (handler)
            connect(handler, &RequestHandler::onFunction, this, command.slot);
    }
}

QVariantMap Chat::registry() const
{
    auto windows = [](const QHash<QString, QPointer<ZChat>> &hash) {
        QVariantMap map;
        for (auto it = hash.cbegin(); it != hash.cend(); ++it) {
            if (it.value())
                map.insert(it.key(), QVariant::fromValue<QObject *>(it.value().data()));
        }
        return map;
    };
    QVariantMap cardCounts;
    for (auto it = cards.cbegin(); it != cards.cend(); ++it) {
        if (it.value())
            cardCounts.insert(it.key(), cardCounts.value(it.key()).toInt() + 1);
    }
    int inFlight = 0;
    for (const QPointer<ZChatTab> &tab : requestTabs) {
        if (tab)
            ++inFlight;
    }
    return {
        {QStringLiteral("chats"), windows(chats)},
        {QStringLiteral("multichats"), windows(multichats)},
        {QStringLiteral("randomChats"), windows(randomChats)},
        {QStringLiteral("pendingRandomChat"), QVariant::fromValue<QObject *>(pendingRandomChat.data())},
        {QStringLiteral("cards"), cardCounts},
        {QStringLiteral("requestTabs"), inFlight},
    };
}

// ---------------------------------------------------------------------------
// Shared helpers

ZChatTab *Chat::senderTab() const
{
    return qobject_cast<ZChatTab *>(sender());
}

ZChatTab *Chat::firstTab(const ZChat *window)
{
    return window ? window->tabs().value(0, nullptr) : nullptr;
}

ZContactCard *Chat::partnerCard(const ZChatTab *tab)
{
    return tab && tab->cardList ? tab->cardList->currentCard() : nullptr;
}

QString Chat::partnerId(const ZChatTab *tab)
{
    const ZContactCard *card = partnerCard(tab);
    return card ? card->zubrelId() : QString();
}

bool Chat::isOtherNetwork(const QString &zubrelId)
{
    const int messenger = CZuBuddy(zubrelId.toUInt()).Messenger();
    return messenger == Zr::BridgedNetwork || messenger == Zr::OtherBridgedNetwork;
}

bool Chat::isMobileClient(const QString &zubrelId)
{
    const int client = CZuBuddy(zubrelId.toUInt()).ClientType();
    return client == Zr::MobileClientType || client == Zr::MobileWebClientType;
}

int Chat::logKind(const ZChatTab *tab)
{
    if (tab->multichat)
        return MultiChatLog;
    if (tab->randomChat)
        return RandomChatLog;
    return OneToOneLog;
}

ZChatLogger *Chat::loggerOf(ZChatTab *tab) const
{
    switch (logKind(tab)) {
    case MultiChatLog:
        return multichatLoggers.value(tab);
    case RandomChatLog:
        return randomChatLoggers.value(tab);
    default:
        return chatLoggers.value(tab);
    }
}

void Chat::watchTab(ZChatTab *tab)
{
    // The tab is already half destroyed here: only its address is used.
    connect(tab, &QObject::destroyed, this, [this, tab] {
        chatLoggers.remove(tab);
        randomChatLoggers.remove(tab);
        multichatLoggers.remove(tab);
        requestTabs.removeIf([tab](const auto &entry) {
            return entry.value().isNull() || entry.value().data() == tab;
        });
    });
}

void Chat::fileCard(const QString &zubrelId, ZContactCard *card)
{
    cards.insert(zubrelId, card);
    connect(card, &QObject::destroyed, this, [this, card] {
        cards.removeIf([card](const auto &entry) {
            return entry.value().isNull() || entry.value().data() == card;
        });
    });
}

ZChat *Chat::chatWindow(const QString &zubrelId) const
{
    return chats.value(zubrelId).data();
}

void Chat::sendFireAndForget(Protocol &protocol, int module)
{
    QPointer<Request> request = m_helper->createRequest(protocol, nullptr);
    if (!request)
        return;
    connect(request, &Request::onSuccess, this, &Chat::slotMsgSuccess);
    connect(request, &Request::onFailed, this, &Chat::slotMsgFailed);
    if (module < 0)
        m_helper->sendRequest(request);
    else
        m_helper->sendRequestToModule(request, ushort(module));
}

void Chat::answer(Request *request)
{
    m_helper->requestSucceeded(request, nullptr);
}

void Chat::logMessage(ZChatTab *tab, const MessageStruct &record)
{
    if (!tab || tab->noLog)
        return;
    if (ZChatLogger *logger = loggerOf(tab))
        logger->appendMessage(record);
}

void Chat::logMessage(ZChatTab *tab, const QString &contact, const QString &alias, const QString &message,
                      Zr::ChatDirection direction)
{
    if (!tab)
        return;
    MessageStruct record;
    record.contact = contact;
    record.time = QDateTime::currentDateTime();
    record.message = message;
    record.alias = alias;
    record.chatKind = logKind(tab);
    record.direction = direction;
    logMessage(tab, record);
}

// ---------------------------------------------------------------------------
// Opening chats

void Chat::newChat(QString zubrelId)
{
    if (chatWindow(zubrelId))
        return;

    auto *window = new ZChat; // disposes of itself when closed
    connect(window, &ZChat::action, this, &Chat::slotChatAction);
    connect(window, &ZChat::activated, this, &Chat::slotActivatedChat);
    connect(window, &ZChat::droppedFiles, this, &Chat::slotDroppedFiles);
    connect(window, &ZChat::hid, this, &Chat::slotDeleteChat);

    auto *tab = new ZChatTab; // owned by the window's tab widget once added
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

    const CZuBuddy buddy(zubrelId.toUInt());
    auto *partner = new ZContactCard; // owned by the card list
    connect(partner, &ZContactCard::actionId, this, &Chat::slotCardAction);
    connect(partner, &ZContactCard::avatarClicked, this, &Chat::slotAvatarClicked);
    fillCard(partner, buddy, zubrelId);
    partner->setMinimumSize(cardWidth, cardHeight);
    partner->setMaximumSize(cardWidth, cardHeight);
    partner->setGeneralApp(isOtherNetwork(zubrelId) ? 0 : 1);
    partner->setMobile(isMobileClient(zubrelId));
    tab->cardList->addCard(partner);
    fileCard(zubrelId, partner);

    ZContactCard *own = tab->ownCard;
    connect(own, &ZContactCard::actionId, this, &Chat::slotCardAction);
    connect(own, &ZContactCard::avatarClicked, this, &Chat::slotAvatarClicked);
    connect(own, &ZContactCard::newAvatar, this, &Chat::slotNewAvatar);
    const CZuBuddy user = CZuBuddy::CurrentUser();
    fillCard(own, user, QString::number(user.Id()));
    own->setOwn(true);
    // The card keeps an int: ids from 2^31 up keep their bits and are read
    // back as unsigned, never as 0 or a negative number.
    own->setInternalId(int(zubrelId.toUInt()));
    own->setMobile(false);
    fileCard(QString::number(user.Id()), own);

    if (ZChatLogger *logger = createLogger(zubrelId, tab, OneToOneLog)) {
        replayHistory(tab, logger);
        chatLoggers.insert(tab, logger);
    }

    window->addTab(tab);
    if (QScrollBar *bar = tab->view->verticalScrollBar())
        bar->setValue(bar->maximum());
    chats.insert(zubrelId, window);
    // A window deleted without reporting hid() must not stay registered.
    connect(window, &QObject::destroyed, this, [this, window] {
        chats.removeIf([window](const auto &entry) {
            return entry.value().isNull() || entry.value().data() == window;
        });
    });

    if (isOtherNetwork(zubrelId)) {
        tab->setEncrypted(false);
        tab->setOtherNetwork(true);
        window->setupReducedMenu();
    } else {
        tab->setEncrypted(true);
    }

    showNotices(tab, partner, zubrelId);
    window->restoreChatGeometry();
}

void Chat::fillCard(ZContactCard *card, const CZuBuddy &buddy, const QString &zubrelId)
{
    CZuBuddy_Administrator::Instance()->fetchPictureOf(buddy);
    card->setZubrelId(zubrelId);
    card->setAlias(buddy.IsNicknameValid() ? buddy.Nickname() : QString());
    card->setAvatar(buddy.IsPictureValid() ? buddy.Picture(true) : QPixmap(), false);
    card->setStatus(1);
    if (buddy.IsUserStateValid())
        card->setStatus(buddy.UserState());
}

ZChatLogger *Chat::createLogger(const QString &id, ZChatTab *tab, int kind)
{
    ZChatLogger *logger = ZChatLogger::create(id, tab, kind);
    // Problems of the history itself are shown in the chat that ran into
    // them, as an error line: the user keeps chatting, nothing pops up.
    if (logger)
        connect(logger, &ZChatLogger::notice, tab, &ZChatTab::appendErrorMessage);
    return logger;
}

void Chat::replayHistory(ZChatTab *tab, ZChatLogger *logger)
{
    // The records a chat opens with, and older ones as the user scrolls up.
    auto *pager = new HistoryPager(tab, logger);
    pager->showNewest(historyReplayCount);
}

void Chat::showNotices(ZChatTab *tab, ZContactCard *partner, const QString &zubrelId)
{
    if (blockList.contains(zubrelId)) {
        partner->setBlocked(true);
        tab->appendBlockedMessage(
            tr("This contact is blocked and will not be able to send you further messages."));
    }
    if (hideList.contains(zubrelId))
        tab->appendNotifyMessage(tr("This contact is on you hide list and will not be able to see your status."));
    const int ownStatus = tab->ownCard->status();
    if (ownStatus == 6 || ownStatus == 7 || invisibleList.contains(zubrelId))
        tab->appendNotifyMessage(tr("This contact will not be able to see your status. You are invisible for him."));
}

void Chat::slotNewChat(RequestHandler *, Request *request)
{
    QString id;
    ZChat *window = nullptr;
    bool wasOpen = false;
    if (Internal::readContactId(*request->protocol(), 0, &id)) {
        wasOpen = chatWindow(id) != nullptr;
        newChat(id);
        window = chatWindow(id);
    }
    if (!window) {
        answer(request); // nothing to open: still answered, once
        return;
    }
    Protocol reply(ProtocolCommand(4, 0x0000));
    reply.addArg(ProtocolArg(6, 0, int(window->winId())));
    m_helper->requestSucceeded(request, &reply);
    window->showNormal();
    // Opening a contact again brings its chat to the front, even when it
    // hides behind other windows.
    if (wasOpen)
        ZPlatform::instance()->raiseAndActivate(window);
}

void Chat::slotNewChat2(RequestHandler *, Request *request)
{
    QString id;
    if (Internal::readContactId(*request->protocol(), 0, &id)) {
        newChat(id);
        if (ZChat *window = chatWindow(id)) {
            ZPlatform::instance()->showMinimizedNoActivate(window);
            ZDesktop::flashWindow(window, true);
        }
    }
    answer(request);
}

// ---------------------------------------------------------------------------
// Activation and closing

void Chat::slotActivatedChat()
{
    auto *window = qobject_cast<ZChat *>(sender());
    if (!window)
        return;
    window->show();
    sendActivation(firstTab(window));
}

void Chat::slotActivatedTab()
{
    if (ZChatTab *tab = senderTab())
        sendActivation(tab);
}

void Chat::sendActivation(ZChatTab *tab)
{
    // An empty user list reports an empty id: the host then knows no
    // one-to-one partner is in front.
    const QString id = tab && tab->cardList && tab->cardList->size() > 0 ? partnerId(tab) : QString();
    Protocol protocol(ProtocolCommand(4, 0xF0A3));
    protocol.addArg(ProtocolArg(6, 1, id));
    sendFireAndForget(protocol);
}

void Chat::slotDeleteChat()
{
    auto *window = qobject_cast<ZChat *>(sender());
    // A slideshow answer after this must not place anything beside a
    // window that is closing.
    if (slideshowWindow == window)
        slideshowWindow.clear();
    ZChatTab *tab = firstTab(window);
    if (!tab)
        return;
    if (tab->multichat) {
        const QString key = QStringLiteral("%1").arg(tab->multichatId);
        multichats.remove(key);
        multichatInfo.remove(key);
    } else if (tab->randomChat) {
        const QString key = QStringLiteral("%1").arg(tab->randomChatId);
        randomChats.remove(key);
        randomChatInfo.remove(key);
    } else {
        const QString id = partnerId(tab);
        // Only forget the registration if it is this window's.
        if (chats.value(id) == window)
            chats.remove(id);
    }
    QList<ZContactCard *> shown;
    for (int i = 0; i < tab->cardList->size(); ++i)
        shown.append(tab->cardList->card(i));
    shown.append(tab->ownCard);
    cards.removeIf([&shown](const auto &entry) {
        return entry.value().isNull() || shown.contains(entry.value().data());
    });
}

// ---------------------------------------------------------------------------
// Completion of fire-and-forget requests

void Chat::slotMandator(Request *request)
{
    const Protocol *response = request->response();
    QString name;
    if (response->argCount() == 1 && Internal::readText(*response, 0, &name) && isPlainSkinName(name)) {
        QResource::unregisterResource(skinFile(QStringLiteral("zubrel")));
        QResource::registerResource(skinFile(name));
    }
    m_helper->freeRequest(request);
}

void Chat::slotMsgSuccess(Request *request)
{
    requestTabs.remove(request->id());
    m_helper->freeRequest(request);
}

void Chat::slotMsgFailed(Request *request)
{
    requestTabs.remove(request->id());
    m_helper->freeRequest(request);
}

} // namespace zubrel
