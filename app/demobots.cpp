#include "demobots.h"

#include <QDir>
#include <QFileInfo>

#include "czubuddy_administrator.h"
#include "demonetwork.h"
#include "request.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"

namespace zubrel {

namespace {

constexpr int replyDelayMs = 900;
constexpr int chameleonIntervalMs = 8000;

bool isOneToOneMessage(const ProtocolCommand &command)
{
    return command.isCommand(4, 0x0001);
}

QList<ProtocolArg> from(uint bot)
{
    return {ProtocolArg(DataTypes::Identifier, 9, QString::number(bot))};
}

uint addressee(const SentRequest &request)
{
    for (const ProtocolArg &arg : request.args) {
        if (arg.type() == DataTypes::Identifier && arg.field() == 9)
            return arg.variant().toString().toUInt();
    }
    return 0;
}

} // namespace

DemoBots::DemoBots(DemoNetwork *network, QObject *parent)
    : QObject(parent), m_network(network)
{
    if (network)
        connect(network, &DemoNetwork::sent, this, &DemoBots::onSent);
    // Each bot introduces itself when its chat first opens.
    connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingAnswered, this,
            [this](Request *request, const Protocol *) {
                if (request && request->protocol()->command().isCommand(1, 0xF0A0))
                    greet(request->protocol()->arg(0).variant().toString().toUInt());
            });
    m_chameleonTimer.setInterval(chameleonIntervalMs);
    connect(&m_chameleonTimer, &QTimer::timeout, this, &DemoBots::changeChameleon);
}

void DemoBots::setChanges(bool on)
{
    if (on)
        m_chameleonTimer.start();
    else
        m_chameleonTimer.stop();
}

void DemoBots::onSent(const SentRequest &request)
{
    const ProtocolCommand command = request.command;
    if (command.isCommand(4, 0xF0A3)) {
        // The chat in front changed: its partner in (6, 1).
        if (!request.args.isEmpty())
            greet(request.args.first().variant().toString().toUInt());
        return;
    }
    const uint bot = addressee(request);
    if (bot < privy || bot > chameleon)
        return;
    if (command.isCommand(4, 0x0004)) {
        answerProposal(bot);
    } else if (command.isCommand(4, 0x0005)) {
        // The user's answer to a proposal, or the end of the session when
        // the user closed the chat.
        for (const ProtocolArg &arg : request.args) {
            if (arg.field() == 631)
                m_private[bot] = arg.variant().toBool();
        }
        say(bot, m_private.value(bot) ? tr("Private session on: neither of us keeps a log of this chat now.")
                                      : tr("No private session: this chat is logged again."),
            replyDelayMs);
    } else if (isOneToOneMessage(command)) {
        if (bot == privy)
            proposePrivateSession(bot);
        else if (bot == shaky)
            shake(bot);
        else if (bot == judy)
            say(bot, tr("Use \"Start Private Session\" and I will decide."), replyDelayMs);
        else
            say(bot, tr("Watch my card: my name, picture and presence keep changing."), replyDelayMs);
    }
}

void DemoBots::greet(uint bot)
{
    if (bot < privy || bot > chameleon || m_greeted.contains(bot))
        return;
    m_greeted.append(bot);
    switch (bot) {
    case privy:
        say(bot, tr("Hi, I am Privy. I would rather nobody kept a log of what we say: let me ask."), replyDelayMs);
        proposePrivateSession(bot);
        break;
    case judy:
        say(bot, tr("I am Judy. Propose a private session (Chat menu) and I accept or refuse, in turn."),
            replyDelayMs);
        break;
    case shaky:
        say(bot, tr("Shaky here. Write me anything and I shake your window."), replyDelayMs);
        break;
    default:
        say(bot, tr("I am a chameleon: my name, picture and presence change every few seconds."), replyDelayMs);
        break;
    }
}

void DemoBots::say(uint bot, const QString &text, int delayMs)
{
    if (!m_network)
        return;
    m_network->injectLater(delayMs / 3, 4, 0x8003, from(bot));
    QList<ProtocolArg> args = from(bot);
    args.append(ProtocolArg(DataTypes::Text, 10, text.toUtf8()));
    m_network->injectLater(delayMs, 4, 0xF0A1, args);
}

void DemoBots::proposePrivateSession(uint bot)
{
    // Proposing during a session asks to end it: the receiver tells them apart.
    if (m_network)
        m_network->injectLater(2 * replyDelayMs, 4, 0x8004, {ProtocolArg(DataTypes::Text, 0, QString::number(bot))});
}

void DemoBots::answerProposal(uint bot)
{
    // Privy always agrees; Judy says yes and no in turn.
    bool agrees = true;
    if (bot == judy) {
        agrees = m_judyAccepts;
        m_judyAccepts = !m_judyAccepts;
    }
    const bool state = agrees ? !m_private.value(bot) : m_private.value(bot);
    m_private[bot] = state;
    if (m_network)
        m_network->injectLater(replyDelayMs, 4, 0x8005,
                               {ProtocolArg(DataTypes::Text, 0, QString::number(bot)),
                                ProtocolArg(DataTypes::Flag, 1, state)});
}

void DemoBots::shake(uint bot)
{
    say(bot, tr("Shake, shake!"), replyDelayMs);
    if (m_network)
        m_network->injectLater(replyDelayMs, 4, 0x8015,
                               {ProtocolArg(DataTypes::Text, 0, QString::number(bot)), ProtocolArg(DataTypes::Count, 1, 1)});
}

void DemoBots::changeChameleon()
{
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();
    const BuddyData *data = directory->data(chameleon);
    if (!data)
        return;
    static const char *const names[] = {"Chameleon", "Kameleon", "Green Chameleon", "Purple Chameleon"};
    static constexpr int states[] = {1, 2, 3, 4, 0};
    ++m_chameleonStep;
    BuddyData changed = *data;
    changed.nickname = QString::fromLatin1(names[m_chameleonStep % std::size(names)]);
    changed.userState = states[m_chameleonStep % std::size(states)];
    // The two pictures lie side by side in the demo's avatar folder.
    const QFileInfo picture(data->picturePath);
    const QString other = m_chameleonStep % 2 ? QStringLiteral("chameleon2.svg") : QStringLiteral("chameleon.svg");
    if (!data->picturePath.isEmpty())
        changed.picturePath = picture.dir().filePath(other);
    directory->updateBuddy(changed);
}

} // namespace zubrel
