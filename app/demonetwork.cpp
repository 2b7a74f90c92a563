#include "demonetwork.h"

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>

#include "czubuddy_administrator.h"
#include "demomultichat.h"
#include "demopush.h"
#include "demostranger.h"
#include "request.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"

namespace zubrel {

namespace {

constexpr int typingDelayMs = 400;
constexpr int answerDelayMs = 1500;
constexpr int presenceIntervalMs = 12000;
constexpr int offlineBotIntervalMs = 30000;
constexpr int loungeInvitationMs = 25000;

bool isMessage(const ProtocolCommand &command)
{
    return command.isCommand(4, 0x0001) || command.isCommand(0xF000, 0xF0C6) || command.isCommand(4, 0x000C)
        || command.isCommand(4, 0x0033);
}

QList<ProtocolArg> nativeSender(uint bot)
{
    return {ProtocolArg(DataTypes::Identifier, 9, QString::number(bot))};
}

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

DemoNetwork::DemoNetwork(int latencyMs, QObject *parent)
    : QObject(parent), m_latency(qMax(0, latencyMs))
{
    m_stranger = new DemoStranger(m_latency, this);
    m_presenceTimer.setInterval(presenceIntervalMs);
    connect(&m_presenceTimer, &QTimer::timeout, this, &DemoNetwork::changeSomePresence);
    // Bots say hello when their chat first opens (the module answers the
    // open-chat command) or is first looked at, so a new user sees at once
    // what each of them does.
    connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingAnswered, this,
            [this](Request *request, const Protocol *) {
                if (request && request->protocol()->command().isCommand(1, 0xF0A0))
                    greet(request->protocol()->arg(0).variant().toString().toUInt());
            });
    m_multichat = new DemoMultichat(m_latency, 1.0, this);
    m_offlineBotTimer.setInterval(offlineBotIntervalMs);
    connect(&m_offlineBotTimer, &QTimer::timeout, this, [this] { setOfflineBotOnline(!m_offlineBotOnline); });
}

DemoNetwork::~DemoNetwork()
{
    WrapPluginHelper::Instance()->simulatedNetwork()->setResponder({});
}

void DemoNetwork::attach()
{
    QPointer<DemoNetwork> self(this);
    WrapPluginHelper::Instance()->simulatedNetwork()->setResponder([self](const SentRequest &request) {
        if (self)
            self->onSent(request);
    });
}

void DemoNetwork::setPresenceChanges(bool on)
{
    if (on) {
        m_presenceTimer.start();
        m_offlineBotTimer.start();
        if (m_controllerUp)
            m_multichat->scheduleLounge(loungeInvitationMs);
    } else {
        m_presenceTimer.stop();
        m_offlineBotTimer.stop();
    }
}

uint DemoNetwork::partnerOf(const SentRequest &request)
{
    // Native commands address the partner in (6, 9), other networks in (32, 1).
    for (const ProtocolArg &arg : request.args) {
        if ((arg.type() == DataTypes::Identifier && arg.field() == 9) || (arg.type() == DataTypes::Text && arg.field() == 1))
            return arg.variant().toString().toUInt();
    }
    return 0;
}

QString DemoNetwork::messageOf(const SentRequest &request)
{
    for (const ProtocolArg &arg : request.args) {
        if (arg.type() == DataTypes::Text && arg.field() == 10)
            return QString::fromUtf8(arg.variant().toByteArray());
        if (arg.type() == DataTypes::Text && arg.field() == 0 && arg.variant().typeId() == QMetaType::QString)
            return arg.variant().toString();
    }
    return {};
}

QByteArray DemoNetwork::drawnPicture(int number)
{
    QImage image(96, 64, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor colour = QColor::fromHsv((number * 67) % 360, 150, 230);
    painter.setBrush(colour);
    painter.setPen(QPen(colour.darker(160), 2));
    painter.drawRoundedRect(QRectF(2, 2, 92, 60), 10, 10);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(30, 30), 12, 12);
    painter.drawEllipse(QPointF(66, 30), 12, 12);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(33, 32), 5, 5);
    painter.drawEllipse(QPointF(63, 32), 5, 5);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawArc(QRectF(34, 36, 28, 16), 200 * 16, 140 * 16);
    painter.end();
    return pngBytes(image);
}

QByteArray DemoNetwork::drawnLandscape(int number)
{
    QImage image(1200, 300, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor::fromHsv((200 + number * 23) % 360, 120, 240));
    sky.setColorAt(1, QColor(255, 236, 200));
    painter.fillRect(image.rect(), sky);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 210, 80));
    painter.drawEllipse(QPointF(950, 90), 45, 45);
    for (int layer = 0; layer < 2; ++layer) {
        QPainterPath hills(QPointF(0, 300));
        for (int x = 0; x <= 1200; x += 150)
            hills.lineTo(x, (layer ? 230 : 170) + ((x / 150 + layer) % 2 ? -60 : 30));
        hills.lineTo(1200, 300);
        painter.setBrush(layer ? QColor(60, 120, 70) : QColor(110, 130, 160));
        painter.drawPath(hills);
    }
    painter.end();
    return pngBytes(image);
}

void DemoNetwork::onSent(const SentRequest &request)
{
    emit sent(request);
    const ProtocolCommand command = request.command;
    if (command.isCommand(1, 2)) {
        completeLater(request.id, true, {ProtocolArg(DataTypes::Identifier, 0, selfId)});
        return;
    }
    if (command.isCommand(1, 0x0029)) {
        completeLater(request.id, true, {ProtocolArg(DataTypes::Text, 0, QStringLiteral("zubrel"))});
        // The controller is up: the bots' group will invite the user (once
        // the demo's changes run; the host may switch them on after this).
        m_controllerUp = true;
        if (m_presenceTimer.isActive())
            m_multichat->scheduleLounge(loungeInvitationMs);
        return;
    }
    // Typing notices go out with the first key press, before the message:
    // the failure the user asked for belongs to the message itself.
    if (m_failNext && isMessage(command)) {
        m_failNext = false;
        completeLater(request.id, false);
        return;
    }
    if (handleRandomChat(request) || m_multichat->handle(request))
        return;
    for (const Handler &handler : std::as_const(m_handlers)) {
        if (handler(request))
            return;
    }
    const uint partner = partnerOf(request);
    if (isMessage(command) && partner == offlineBot && !m_offlineBotOnline) {
        m_pendingOffline.append(request.id); // delivered when the bot comes online
        return;
    }
    completeLater(request.id, true);
    if (isMessage(command))
        botAnswers(partner, messageOf(request), picturesOf(request));
    if (command.isCommand(4, 0xF0A3) && !request.args.isEmpty())
        greet(request.args.first().variant().toString().toUInt());
}

void DemoNetwork::greet(uint bot)
{
    if (m_greeted.contains(bot))
        return;
    QByteArray text;
    if (bot == echoBot)
        text = "Hi! I am Echo: write me anything and I answer it.";
    else if (bot == pictureBot)
        text = "Hello from Pixel. I answer with drawings: <img src=\"%1\">";
    else if (bot == otherNetworkBot) {
        m_greeted.append(bot);
        const QString id = QString::number(bot);
        injectLater(typingDelayMs, 4, 0xF0C7, {ProtocolArg(DataTypes::Text, 1, id)});
        injectLater(answerDelayMs, 4, 0xF0C6,
                    {ProtocolArg(DataTypes::Text, 1, id), ProtocolArg(DataTypes::Flag, 0, false),
                     ProtocolArg(DataTypes::Text, 0, QStringLiteral("Greetings from the other network. No pictures here."))});
        return;
    } else if (bot == mobileBot)
        text = "Pocket here, typing on my phone. Pictures you send reach me as numbers.";
    else
        return;
    m_greeted.append(bot);
    injectLater(typingDelayMs, 4, 0x8003, nativeSender(bot));
    QList<ProtocolArg> args = nativeSender(bot);
    args.append(ProtocolArg(DataTypes::Text, 10, text));
    if (bot == pictureBot) {
        args.append(ProtocolArg(DataTypes::Count, 637, 1));
        args.append(ProtocolArg(DataTypes::Text, 0, drawnPicture(++m_pictureCount)));
    }
    injectLater(answerDelayMs, 4, 0xF0A1, args);
    if (bot == echoBot) // and a push message to listen to
        injectLater(answerDelayMs * 2, 4, 0xF0A1, pushClip(bot));
}

void DemoNetwork::completeLater(uint id, bool success, const QList<ProtocolArg> &args)
{
    QTimer::singleShot(m_latency, this, [this, id, success, args] {
        if (WrapPluginHelper::Instance()->completeRequest(id, success, args))
            emit completed(id, success);
    });
}

void DemoNetwork::injectLater(int delayMs, ushort a, ushort b, const QList<ProtocolArg> &args)
{
    QTimer::singleShot(m_latency + delayMs, this,
                       [a, b, args] { WrapPluginHelper::Instance()->simulatedNetwork()->inject(a, b, args); });
}

QList<ProtocolArg> DemoNetwork::pushClip(uint bot)
{
    QList<ProtocolArg> args = nativeSender(bot);
    args.append(ProtocolArg(DataTypes::Text, 10, QByteArray()));
    args.append(ProtocolArg(DataTypes::Count, 637, 1));
    args.append(ProtocolArg(DataTypes::Text, 0, DemoPush::clip(m_clipCount++)));
    return args;
}

QList<QByteArray> DemoNetwork::picturesOf(const SentRequest &request)
{
    // The numbered attachments follow the count (Count, 637), as bytes.
    QList<QByteArray> pictures;
    bool counted = false;
    for (const ProtocolArg &arg : request.args) {
        if (arg.type() == DataTypes::Count && arg.field() == 637)
            counted = true;
        else if (counted && arg.type() == DataTypes::Text && arg.field() == 0)
            pictures.append(arg.variant().toByteArray());
    }
    return pictures;
}

void DemoNetwork::botAnswers(uint bot, const QString &html, const QList<QByteArray> &pictures)
{
    // Echo the message as sent (pictures and links included) unless it is
    // too long to read back comfortably.
    const QString said = html.size() > 1000 ? QStringLiteral("that") : html;
    // A push message (no text, one attachment) is answered with one.
    if (html.isEmpty() && (bot == echoBot || bot == mobileBot)) {
        injectLater(answerDelayMs, 4, 0xF0A1, pushClip(bot));
        return;
    }
    switch (bot) {
    case echoBot:
    case mobileBot: {
        injectLater(typingDelayMs, 4, 0x8003, nativeSender(bot));
        QList<ProtocolArg> args = nativeSender(bot);
        args.append(ProtocolArg(DataTypes::Text, 10, QStringLiteral("You wrote: %1").arg(said).toUtf8()));
        // The echo carries the pictures back, or their numbered references
        // ("%1") would show as broken pictures.
        if (bot == echoBot && !pictures.isEmpty() && said == html) {
            args.append(ProtocolArg(DataTypes::Count, 637, int(pictures.size())));
            for (const QByteArray &picture : pictures)
                args.append(ProtocolArg(DataTypes::Text, 0, picture));
        }
        injectLater(answerDelayMs, 4, 0xF0A1, args);
        break;
    }
    case pictureBot: {
        injectLater(typingDelayMs, 4, 0x8003, nativeSender(bot));
        QList<ProtocolArg> args = nativeSender(bot);
        // Asked for something wide, it draws a landscape wider than the window.
        const bool wide = said.contains(QLatin1String("wide"), Qt::CaseInsensitive);
        args.append(ProtocolArg(DataTypes::Text, 10, wide ? QByteArray("A wide one: <img src=\"%1\">")
                                                           : QByteArray("Look what I drew: <img src=\"%1\">")));
        args.append(ProtocolArg(DataTypes::Count, 637, 1));
        args.append(ProtocolArg(DataTypes::Text, 0, wide ? drawnLandscape(++m_pictureCount)
                                                         : drawnPicture(++m_pictureCount)));
        injectLater(answerDelayMs, 4, 0xF0A1, args);
        break;
    }
    case otherNetworkBot: {
        const QString id = QString::number(bot);
        injectLater(typingDelayMs, 4, 0xF0C7, {ProtocolArg(DataTypes::Text, 1, id)});
        injectLater(answerDelayMs, 4, 0xF0C6,
                    {ProtocolArg(DataTypes::Text, 1, id), ProtocolArg(DataTypes::Flag, 0, false),
                     ProtocolArg(DataTypes::Text, 0, QStringLiteral("Bridged back to you: %1").arg(said))});
        break;
    }
    case offlineBot: {
        QList<ProtocolArg> args = nativeSender(bot);
        args.append(ProtocolArg(DataTypes::Text, 10, QByteArray("Back online - thanks for your message!")));
        injectLater(answerDelayMs, 4, 0xF0A1, args);
        break;
    }
    default:
        break;
    }
}

bool DemoNetwork::handleRandomChat(const SentRequest &request)
{
    return m_stranger->handle(request);
}

void DemoNetwork::setOfflineBotOnline(bool online)
{
    if (m_offlineBotOnline == online)
        return;
    m_offlineBotOnline = online;
    if (const BuddyData *data = CZuBuddy_Administrator::Instance()->data(offlineBot)) {
        BuddyData changed = *data;
        changed.userState = online ? 1 : 0;
        CZuBuddy_Administrator::Instance()->updateBuddy(changed);
    }
    if (!online)
        return;
    const QList<uint> pending = std::exchange(m_pendingOffline, {});
    for (uint id : pending)
        completeLater(id, true);
    if (!pending.isEmpty())
        botAnswers(offlineBot, QString());
}

void DemoNetwork::changeSomePresence()
{
    // Bots keep their behaviour; the plain contacts drift between states.
    const QList<CZuBuddy> buddies = CZuBuddy_Administrator::Instance()->Buddies();
    QList<uint> candidates;
    for (const CZuBuddy &buddy : buddies) {
        if ((buddy.Id() > mobileBot && buddy.Id() < firstMoreBot) || buddy.Id() == pictureBot)
            candidates.append(buddy.Id());
    }
    if (candidates.isEmpty())
        return;
    const uint id = candidates.at(QRandomGenerator::global()->bounded(int(candidates.size())));
    const BuddyData *data = CZuBuddy_Administrator::Instance()->data(id);
    if (!data)
        return;
    static constexpr int states[] = {0, 1, 1, 2, 3, 4};
    BuddyData changed = *data;
    changed.userState = states[QRandomGenerator::global()->bounded(int(std::size(states)))];
    CZuBuddy_Administrator::Instance()->updateBuddy(changed);
}

} // namespace zubrel
