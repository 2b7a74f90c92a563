#include "xmppbackend.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextDocumentFragment>
#include <QTimer>

#include "request.h"
#include "wrappluginhelper.h"
#include "xmppavatars.h"
#include "xmppdirectory.h"
#include "xmppidmap.h"
#include "xmppmultichats.h"
#include "xmpprandomchats.h"
#include "xmppoutbox.h"
#include "zdatetime.h"

namespace zubrel {

namespace {

constexpr int recentLimit = 2000;
// The body other clients show is cut here; the payload carries it whole.
constexpr qsizetype maxBodyChars = 64 * 1024;

const ProtocolArg *findArg(const QList<ProtocolArg> &args, DataType type, DataField field)
{
    for (const ProtocolArg &arg : args) {
        if (arg.type() == type && arg.field() == field)
            return &arg;
    }
    return nullptr;
}

QString textArg(const QList<ProtocolArg> &args, DataType type, DataField field)
{
    const ProtocolArg *arg = findArg(args, type, field);
    return arg ? arg->variant().toString() : QString();
}

// The numbered attachments that follow the count (4, 637).
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

QString describe(const ProtocolCommand &command, int module)
{
    if (module == 40 || command.a() == 40)
        return QStringLiteral("slideshows and screenshots");
    if (command.isCommand(1, 0x0015) || command.isCommand(4, 0x0015))
        return QStringLiteral("file transfer");
    if (command.isCommand(1, 0xF101))
        return QStringLiteral("web folders");
    if (command.isCommand(1, 0xF00D))
        return QStringLiteral("profile pages");
    if (command.isCommand(1, 0xF100))
        return QStringLiteral("voice calls");
    return QStringLiteral("command (%1, 0x%2)").arg(command.a()).arg(command.b(), 4, 16, QLatin1Char('0'));
}

} // namespace

XmppBackend::XmppBackend(const XmppConnection::Settings &settings, const QString &idFile, QObject *parent)
    : QObject(parent)
    , m_connection(std::make_unique<XmppConnection>(settings))
    , m_ids(std::make_unique<XmppIdMap>(idFile))
{
    m_directory = std::make_unique<XmppDirectory>(m_connection.get(), m_ids.get());
    m_outbox = std::make_unique<XmppOutbox>(m_connection.get());
    m_multichats = std::make_unique<XmppMultichats>(m_connection.get(), m_ids.get(), m_directory.get(), m_outbox.get());
    m_randomChats = std::make_unique<XmppRandomChats>(m_connection.get(), m_ids.get(), m_outbox.get());
    m_avatars = std::make_unique<XmppAvatars>(m_connection.get(), m_ids.get(),
                                              QFileInfo(idFile).dir().filePath(QStringLiteral("pictures")));
    connect(m_directory.get(), &XmppDirectory::contactAppeared, m_avatars.get(), &XmppAvatars::fetch);
    connect(m_directory.get(), &XmppDirectory::changed, this, &XmppBackend::contactsChanged);
    connect(m_outbox.get(), &XmppOutbox::delivered, this, [this](uint id) { complete(id, true); });
    connect(m_outbox.get(), &XmppOutbox::failed, this, [this](uint id) { complete(id, false); });
    connect(m_connection.get(), &XmppConnection::messageReceived, this, &XmppBackend::onMessage);
    connect(m_connection.get(), &XmppConnection::blockList, this, &XmppBackend::onBlockList);
    connect(m_connection.get(), &XmppConnection::blockRequestDone, this,
            [this](uint id, bool success) { complete(id, success); });
    connect(m_connection.get(), &XmppConnection::connected, this,
            [this] { emit statusChanged(tr("Connected as %1").arg(m_connection->bareJid())); });
    connect(m_connection.get(), &XmppConnection::disconnected, this,
            [this](const QString &reason) { emit statusChanged(tr("Offline: %1").arg(reason)); });
}

XmppBackend::~XmppBackend()
{
    stop();
}

uint XmppBackend::selfId() const
{
    return m_directory->selfId();
}

void XmppBackend::start()
{
    m_started = true;
    WrapPluginHelper::Instance()->setBackend(this);
    m_connection->open();
}

void XmppBackend::stop()
{
    if (!m_started)
        return;
    m_started = false;
    if (WrapPluginHelper::Instance()->backend() == this)
        WrapPluginHelper::Instance()->setBackend(nullptr);
    m_connection->close();
}

QString XmppBackend::plainText(const QString &html)
{
    // Pictures become a mark of where they were; the rest is the text.
    QString marked = html;
    marked.replace(QRegularExpression(QStringLiteral("<img[^>]*>"), QRegularExpression::CaseInsensitiveOption),
                   QStringLiteral("[picture]"));
    return QTextDocumentFragment::fromHtml(marked).toPlainText().left(maxBodyChars);
}

QString XmppBackend::htmlOf(const QString &body)
{
    return body.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>"));
}

void XmppBackend::complete(uint requestId, bool success, const QList<ProtocolArg> &args)
{
    WrapPluginHelper::Instance()->completeRequest(requestId, success, args);
}

void XmppBackend::completeLater(uint requestId, bool success, const QList<ProtocolArg> &args)
{
    // Never inside the module's own send call: it files the request after sending.
    QTimer::singleShot(0, this, [this, requestId, success, args] { complete(requestId, success, args); });
}

void XmppBackend::transmit(Request *request, int module)
{
    const ProtocolCommand command = request->protocol()->command();
    const QList<ProtocolArg> args = request->protocol()->args();
    const uint id = request->id();
    if (module == -1 && command.isCommand(1, 2)) {
        completeLater(id, true, {ProtocolArg(DataTypes::Identifier, 0, selfId())});
        return;
    }
    if (module == -1 && command.isCommand(1, 0x0029)) {
        completeLater(id, true, {ProtocolArg(DataTypes::Text, 0, QStringLiteral("zubrel"))});
        return;
    }
    // Requests to the host itself that need no network.
    if (command.isCommand(4, 0xF0A3) || command.isCommand(1, 0xF0F2)) {
        completeLater(id, true);
        return;
    }
    if (module == -1 && command.isCommand(4, 0x0001)) {
        if (!sendChatMessage(request))
            completeLater(id, false);
        return;
    }
    const QString partner = m_ids->jidOf(textArg(args, DataTypes::Identifier, 9).toUInt());
    if (module == -1 && command.isCommand(4, 0x0003)) {
        const bool sent = !partner.isEmpty() && m_connection->isConnected();
        if (sent)
            m_connection->sendChatState(partner, true);
        completeLater(id, sent);
        return;
    }
    const ProtocolArg *shake = findArg(args, DataTypes::Identifier, 673);
    if (module == -1 && command.isCommand(4, 0x0015) && shake && shake->variant().toInt() == 1) {
        const bool sent = !partner.isEmpty() && m_connection->isConnected();
        if (sent)
            m_connection->sendAttention(partner);
        completeLater(id, sent);
        return;
    }
    if (module == -1 && (m_multichats->transmit(request) || m_randomChats->transmit(request)))
        return;
    if (module == -1 && (command.isCommand(4, 0x0004) || command.isCommand(4, 0x0005))) {
        const ProtocolArg *state = findArg(args, DataTypes::Flag, 631);
        const int value = command.b() == 0x0004 ? XmppPayload::noLogRequest : (state && state->variant().toBool()) ? 1 : 0;
        if (!sendNoLog(request, partner, value))
            completeLater(id, false);
        return;
    }
    // The host's own requests address the contact in (6, 1).
    const QString contact = m_ids->jidOf(textArg(args, DataTypes::Identifier, 1).toUInt());
    if (module == -1 && (command.isCommand(1, 0x0021) || command.isCommand(1, 0x0020)) && !contact.isEmpty()) {
        m_connection->setBlocked(contact, command.b() == 0x0021, id);
        return;
    }
    if (module == -1 && command.isCommand(1, 0xF180) && !contact.isEmpty()) {
        m_connection->requestSubscription(contact);
        completeLater(id, m_connection->isConnected());
        return;
    }
    emit notAvailable(describe(command, module));
    completeLater(id, false);
}

bool XmppBackend::sendChatMessage(Request *request)
{
    const QList<ProtocolArg> args = request->protocol()->args();
    const QString partner = m_ids->jidOf(textArg(args, DataTypes::Identifier, 9).toUInt());
    const ProtocolArg *text = findArg(args, DataTypes::Text, 10);
    if (partner.isEmpty() || !text)
        return false;
    XmppOutgoing message;
    message.requestId = request->id();
    message.to = partner;
    message.stanzaId = QStringLiteral("z%1-%2").arg(selfId()).arg(request->id());
    XmppPayload payload;
    payload.html = QString::fromUtf8(text->variant().toByteArray());
    payload.pictures = picturesOf(args);
    message.body = plainText(payload.html);
    message.payload = payload;
    message.noStore = m_privateSessions.contains(partner);
    m_outbox->post(std::move(message));
    return true;
}

bool XmppBackend::sendNoLog(Request *request, const QString &partner, int state)
{
    if (partner.isEmpty())
        return false;
    // The answer and the closing notice decide for this side as well.
    if (state == 1)
        m_privateSessions.insert(partner);
    else if (state == 0)
        m_privateSessions.remove(partner);
    XmppOutgoing message;
    message.requestId = request->id();
    message.to = partner;
    message.stanzaId = QStringLiteral("z%1-%2").arg(selfId()).arg(request->id());
    XmppPayload payload;
    payload.noLogState = state;
    message.payload = payload;
    message.noStore = true;
    m_outbox->post(std::move(message));
    return true;
}

void XmppBackend::onBlockList(const QStringList &jids)
{
    QList<ProtocolArg> args{ProtocolArg(DataTypes::Count, 0, 0)};
    for (const QString &jid : jids) {
        if (const uint id = m_ids->idOf(jid))
            args.append(ProtocolArg(DataTypes::Identifier, 1, QString::number(id)));
    }
    args.first() = ProtocolArg(DataTypes::Count, 0, int(args.size() - 1));
    WrapPluginHelper::Instance()->deliverIncoming(ProtocolCommand(1, 0xF102), args);
}

bool XmppBackend::isDuplicate(const QString &from, const QString &id)
{
    if (id.isEmpty())
        return false;
    const QString key = XmppIdMap::bareJid(from) + QLatin1Char(' ') + id;
    if (m_recent.contains(key))
        return true;
    m_recent.insert(key);
    m_recentOrder.append(key);
    if (m_recentOrder.size() > recentLimit)
        m_recent.remove(m_recentOrder.takeFirst());
    return false;
}

void XmppBackend::onMessage(const XmppIncoming &message)
{
    if (m_randomChats->receive(message))
        return;
    const QString from = XmppIdMap::bareJid(message.from);
    // The server vouches for the sender: only people in the roster reach
    // the module; strangers and the server's own notices are dropped.
    if (from.isEmpty() || !m_directory->isInRoster(from))
        return;
    const uint sender = m_ids->idOf(from);
    if (!sender)
        return;
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    const QList<ProtocolArg> who{ProtocolArg(DataTypes::Identifier, 9, QString::number(sender))};
    if (message.attention)
        helper->deliverIncoming(ProtocolCommand(4, 0x8015), who + QList<ProtocolArg>{ProtocolArg(DataTypes::Identifier, 673, 1)});
    if (message.noLogState == XmppPayload::noLogRequest) {
        helper->deliverIncoming(ProtocolCommand(4, 0x8004), who);
        return;
    }
    if (message.noLogState == 0 || message.noLogState == 1) {
        if (message.noLogState == 1)
            m_privateSessions.insert(from);
        else
            m_privateSessions.remove(from);
        helper->deliverIncoming(ProtocolCommand(4, 0x8005),
                                who + QList<ProtocolArg>{ProtocolArg(DataTypes::Flag, 631, message.noLogState == 1)});
        return;
    }
    const bool hasText = !message.body.isEmpty() || (message.hasPayload && (!message.html.isEmpty() || !message.pictures.isEmpty()));
    if (!hasText) {
        if (message.composing)
            helper->deliverIncoming(ProtocolCommand(4, 0x8003), who);
        return;
    }
    if (isDuplicate(message.from, message.id))
        return;
    deliverChat(sender, message);
}

void XmppBackend::deliverChat(uint sender, const XmppIncoming &message)
{
    QList<ProtocolArg> args{ProtocolArg(DataTypes::Identifier, 9, QString::number(sender))};
    // A payload without HTML or pictures (another client's empty one) would
    // show an empty message: the body speaks then.
    const bool usePayload = message.hasPayload && (!message.html.isEmpty() || !message.pictures.isEmpty());
    const QString html = usePayload ? message.html : htmlOf(message.body.left(maxIncomingBodyChars));
    args.append(ProtocolArg(DataTypes::Text, 10, html.toUtf8()));
    if (usePayload && !message.pictures.isEmpty()) {
        // Pictures and a send time cannot travel together: the pictures win.
        args.append(ProtocolArg(DataTypes::Count, 637, int(message.pictures.size())));
        for (const QByteArray &picture : message.pictures)
            args.append(ProtocolArg(DataTypes::Text, 0, picture));
    } else if (message.sentAt.isValid()) {
        args.append(ProtocolArg(DataTypes::Count, 0, ZDateTime::toWinTime(message.sentAt)));
    }
    WrapPluginHelper::Instance()->deliverIncoming(ProtocolCommand(4, 0xF0A1), args);
}

} // namespace zubrel
