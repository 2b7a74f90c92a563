#include "xmpprandomchats.h"

#include <QTimer>

#include "request.h"
#include "wrappluginhelper.h"
#include "xmppbackend.h"
#include "xmppconnection.h"
#include "xmppidmap.h"
#include "xmppoutbox.h"

namespace zubrel {

namespace {

QVariant argOf(const QList<ProtocolArg> &args, DataType type, DataField field)
{
    for (const ProtocolArg &arg : args) {
        if (arg.type() == type && arg.field() == field)
            return arg.variant();
    }
    return {};
}

// A matchmaker that does not answer (not running, unreachable) fails the login.
constexpr int loginTimeoutMs = 30000;

} // namespace

XmppRandomChats::XmppRandomChats(XmppConnection *connection, XmppIdMap *ids, XmppOutbox *outbox, QObject *parent)
    : QObject(parent), m_connection(connection), m_ids(ids), m_outbox(outbox)
{
    m_matchmaker = QStringLiteral("matchmaker@") + connection->bareJid().section(QLatin1Char('@'), 1);
}

void XmppRandomChats::post(uint requestId, const QString &action, const QString &chat, const QString &alias,
                           const QString &html, const QList<QByteArray> &pictures)
{
    XmppOutgoing message;
    message.requestId = requestId;
    message.to = m_matchmaker;
    message.stanzaId = QStringLiteral("r%1-%2").arg(chat).arg(++m_sent);
    XmppPayload payload;
    payload.randomAction = action;
    payload.randomChat = chat;
    payload.randomAlias = alias;
    payload.html = html;
    payload.pictures = pictures;
    message.body = html.isEmpty() ? QString() : XmppBackend::plainText(html);
    message.payload = payload;
    // What strangers say to each other is nobody's archive.
    message.noStore = true;
    m_outbox->post(std::move(message));
}

bool XmppRandomChats::transmit(Request *request)
{
    const ProtocolCommand command = request->protocol()->command();
    if (command.a() != 4 || command.b() < 0x0030 || command.b() > 0x0034)
        return false;
    const QList<ProtocolArg> args = request->protocol()->args();
    const uint id = request->id();
    const QString chat = argOf(args, DataTypes::Identifier, 706).toString();
    switch (command.b()) {
    case 0x0030: // the random chat server: the matchmaker, always there
        QTimer::singleShot(0, this, [id] {
            WrapPluginHelper::Instance()->completeRequest(id, true,
                                                          {ProtocolArg(DataTypes::Text, 0, QString::number(applicationServer))});
        });
        return true;
    case 0x0031: // login: answered with the chat number by the matchmaker
        m_logins.append(id);
        // So that the matchmaker learns when we vanish without quitting
        // and can tell the partner, who would otherwise wait in silence.
        if (m_connection)
            m_connection->sendPresenceTo(m_matchmaker);
        // Not completed by the server's receipt: the matchmaker's answer does.
        post(0, QStringLiteral("search"), QString(), argOf(args, DataTypes::Text, 703).toString());
        QTimer::singleShot(loginTimeoutMs, this, [this, id] {
            if (m_logins.removeAll(id))
                WrapPluginHelper::Instance()->completeRequest(id, false);
        });
        return true;
    case 0x0032:
        post(id, QStringLiteral("quit"), chat);
        return true;
    case 0x0033: {
        QList<QByteArray> pictures;
        int wanted = 0;
        for (const ProtocolArg &arg : args) {
            if (arg.type() == DataTypes::Count && arg.field() == 637)
                wanted = arg.variant().toInt();
            else if (wanted > int(pictures.size()) && arg.type() == DataTypes::Text && arg.field() == 0)
                pictures.append(arg.variant().toByteArray());
        }
        post(id, QStringLiteral("message"), chat, {}, QString::fromUtf8(argOf(args, DataTypes::Text, 10).toByteArray()),
             pictures);
        return true;
    }
    case 0x0034:
        post(id, QStringLiteral("typing"), chat);
        return true;
    default:
        return false;
    }
}

bool XmppRandomChats::receive(const XmppIncoming &message)
{
    if (XmppIdMap::bareJid(message.from) != m_matchmaker || message.randomAction.isEmpty())
        return false;
    const QString chat = message.randomChat;
    bool numeric = false;
    chat.toUInt(&numeric);
    if (!numeric)
        return true;
    const QString &action = message.randomAction;
    if (action == QLatin1String("waiting")) {
        // The matchmaker answers logins in the order they came.
        if (m_logins.isEmpty())
            return true;
        // At once: a "matched" may follow in the same read and needs the
        // module's window filed under this number.
        WrapPluginHelper::Instance()->completeRequest(m_logins.takeFirst(), true, {ProtocolArg(DataTypes::Text, 0, chat)},
                                                      applicationServer);
    } else if (action == QLatin1String("matched")) {
        const QString stranger = QStringLiteral("stranger%1@%2").arg(chat, m_matchmaker.section(QLatin1Char('@'), 1));
        deliver(0x8040, {ProtocolArg(DataTypes::Identifier, 0, chat),
                         ProtocolArg(DataTypes::Identifier, 1, QString::number(m_ids->idOf(stranger))),
                         ProtocolArg(DataTypes::Text, 2, message.randomAlias), ProtocolArg(DataTypes::Text, 3, QString())});
    } else if (action == QLatin1String("typing")) {
        deliver(0x8042, {ProtocolArg(DataTypes::Identifier, 0, chat)});
    } else if (action == QLatin1String("message")) {
        QList<ProtocolArg> args{ProtocolArg(DataTypes::Identifier, 0, chat),
                                ProtocolArg(DataTypes::Text, 1, message.html.toUtf8())};
        if (!message.pictures.isEmpty()) {
            args.append(ProtocolArg(DataTypes::Count, 2, int(message.pictures.size())));
            for (const QByteArray &picture : message.pictures)
                args.append(ProtocolArg(DataTypes::Text, 3, picture));
        }
        deliver(0x8041, args);
    } else if (action == QLatin1String("quit")) {
        deliver(0x8043, {ProtocolArg(DataTypes::Identifier, 0, chat), ProtocolArg(DataTypes::Count, 1, 0)});
    }
    return true;
}

void XmppRandomChats::deliver(ushort b, const QList<ProtocolArg> &args)
{
    WrapPluginHelper::Instance()->deliverIncoming(ProtocolCommand(4, b), args);
}

} // namespace zubrel
