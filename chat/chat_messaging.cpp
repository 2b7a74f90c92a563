// Messages, push clips and typing notices between a tab and the network.
// One-to-one tabs address the partner; multi chat and random chat tabs use
// the same send path with their own command, addressing argument and
// application server. Contacts on bridged networks go through module 0xF000.

#include "chat.h"
#include "receivedfiles.h"

#include <QDateTime>
#include <QFile>

#include "chatargs.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "zchatlogger.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdatetime.h"
#include "zdesktop.h"
#include "zdir.h"
#include "zmessagebox.h"
#include "zplatform.h"

namespace zubrel {

namespace {

const QString pictureMarker = QStringLiteral("img src=\"");
// Messages of 99 KiB and more (text plus pictures) are refused by the server.
constexpr qint64 sizeLimitKiB = 99;
constexpr ushort otherNetworkModule = 0xF000;

// Argument fields of the message commands.
constexpr DataField partnerField = 9;
constexpr DataField multichatField = 634;
constexpr DataField randomChatField = 706;
constexpr DataField pictureCountField = 637;
constexpr DataField messageField = 10;
constexpr DataField attachmentField = 0;
constexpr DataField otherNetworkPartnerField = 1;

// The input may hand over a picture as a file URL or as a plain path.
QString localFile(const QString &source)
{
    if (source.startsWith(QLatin1String("file:")))
        return QUrl(source).toLocalFile();
    return source;
}

// Replaces the image source "%<number>" and nothing else: "%1" must neither
// hit "%10" nor a "%1" the sender typed as text.
void replacePictureReference(QString &html, int number, const QString &fileName)
{
    const QString reference = QStringLiteral("src=\"%%1\"").arg(number);
    const int at = html.indexOf(reference);
    if (at >= 0)
        html.replace(at, reference.size(), QStringLiteral("src=\"%1\"").arg(fileName.toHtmlEscaped()));
}

} // namespace

// ---------------------------------------------------------------------------
// Sending

bool Chat::buildOutgoing(ZChatTab *tab, Protocol &protocol, bool typing) const
{
    if (tab->multichat) {
        const QString key = QStringLiteral("%1").arg(tab->multichatId);
        ProtocolCommand command(4, typing ? 0x000D : 0x000C);
        command.setApplicationServerId(multichatInfo.value(key).value(2).toUShort());
        protocol.setCommand(command);
        protocol.addArg(ProtocolArg(6, multichatField, int(tab->multichatId)));
        return true;
    }
    if (tab->randomChat) {
        const QString key = QStringLiteral("%1").arg(tab->randomChatId);
        // Before the login and after the session ended there is no one to
        // address.
        if (tab->randomChatId == ZChatTab::noId || !randomChatInfo.contains(key))
            return false;
        ProtocolCommand command(4, typing ? 0x0034 : 0x0033);
        command.setApplicationServerId(randomChatInfo.value(key).value(1).toUShort());
        protocol.setCommand(command);
        protocol.addArg(ProtocolArg(6, randomChatField, int(tab->randomChatId)));
        return true;
    }
    const QString partner = partnerId(tab);
    if (partner.isEmpty())
        return false; // a one-to-one tab without partner has nobody to address
    protocol.setCommand(ProtocolCommand(4, typing ? 0x0003 : 0x0001));
    protocol.addArg(ProtocolArg(6, partnerField, partner));
    return true;
}

void Chat::slotNewMessage(QString message)
{
    // Guarded: a modal box below runs an event loop in which the tab may close.
    QPointer<ZChatTab> tab = senderTab();
    if (!tab)
        return;
    const QString partner = partnerId(tab);
    const bool oneToOne = !tab->multichat && !tab->randomChat;
    if (oneToOne && !partner.isEmpty() && isOtherNetwork(partner)) {
        Protocol protocol(ProtocolCommand(0xF000, 0xF0C6));
        protocol.addArg(ProtocolArg(32, otherNetworkPartnerField, partner));
        protocol.addArg(ProtocolArg(32, 0, message));
        QPointer<Request> request = m_helper->createRequest(protocol, nullptr);
        requestTabs.insert(request->id(), tab);
        connect(request, &Request::onSuccess, this, &Chat::slotMsgSuccess);
        connect(request, &Request::onFailed, this, &Chat::slotMessageFailed);
        m_helper->sendRequestToModule(request, otherNetworkModule);
        logMessage(tab, tab->ownCard->zubrelId(), tab->ownCard->alias(), message, Zr::Sent);
        return;
    }

    // Local pictures travel as numbered attachments; built-in resources
    // (":/" emoticons) are known to the receiver and stay as they are.
    QString copy = message;
    QList<QByteArray> pictures;
    int position = 0;
    while (true) {
        const int marker = copy.indexOf(pictureMarker, position);
        if (marker < 0)
            break;
        const int start = marker + int(pictureMarker.size());
        const int end = copy.indexOf(u'"', start);
        if (end < 0)
            break;
        const QString path = copy.mid(start, end - start);
        if (path.startsWith(QLatin1String(":/"))) {
            position = end;
            continue;
        }
        QFile file(localFile(path));
        if (!file.open(QIODevice::ReadOnly))
            return; // the message is dropped as a whole, silently
        const QString reference = QStringLiteral("%%1").arg(pictures.size() + 1);
        copy.replace(start, end - start, reference);
        pictures.append(file.readAll());
        position = start + int(reference.size());
    }

    const QByteArray text = copy.toUtf8();
    qint64 total = text.size();
    for (const QByteArray &picture : std::as_const(pictures))
        total += picture.size();
    if (total / 1024 >= sizeLimitKiB) {
        ZMessageBox::information(tab, tr("Zubrel"), tr("Your message is larger than 100kb and cannot be send."));
        return;
    }

    Protocol protocol;
    if (!buildOutgoing(tab, protocol, false))
        return;
    protocol.addArg(ProtocolArg(32, messageField, text));
    // Phones show the references as text and cannot take the attachments;
    // a multi chat's server hands them to every member, phones or not.
    if (!pictures.isEmpty() && (tab->multichat || !isMobileClient(partner))) {
        protocol.addArg(ProtocolArg(4, pictureCountField, int(pictures.size())));
        for (const QByteArray &picture : std::as_const(pictures))
            protocol.addArg(ProtocolArg(32, attachmentField, picture));
    }
    QPointer<Request> request = m_helper->createRequest(protocol, nullptr);
    requestTabs.insert(request->id(), tab);
    connect(request, &Request::onSuccess, this, &Chat::slotMsgSuccess);
    connect(request, &Request::onFailed, this, &Chat::slotMessageFailed);
    m_helper->sendRequest(request);

    noteOfflinePartner(tab);
    logMessage(tab, tab->ownCard->zubrelId(), tab->ownCard->alias(), message, Zr::Sent);
}

void Chat::noteOfflinePartner(ZChatTab *tab)
{
    // In a group the first member's presence says nothing about the others.
    const ZContactCard *partner = tab->multichat ? nullptr : partnerCard(tab);
    if (partner && partner->status() == Zr::Offline)
        tab->appendSystemMessage(
            tr("The user is currently offline and will receive your message as soon as they go online again."));
}

void Chat::slotNewPushMessage(QString fileName)
{
    ZChatTab *tab = senderTab();
    if (!tab || tab->randomChat)
        return; // random partners get no clips
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray clip = file.readAll();

    // A clip is a message without text and with a single attachment.
    Protocol protocol;
    if (!buildOutgoing(tab, protocol, false))
        return;
    protocol.addArg(ProtocolArg(32, messageField, QByteArray()));
    protocol.addArg(ProtocolArg(4, pictureCountField, 1));
    protocol.addArg(ProtocolArg(32, attachmentField, clip));
    sendFireAndForget(protocol);

    const QString shown = tab->appendOwnPushMessage(fileName);
    noteOfflinePartner(tab);
    logMessage(tab, tab->ownCard->zubrelId(), tab->ownCard->alias(), shown, Zr::Sent);
}

void Chat::slotSendTyping()
{
    ZChatTab *tab = senderTab();
    if (!tab)
        return;
    const QString partner = partnerId(tab);
    if (!tab->multichat && !tab->randomChat && !partner.isEmpty() && isOtherNetwork(partner)) {
        Protocol protocol(ProtocolCommand(0xF000, 0xF0C7));
        protocol.addArg(ProtocolArg(32, otherNetworkPartnerField, partner));
        sendFireAndForget(protocol, otherNetworkModule);
        return;
    }
    Protocol protocol;
    if (buildOutgoing(tab, protocol, true))
        sendFireAndForget(protocol);
}

void Chat::slotMessageFailed(Request *request)
{
    uint id = request->response()->command().transactionId();
    if (id == 0)
        id = request->id();
    // The tab may have closed since: a null entry touches nothing.
    const QPointer<ZChatTab> tab = requestTabs.take(id);
    requestTabs.remove(request->id());
    if (tab)
        tab->appendErrorMessage(tr("The message could not be transmitted."));
    m_helper->freeRequest(request);
}

// ---------------------------------------------------------------------------
// Receiving

ZChat *Chat::openForIncoming(const QString &zubrelId)
{
    if (!chatWindow(zubrelId)) {
        newChat(zubrelId);
        if (ZChat *window = chatWindow(zubrelId))
            ZPlatform::instance()->showMinimizedNoActivate(window);
    }
    ZChat *window = chatWindow(zubrelId);
    if (window)
        ZDesktop::flashWindow(window, true);
    return window;
}

QString Chat::storeReceivedFile(ZChatTab *tab, const QString &key, const QByteArray &bytes) const
{
    // One-to-one chats come back with their last log entries, so the files
    // those show are kept when the chat closes.
    const int kept = (tab && !tab->multichat && !tab->randomChat) ? historyReplayCount : 0;
    ReceivedFiles *files = ReceivedFiles::of(tab, key, kept);
    return files ? files->store(bytes) : QString();
}

void Chat::slotNewMessage(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    QString sender;
    QByteArray htmlBytes;
    if (!Internal::readContactId(protocol, 0, &sender) || !Internal::readBytes(protocol, 1, &htmlBytes)) {
        answer(request); // nothing usable: answered and otherwise ignored
        return;
    }
    QString html = QString::fromUtf8(htmlBytes);

    ZChat *window = openForIncoming(sender);
    ZChatTab *tab = firstTab(window);
    if (!tab) {
        answer(request);
        return;
    }

    QDateTime sendTime;
    QStringList files;
    const int argCount = protocol.argCount();
    if (argCount == 3) {
        double winTime = 0;
        if (Internal::readDouble(protocol, 2, &winTime)) {
            sendTime = ZDateTime::fromWinTime(winTime);
            sendTime.setTimeSpec(Qt::UTC);
        }
    } else if (argCount >= 4) {
        int count = 0;
        Internal::readInt(protocol, 2, &count);
        // A count beyond the attachments present reads only those present.
        count = qBound(0, count, argCount - 3);
        for (int number = 1; number <= count && files.size() < ReceivedFiles::MaxFilesPerMessage; ++number) {
            QByteArray bytes;
            if (!ReceivedFiles::wanted(html, number, count) || !Internal::readBytes(protocol, 2 + number, &bytes))
                continue; // keeps its numbered reference
            const QString fileName = storeReceivedFile(tab, sender, bytes);
            if (fileName.isEmpty())
                continue;
            replacePictureReference(html, number, fileName);
            files.append(fileName);
        }
    }

    ZContactCard *partner = partnerCard(tab);
    if (!html.isEmpty()) {
        const bool offline = sendTime.isValid();
        const QDateTime shownTime = offline ? sendTime.toLocalTime() : QDateTime::currentDateTime();
        tab->appendIncomingMessage(html, shownTime, offline, partner && partner->isMobile());
        if (partner)
            partner->setTyping(false);
    } else if (!files.isEmpty()) {
        // A message without text is a push clip.
        html = tab->appendReceivedPushMessage(files.last(), QString(), QString());
    }
    answer(request);

    if (html.isEmpty())
        return;
    logMessage(tab, sender, partner ? partner->alias() : QString(), html, Zr::Received);
}

void Chat::slotImcommMessage(RequestHandler *, Request *request)
{
    const Protocol &protocol = *request->protocol();
    QString sender;
    QString text;
    if (!Internal::readContactId(protocol, 0, &sender) || !Internal::readText(protocol, 2, &text)) {
        answer(request);
        return;
    }
    bool offline = false;
    Internal::readBool(protocol, 1, &offline);

    ZChatTab *tab = firstTab(openForIncoming(sender));
    if (!tab) {
        answer(request);
        return;
    }
    ZContactCard *partner = partnerCard(tab);
    tab->appendIncomingMessage(text, QDateTime::currentDateTime(), offline, false);
    if (partner)
        partner->setTyping(false);
    answer(request);

    logMessage(tab, sender, partner ? partner->alias() : QString(), text, Zr::Received);
}

void Chat::slotIsTyping(RequestHandler *, Request *request)
{
    QString sender;
    // Typing notices never open a chat.
    if (Internal::readContactId(*request->protocol(), 0, &sender)) {
        if (ZContactCard *partner = partnerCard(firstTab(chatWindow(sender))))
            partner->setTyping(true);
    }
    answer(request);
}

void Chat::slotImcommIsTyping(RequestHandler *handler, Request *request)
{
    slotIsTyping(handler, request);
}

} // namespace zubrel
