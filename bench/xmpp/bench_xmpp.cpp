// Messages from the module's side (the XMPP backend behind the messaging
// helper) to a second account, through a private Prosody on loopback.
// Prints BENCH xmpp_roundtrip_ms <median> ms (one message, sent until
// received) and BENCH xmpp_burst_1000_ms <total> ms (1,000 messages, all
// received and in order).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "czubuddy_administrator.h"
#include "localxmppserver.h"
#include "request.h"
#include "wrappluginhelper.h"
#include "xmppbackend.h"
#include "xmppidmap.h"

using namespace zubrel;

namespace {

bool waitFor(const std::function<bool()> &done, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return true;
}

void send(uint partner, const QByteArray &text)
{
    Protocol protocol{ProtocolCommand(4, 0x0001)};
    protocol.addArg(ProtocolArg(6, 9, QString::number(partner)));
    protocol.addArg(ProtocolArg(32, 10, text));
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    QPointer<Request> request = helper->createRequest(protocol, nullptr);
    QObject::connect(request, &Request::onSuccess, helper, &WrapPluginHelper::freeRequest);
    QObject::connect(request, &Request::onFailed, helper, &WrapPluginHelper::freeRequest);
    helper->sendRequest(request);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    LocalXmppServer server;
    QString error;
    if (!server.start({{QStringLiteral("a"), QStringLiteral("a-pw")}, {QStringLiteral("b"), QStringLiteral("b-pw")}},
                      &error)) {
        std::fprintf(stderr, "bench_xmpp: %s\n", qPrintable(error));
        return 1;
    }
    QTemporaryDir profile;
    XmppBackend a({server.jid(QStringLiteral("a")), QStringLiteral("a-pw"), QStringLiteral("127.0.0.1"), server.port()},
                  profile.filePath(QStringLiteral("ids.json")));
    XmppConnection b({server.jid(QStringLiteral("b")), QStringLiteral("b-pw"), QStringLiteral("127.0.0.1"), server.port()});
    QStringList received;
    QObject::connect(&b, &XmppConnection::messageReceived, &app,
                     [&received](const XmppIncoming &message) { received.append(message.html); });
    a.start();
    b.open();
    if (!waitFor([&] { return a.connection()->isConnected() && b.isConnected() && CZuBuddy_Administrator::Instance()->isReady(); },
                 30000)) {
        std::fprintf(stderr, "bench_xmpp: no connection\n");
        return 1;
    }
    const uint partner = a.ids()->idOf(server.jid(QStringLiteral("b")));

    QList<double> samples;
    for (int i = 0; i < 50; ++i) {
        received.clear();
        QElapsedTimer timer;
        timer.start();
        send(partner, QByteArray("ping ") + QByteArray::number(i));
        if (!waitFor([&] { return !received.isEmpty(); }, 10000)) {
            std::fprintf(stderr, "bench_xmpp: a message was not delivered\n");
            return 1;
        }
        samples.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(samples.begin(), samples.end());
    std::printf("BENCH xmpp_roundtrip_ms %.2f ms\n", samples.at(samples.size() / 2));

    received.clear();
    QElapsedTimer burst;
    burst.start();
    for (int i = 0; i < 1000; ++i)
        send(partner, QByteArray::number(i));
    if (!waitFor([&] { return received.size() >= 1000; }, 60000)) {
        std::fprintf(stderr, "bench_xmpp: only %d of 1000 messages arrived\n", int(received.size()));
        return 1;
    }
    const double total = burst.nsecsElapsed() / 1e6;
    for (int i = 0; i < 1000; ++i) {
        if (received.at(i) != QString::number(i)) {
            std::fprintf(stderr, "bench_xmpp: message %d arrived out of order\n", i);
            return 1;
        }
    }
    std::printf("BENCH xmpp_burst_1000_ms %.0f ms\n", total);
    std::fflush(stdout);
    return 0;
}
