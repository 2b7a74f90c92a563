// Random chats: the host starts a search, the user confirms it in the search
// dialog, a window waits for the stranger the server matches, the two talk
// until one of them leaves. Each window is tied to its own login request, so
// a late answer never lands in another search's window or a closed one.

#include "chat.h"
#include "receivedfiles.h"

#include <QDateTime>

#include "chatargs.h"
#include "czubuddy_administrator.h"
#include "randomchatopen.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "zchatlogger.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdesktop.h"
#include "ztextedit.h"

namespace zubrel {

QPointer<ZChat> Chat::pendingRandomChat;

namespace {

// Argument fields of the random chat commands.
constexpr DataField requestFlagField = 688;
constexpr DataField languageField = 162;
constexpr DataField nicknameField = 703;
constexpr DataField ageField = 58;
constexpr DataField genderField = 57;
constexpr DataField genderCriterionField = 707;
constexpr DataField randomChatField = 706;
constexpr DataField raiseHandleField = 0;
// Random partners show as members of no messenger of the user's own.
constexpr int randomPartnerApp = 15;
constexpr int cardWidth = 153;
constexpr int cardHeight = 72;

// A random chat id: unsigned 32-bit decimal text; 0xFFFFFFFF means none.
bool readRandomChatId(const Protocol &protocol, int index, quint32 *id)
{
    QString text;
    if (!Internal::readText(protocol, index, &text))
        return false;
    bool ok = false;
    const uint value = text.trimmed().toUInt(&ok);
    if (!ok || value == ZChatTab::noId)
        return false;
    *id = value;
    return true;
}

QString keyOf(quint32 id)
{
    return QStringLiteral("%1").arg(id);
}

// Replaces every "%<number>" that is the whole reference: "%1" must not hit
// the start of "%10".
void replaceAttachmentReference(QString &message, int number, const QString &fileName)
{
    const QString reference = QStringLiteral("%%1").arg(number);
    const QString replacement = fileName.toHtmlEscaped();
    int at = 0;
    while ((at = message.indexOf(reference, at)) >= 0) {
        const int end = at + int(reference.size());
        if (end < message.size() && message.at(end).isDigit()) {
            at = end;
            continue;
        }
        message.replace(at, reference.size(), replacement);
        at += int(replacement.size());
    }
}

// The partner of a random chat once matched; null while waiting and after
// the partner left.
ZContactCard *matchedPartner(const ZChatTab *tab)
{
    ZContactCard *card = tab && tab->cardList ? tab->cardList->currentCard() : nullptr;
    return card && !card->zubrelId().isEmpty() ? card : nullptr;
}

} // namespace

// ---------------------------------------------------------------------------
// Search and login

void Chat::slotRandomChat(RequestHandler *, Request *request)
{
    answer(request);
    Protocol protocol(ProtocolCommand(4, 0x0030));
    protocol.addArg(ProtocolArg(6, requestFlagField, 0));
    QPointer<Request> server = m_helper->createRequest(protocol, nullptr);
    if (!server)
        return;
    connect(server, &Request::onSuccess, this, &Chat::slotRandomChatCreate);
    connect(server, &Request::onFailed, this, &Chat::slotMsgFailed);
    m_helper->sendRequest(server);
}

void Chat::slotRandomChatCreate(Request *request)
{
    QString serverText;
    bool ok = false;
    ushort server = 0;
    if (Internal::readText(*request->response(), 0, &serverText))
        server = serverText.trimmed().toUShort(&ok);
    m_helper->freeRequest(request);
    if (!ok)
        return; // no random chat server to log in to

    QList<int> criteria;
    {
        RandomChatOpen dialog;
        Protocol raise(ProtocolCommand(1, 0xF0F2));
        raise.addArg(ProtocolArg(5, raiseHandleField, int(dialog.winId())));
        sendFireAndForget(raise);
        if (dialog.ask() == 1)
            criteria = {0, 0};
    }
    if (criteria.isEmpty())
        return; // cancelled: nothing remains

    ZChat *window = openRandomChatWindow();
    pendingRandomChat = window;
    sendRandomChatLogin(window, server, criteria);
}

ZChat *Chat::openRandomChatWindow()
{
    auto *window = new ZChat; // disposes of itself when closed
    connect(window, &ZChat::action, this, &Chat::slotChatAction);
    connect(window, &ZChat::hid, this, &Chat::slotDeleteChat);
    // A window closed while logging in is no longer waited for.
    connect(window, &ZChat::hid, this, [this, window] {
        if (pendingRandomChat == window)
            pendingRandomChat = nullptr;
        for (QPointer<ZChat> &waiting : randomChatLogins) {
            if (waiting == window)
                waiting = nullptr;
        }
    });
    connect(window, &QObject::destroyed, this, [this, window] {
        randomChats.removeIf([window](const auto &entry) {
            return entry.value().isNull() || entry.value().data() == window;
        });
    });

    auto *tab = new ZChatTab; // owned by the window's tab widget once added
    // Bound to the tab rather than found through sender(), which walks
    // every connection into this object (two per card of a busy group).
    connect(tab, &ZChatTab::activated, this, [this, guarded = QPointer<ZChatTab>(tab)] {
        if (guarded)
            sendActivation(guarded);
    });
    connect(tab, &ZChatTab::sendHtml, this, qOverload<QString>(&Chat::slotNewMessage));
    connect(tab, &ZChatTab::typing, this, &Chat::slotSendTyping);
    watchTab(tab);

    // The partner's card waits hidden until the server names the partner.
    auto *partner = new ZContactCard; // owned by the card list
    connect(partner, &ZContactCard::actionId, this, &Chat::slotCardAction);
    connect(partner, &ZContactCard::avatarClicked, this, &Chat::slotAvatarClicked);
    partner->setAlias(QString());
    partner->setAvatar(QPixmap(), false);
    partner->setMinimumSize(cardWidth, cardHeight);
    partner->setMaximumSize(cardWidth, cardHeight);
    partner->setGeneralApp(randomPartnerApp);
    tab->cardList->addCard(partner);
    partner->hide();

    ZContactCard *own = tab->ownCard;
    connect(own, &ZContactCard::actionId, this, &Chat::slotCardAction);
    connect(own, &ZContactCard::avatarClicked, this, &Chat::slotAvatarClicked);
    connect(own, &ZContactCard::newAvatar, this, &Chat::slotNewAvatar);
    const CZuBuddy user = CZuBuddy::CurrentUser();
    const QString userId = QString::number(user.Id());
    fillCard(own, user, userId);
    own->setOwn(true);
    own->setMobile(false);
    fileCard(userId, own);

    tab->setRandomChat(true);
    tab->input->setReadOnly(true);
    tab->setEncrypted(true);
    window->addTab(tab);
    window->setupRandomChatMenu();
    window->restoreChatGeometry();
    window->show();
    return window;
}

void Chat::sendRandomChatLogin(ZChat *window, ushort server, const QList<int> &criteria)
{
    const CZuBuddy user = CZuBuddy::CurrentUser();
    ProtocolCommand command(4, 0x0031);
    command.setApplicationServerId(server);
    Protocol protocol(command);
    protocol.addArg(ProtocolArg(4, languageField, criteria.value(1)));
    protocol.addArg(ProtocolArg(6, requestFlagField, 0));
    protocol.addArg(ProtocolArg(0x20, nicknameField, user.Nickname()));
    protocol.addArg(ProtocolArg(2, ageField, user.ProfileValue(QStringLiteral("DF_AGE")).toInt()));
    protocol.addArg(ProtocolArg(2, genderField, user.ProfileValue(QStringLiteral("DF_GENDER")).toInt()));
    if (criteria.value(0) != 0)
        protocol.addArg(ProtocolArg(2, genderCriterionField, criteria.value(0)));

    QPointer<Request> login = m_helper->createRequest(protocol, nullptr);
    if (!login)
        return;
    randomChatLogins.insert(login->id(), window);
    connect(login, &Request::onSuccess, this, &Chat::slotRandomChatLogin);
    connect(login, &Request::onFailed, this, &Chat::slotRandomChatLoginFailed);
    m_helper->sendRequest(login);
}

void Chat::slotRandomChatLogin(Request *request)
{
    quint32 id = ZChatTab::noId;
    if (!readRandomChatId(*request->response(), 0, &id)) {
        slotRandomChatLoginFailed(request); // an answer without a usable id
        return;
    }
    const QPointer<ZChat> window = randomChatLogins.take(request->id());
    const ushort server = request->response()->command().applicationServerId();
    m_helper->freeRequest(request);
    if (pendingRandomChat == window)
        pendingRandomChat = nullptr;

    const QString key = keyOf(id);
    ZChatTab *tab = firstTab(window);
    if (!tab) {
        // Nobody waits in this session any more: the server hears so at
        // once instead of matching a stranger with a closed window.
        sendRandomChatQuit(id, server);
        return;
    }
    if (randomChats.value(key)) {
        // The id belongs to a chat already running; that one keeps it.
        tab->appendErrorMessage(tr("The Random Chat could not be started."));
        return;
    }
    tab->randomChatId = id;
    tab->appendSystemMessage(tr("Waiting for other contact(s) to join."));
    randomChats.insert(key, window);
    // Every random chat is logged under the same id, so what lies before this
    // one belongs to earlier strangers: no scroll-back into it.
    if (ZChatLogger *logger = createLogger(QStringLiteral("0"), tab, RandomChatLog))
        randomChatLoggers.insert(tab, logger);
    randomChatInfo.insert(key, {key, QString::number(server)});
}

void Chat::slotRandomChatLoginFailed(Request *request)
{
    // The window stays the pending one (until the next search or its
    // closing), saying why it waits no more.
    const QPointer<ZChat> window = randomChatLogins.take(request->id());
    m_helper->freeRequest(request);
    if (ZChatTab *tab = firstTab(window))
        tab->appendErrorMessage(tr("The Random Chat could not be started."));
}

void Chat::sendRandomChatQuit(quint32 id, ushort server)
{
    ProtocolCommand command(4, 0x0032);
    command.setApplicationServerId(server);
    Protocol protocol(command);
    protocol.addArg(ProtocolArg(6, randomChatField, int(id)));
    sendFireAndForget(protocol);
}

// ---------------------------------------------------------------------------
// The server's notices

ZChat *Chat::randomChatWindow(const Protocol &protocol) const
{
    quint32 id = ZChatTab::noId;
    if (!readRandomChatId(protocol, 0, &id))
        return nullptr;
    return randomChats.value(keyOf(id)).data();
}

void Chat::slotRandomMatch(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    ZChatTab *tab = firstTab(randomChatWindow(protocol));
    ZContactCard *card = tab ? tab->cardList->currentCard() : nullptr;
    QString partnerId;
    // Only a window still waiting takes a partner.
    if (!card || !card->zubrelId().isEmpty() || !Internal::readContactId(protocol, 1, &partnerId)) {
        answer(request);
        return;
    }
    QString alias;
    Internal::readText(protocol, 2, &alias);

    const CZuBuddy partner(partnerId.toUInt());
    CZuBuddy_Administrator::Instance()->FetchFromUserDataServer(partner);
    card->setZubrelId(partnerId);
    card->setAlias(alias);
    card->setAvatar(partner.IsPictureValid() ? partner.Picture(true) : QPixmap(), false);
    card->setStatus(1);
    card->setGeneralApp(randomPartnerApp);
    card->show();
    fileCard(partnerId, card);
    tab->appendSystemMessage(tr("%1 has matched for your Random Chat.").arg(alias.toHtmlEscaped()));
    tab->input->setReadOnly(false);
    answer(request);
}

void Chat::slotRandomIsTyping(RequestHandler *, Request *request)
{
    if (ZContactCard *partner = matchedPartner(firstTab(randomChatWindow(*request->protocol()))))
        partner->setTyping(true);
    answer(request);
}

void Chat::slotRandomMessage(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    ZChat *window = randomChatWindow(protocol);
    ZChatTab *tab = firstTab(window);
    ZContactCard *partner = matchedPartner(tab);
    QByteArray bytes;
    if (!partner || !Internal::readBytes(protocol, 1, &bytes)) {
        answer(request); // nobody to show it to, or nothing to show
        return;
    }
    QString message = QString::fromUtf8(bytes);
    const int argCount = protocol.argCount();
    if (argCount >= 4) {
        int count = 0;
        Internal::readInt(protocol, 2, &count);
        // A count beyond the attachments present reads only those present.
        count = qBound(0, count, argCount - 3);
        for (int i = 0, stored = 0; i < count && stored < ReceivedFiles::MaxFilesPerMessage; ++i) {
            QByteArray attachment;
            if (!ReceivedFiles::wanted(message, i + 1, count) || !Internal::readBytes(protocol, 3 + i, &attachment))
                continue; // keeps its reference
            const QString fileName = storeReceivedFile(tab, QStringLiteral("rc-%1").arg(tab->randomChatId), attachment);
            if (!fileName.isEmpty()) {
                replaceAttachmentReference(message, i + 1, fileName);
                ++stored;
            }
        }
    }

    tab->appendIncomingMessage(message, QDateTime::currentDateTime(), false, false);
    partner->setTyping(false);
    ZDesktop::flashWindow(window, true);
    answer(request);
    // The log keeps both sides of the conversation, as for every other chat.
    logMessage(tab, partner->zubrelId(), partner->alias(), message, Zr::Received);
}

void Chat::slotRandomLeft(RequestHandler *, Request *request)
{
    ZChatTab *tab = firstTab(randomChatWindow(*request->protocol()));
    if (ZContactCard *partner = matchedPartner(tab)) {
        tab->appendSystemMessage(tr("The user has left the chat. New messages will not be delivered."));
        tab->input->setReadOnly(true);
        cards.removeIf([partner](const auto &entry) {
            return entry.value().isNull() || entry.value().data() == partner;
        });
        tab->cardList->removeCard(partner);
    }
    answer(request);
}

// ---------------------------------------------------------------------------
// Chat actions of a random chat tab

void Chat::quitRandomChat(ZChatTab *tab)
{
    if (!tab || !tab->randomChat)
        return;
    const QString key = keyOf(tab->randomChatId);
    // Without a session there is nothing to quit on the server.
    if (tab->randomChatId == ZChatTab::noId || !randomChatInfo.contains(key))
        return;
    sendRandomChatQuit(tab->randomChatId, randomChatInfo.value(key).value(1).toUShort());
}

} // namespace zubrel
