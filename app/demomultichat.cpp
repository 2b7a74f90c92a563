#include "demomultichat.h"

#include <QTextDocumentFragment>
#include <QTimer>

#include "demonetwork.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"

namespace zubrel {

namespace {

const QString echo = QString::number(DemoNetwork::echoBot);
const QString pixel = QString::number(DemoNetwork::pictureBot);
const QString pocket = QString::number(DemoNetwork::mobileBot);
const QString anna = QStringLiteral("2006");
const QString boris = QStringLiteral("2007");

QString argText(const SentRequest &request, DataField field)
{
    for (const ProtocolArg &arg : request.args) {
        if (arg.field() == field)
            return arg.variant().toString();
    }
    return {};
}

quint32 chatOf(const SentRequest &request)
{
    for (const ProtocolArg &arg : request.args) {
        if (arg.field() == 634)
            return arg.variant().typeId() == QMetaType::Int ? quint32(arg.variant().toInt())
                                                            : arg.variant().toString().toUInt();
    }
    return 0;
}

ProtocolArg idArg(quint32 id)
{
    return ProtocolArg(DataTypes::Identifier, 0, QString::number(id));
}

} // namespace

DemoMultichat::DemoMultichat(int latencyMs, double timeScale, QObject *parent)
    : QObject(parent), m_latency(qMax(0, latencyMs)), m_scale(timeScale)
{
}

void DemoMultichat::complete(uint id, bool success, const QList<ProtocolArg> &args, ushort app)
{
    QTimer::singleShot(m_latency, this, [id, success, args, app] {
        WrapPluginHelper::Instance()->completeRequest(id, success, args, app);
    });
}

void DemoMultichat::later(int delayMs, ushort b, const QList<ProtocolArg> &args)
{
    QTimer::singleShot(m_latency + scaled(delayMs), this, [b, args] {
        WrapPluginHelper::Instance()->simulatedNetwork()->inject(4, b, args, server);
    });
}

bool DemoMultichat::handle(const SentRequest &request)
{
    const ProtocolCommand &command = request.command;
    if (command.a() != 4)
        return false;
    const quint32 id = chatOf(request);
    switch (command.b()) {
    case 0x0006: { // create: a new group owned by the user
        const quint32 created = m_nextId++;
        m_sessions.insert(created, {argText(request, 632), {}, true, 0});
        complete(request.id, true,
                 {ProtocolArg(DataTypes::Identifier, 0, int(created)),
                  ProtocolArg(DataTypes::Text, 1, QStringLiteral("session-%1").arg(created))},
                 server);
        return true;
    }
    case 0x000B: { // invite: bots accept a moment later, one after the other
        complete(request.id, true);
        const QString invitee = argText(request, 9);
        if (!m_sessions.contains(id) || !QStringList{echo, pixel, pocket}.contains(invitee))
            return true;
        const int order = int(m_sessions.value(id).members.size());
        memberJoins(id, invitee, 1500 + order * 1200);
        if (invitee == echo)
            say(id, echo, QStringLiteral("Hello everybody, Echo here."), 2500 + order * 1200);
        else if (invitee == pixel)
            say(id, pixel, QStringLiteral("Pixel has brought a drawing: <img src=\"%1\">"), 3000 + order * 1200, true);
        else
            say(id, pocket, QStringLiteral("hi from my phone"), 2800 + order * 1200);
        return true;
    }
    case 0x0007: { // join
        Session &session = m_sessions[id];
        session.userIn = true;
        QList<ProtocolArg> args{ProtocolArg(DataTypes::Text, 0, session.topic),
                                ProtocolArg(DataTypes::Count, 1, int(session.members.size()))};
        for (int i = 0; i < session.members.size(); ++i)
            args.append(ProtocolArg(DataTypes::Identifier, 2 + i, session.members.at(i)));
        complete(request.id, true, args);
        if (id == loungeId)
            runLounge();
        else if (id == cornerId)
            runCorner();
        return true;
    }
    case 0x000C: // a message from the user: the bots answer
        complete(request.id, true);
        answerUser(id, QTextDocumentFragment::fromHtml(QString::fromUtf8(
                                                           request.args.value(1).variant().toByteArray()))
                           .toPlainText());
        return true;
    case 0x000D: // typing
        complete(request.id, true);
        return true;
    case 0x0008: // leave
    case 0x0009: // quit
        complete(request.id, true);
        m_sessions[id].userIn = false;
        return true;
    case 0x000A: // kick: the server drops the member
        complete(request.id, true);
        memberLeaves(id, argText(request, 1), 500);
        return true;
    default:
        return false;
    }
}

void DemoMultichat::invite(quint32 id, const QString &from, const QString &topic, int delayMs)
{
    m_sessions[id].topic = topic;
    later(delayMs, 0x8012,
          {ProtocolArg(DataTypes::Identifier, 0, from), ProtocolArg(DataTypes::Identifier, 1, QString::number(id)),
           ProtocolArg(DataTypes::Identifier, 2, QStringLiteral("session-%1").arg(id))});
}

void DemoMultichat::memberJoins(quint32 id, const QString &who, int delayMs)
{
    QTimer::singleShot(m_latency + scaled(delayMs), this, [this, id, who] {
        Session &session = m_sessions[id];
        if (session.members.contains(who))
            return;
        session.members.append(who);
        if (session.userIn)
            WrapPluginHelper::Instance()->simulatedNetwork()->inject(
                4, 0x800E, {idArg(id), ProtocolArg(DataTypes::Identifier, 1, who)}, server);
    });
}

void DemoMultichat::memberLeaves(quint32 id, const QString &who, int delayMs)
{
    QTimer::singleShot(m_latency + scaled(delayMs), this, [this, id, who] {
        Session &session = m_sessions[id];
        if (!session.members.removeAll(who) || !session.userIn)
            return;
        WrapPluginHelper::Instance()->simulatedNetwork()->inject(
            4, 0x800F, {idArg(id), ProtocolArg(DataTypes::Identifier, 1, who)}, server);
    });
}

void DemoMultichat::say(quint32 id, const QString &who, const QString &html, int delayMs, bool picture)
{
    later(delayMs - 800, 0x8014, {idArg(id), ProtocolArg(DataTypes::Identifier, 1, who)});
    QList<ProtocolArg> args{idArg(id), ProtocolArg(DataTypes::Identifier, 1, 0),
                            ProtocolArg(DataTypes::Identifier, 2, who), ProtocolArg(DataTypes::Text, 3, html.toUtf8())};
    if (picture) {
        args.append(ProtocolArg(DataTypes::Count, 4, 1));
        args.append(ProtocolArg(DataTypes::Text, 5, DemoNetwork::drawnPicture(++m_pictures)));
    }
    later(delayMs, 0x8013, args);
}

void DemoMultichat::answerUser(quint32 id, const QString &text)
{
    if (!m_sessions.contains(id))
        return;
    Session &session = m_sessions[id];
    const int turn = ++session.messages;
    if (session.members.contains(echo))
        say(id, echo, QStringLiteral("Echo heard: %1").arg(text.toHtmlEscaped()), 1500);
    if (session.members.contains(pixel) && turn % 2 == 1)
        say(id, pixel, QStringLiteral("<img src=\"%1\">"), 2600, true);
    if (session.members.contains(pocket) && turn % 3 == 1)
        say(id, pocket, QStringLiteral("+1"), 3400);
}

void DemoMultichat::scheduleLounge(int delayMs)
{
    Session &lounge = m_sessions[loungeId];
    if (!lounge.members.isEmpty())
        return;
    lounge.members = {pixel, echo, boris};
    invite(loungeId, pixel, QStringLiteral("Bots' lounge"), delayMs);
}

void DemoMultichat::runLounge()
{
    say(loungeId, echo, QStringLiteral("Welcome to the lounge!"), 1500);
    say(loungeId, pixel, QStringLiteral("I drew the room for you: <img src=\"%1\">"), 4000, true);
    memberJoins(loungeId, pocket, 7000);
    say(loungeId, pocket, QStringLiteral("made it, on the bus"), 9500);
    memberJoins(loungeId, anna, 13000);
    say(loungeId, boris, QStringLiteral("Anna! Long time."), 15000);
    memberLeaves(loungeId, anna, 22000);
    memberLeaves(loungeId, boris, 26000);
    say(loungeId, pixel, QStringLiteral("Closing time. Out you go!"), 60000);
    later(62000, 0x8010, {idArg(loungeId)});
    QTimer::singleShot(m_latency + scaled(62000), this, [this] { m_sessions[loungeId].userIn = false; });
    // Echo opens a second group afterwards.
    m_sessions[cornerId].members = {echo, pocket};
    invite(cornerId, echo, QStringLiteral("Echo's corner"), 70000);
}

void DemoMultichat::runCorner()
{
    say(cornerId, echo, QStringLiteral("A quiet corner. I will close it soon."), 1500);
    say(cornerId, pocket, QStringLiteral("ok"), 4000);
    later(40000, 0x8011, {idArg(cornerId)});
}

} // namespace zubrel
