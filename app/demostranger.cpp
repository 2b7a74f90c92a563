#include "demostranger.h"

#include <QRegularExpression>
#include <QTimer>

#include "demonetwork.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"

namespace zubrel {

namespace {

constexpr int matchDelayMs = 2500;
constexpr int typingDelayMs = 500;
constexpr int answerDelayMs = 1800;
// Every third answer comes with a drawing.
constexpr int pictureEvery = 3;

const QStringList answers = {
    QStringLiteral("Ha, I know what you mean."),
    QStringLiteral("Really? Tell me more."),
    QStringLiteral("I like your style of writing!"),
    QStringLiteral("That is interesting. What else do you do for fun?"),
    QStringLiteral("Random chats are always a surprise."),
};

} // namespace

DemoStranger::DemoStranger(int latencyMs, QObject *parent)
    : QObject(parent), m_latency(qMax(0, latencyMs))
{
}

bool DemoStranger::handle(const SentRequest &request)
{
    const ProtocolCommand command = request.command;
    if (command.isCommand(4, 0x0030)) {
        complete(request.id, true,
                 {ProtocolArg(DataTypes::Identifier, 0, QString::number(DemoNetwork::randomChatServer))});
    } else if (command.isCommand(4, 0x0031)) {
        login(request);
    } else if (command.isCommand(4, 0x0033)) {
        complete(request.id, true);
        if (m_sessions.contains(sessionOf(request)))
            answer(sessionOf(request), DemoNetwork::messageOf(request));
    } else if (command.isCommand(4, 0x0034)) {
        complete(request.id, true);
    } else if (command.isCommand(4, 0x0032)) {
        m_sessions.remove(sessionOf(request)); // whatever was planned is off
        complete(request.id, true);
    } else {
        return false;
    }
    return true;
}

void DemoStranger::login(const SentRequest &request)
{
    // The login's answer names the new random chat; the stranger is found
    // a little later, says hello, and leaves after a while.
    const QString id = QString::number(++m_lastId);
    m_sessions.insert(id, {});
    complete(request.id, true, {ProtocolArg(DataTypes::Identifier, 0, id)}, DemoNetwork::randomChatServer);
    inject(matchDelayMs, id, 0x8040,
           {ProtocolArg(DataTypes::Text, 0, id), ProtocolArg(DataTypes::Text, 1, QString::number(DemoNetwork::stranger)),
            ProtocolArg(DataTypes::Text, 2, QStringLiteral("Stranger")), ProtocolArg(DataTypes::Text, 3, QString())});
    say(id, matchDelayMs + answerDelayMs, "Hi! Nice to meet you. Say \"bye\" when you have had enough of me.");
    say(id, sessionMs, "Sorry, I have to go now. Bye!");
    leave(id, sessionMs + answerDelayMs);
}

void DemoStranger::answer(const QString &id, const QString &said)
{
    static const QRegularExpression bye(QStringLiteral("\\bbye\\b"), QRegularExpression::CaseInsensitiveOption);
    if (bye.match(said).hasMatch()) {
        say(id, 0, "Bye! It was nice talking to you.");
        leave(id, answerDelayMs);
        return;
    }
    Session &session = m_sessions[id];
    ++session.replies;
    if (session.replies % pictureEvery == 0) {
        say(id, 0, "I drew this for you: <img src=\"%1\">", DemoNetwork::drawnPicture(++m_pictures));
        return;
    }
    say(id, 0, answers.at((session.replies - 1) % answers.size()).toUtf8());
}

void DemoStranger::say(const QString &id, int delayMs, const QByteArray &html, const QByteArray &picture)
{
    inject(delayMs + typingDelayMs, id, 0x8042, {ProtocolArg(DataTypes::Text, 0, id)});
    QList<ProtocolArg> args = {ProtocolArg(DataTypes::Text, 0, id), ProtocolArg(DataTypes::Text, 1, html)};
    if (!picture.isEmpty())
        args += {ProtocolArg(DataTypes::Count, 2, 1), ProtocolArg(DataTypes::Text, 3, picture)};
    inject(delayMs + answerDelayMs, id, 0x8041, args);
}

void DemoStranger::leave(const QString &id, int delayMs)
{
    QTimer::singleShot(m_latency + delayMs, this, [this, id] {
        // Nothing more comes from a stranger who left.
        if (!m_sessions.remove(id))
            return;
        WrapPluginHelper::Instance()->simulatedNetwork()->inject(
            4, 0x8043, {ProtocolArg(DataTypes::Text, 0, id), ProtocolArg(DataTypes::Count, 1, 0)});
    });
}

void DemoStranger::inject(int delayMs, const QString &id, ushort b, const QList<ProtocolArg> &args)
{
    QTimer::singleShot(m_latency + delayMs, this, [this, id, b, args] {
        if (m_sessions.contains(id))
            WrapPluginHelper::Instance()->simulatedNetwork()->inject(4, b, args);
    });
}

void DemoStranger::complete(uint request, bool success, const QList<ProtocolArg> &args, ushort server)
{
    QTimer::singleShot(m_latency, this, [request, success, args, server] {
        WrapPluginHelper::Instance()->completeRequest(request, success, args, server);
    });
}

QString DemoStranger::sessionOf(const SentRequest &request)
{
    // The random chat's id travels in (6, 706).
    for (const ProtocolArg &arg : request.args) {
        if (arg.type() == DataTypes::Identifier && arg.field() == 706)
            return QString::number(arg.variant().toUInt());
    }
    return {};
}

} // namespace zubrel
