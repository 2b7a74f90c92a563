// A busy multi chat: 500 participants join one after another (each with its
// notice, card, title and member list to the slideshow module), then, with
// 10,000 messages in the view, how long one more incoming message takes.
// Prints BENCH multichat_join_500_ms <total> ms and
// BENCH multichat_message_500_us <median> us.

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <ctime>

#include "benchsession.h"
#include "simulatednetwork.h"
#include "zchatlogger.h"
#include "zmodalscript.h"

using namespace zubrel;

namespace {

constexpr int members = 500;
constexpr int backlog = 10000;
constexpr int samples = 201;
const QString chatId = QStringLiteral("4000000001");

QList<ProtocolArg> message(int n, int sender)
{
    return {ProtocolArg(6, 0, chatId), ProtocolArg(6, 1, 0), ProtocolArg(6, 2, QString::number(3000 + sender)),
            ProtocolArg(32, 3, QStringLiteral("Message number %1 with <b>some</b> text").arg(n).toUtf8())};
}

// The host answers every request the module sends (member lists,
// activation notices), so none piles up.
void answerAll(SimulatedNetwork *network)
{
    for (const SentRequest &request : network->sent())
        network->succeed(request.id);
    network->clear();
    // Freed requests go when control returns to the event loop, as in the host.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Lets the event loop run as it does between two network commands, so the
// 20 ms deferrals the tab starts fire instead of piling up. Not measured.
void settle()
{
    QElapsedTimer spin;
    spin.start();
    while (spin.elapsed() < 25)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Processor time of this thread: on a busy machine wall time also counts
// the time other processes ran.
qint64 cpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QJsonArray contacts;
    for (int i = 0; i < members; ++i)
        contacts.append(QJsonObject{{"id", 3000 + i}, {"nick", QStringLiteral("Member %1").arg(i)}, {"status", 1}});
    BenchSession session(contacts);
    SimulatedNetwork *network = session.startModule();
    ZModalScript::instance()->queue(QStringLiteral("dialog"), 1);
    network->inject(4, 0x8012, {ProtocolArg(6, 0, "3000"), ProtocolArg(6, 1, chatId), ProtocolArg(6, 2, "s")}, 3);
    network->succeed(network->lastSent(4, 0x0007).id, {ProtocolArg(32, 0, "Bench"), ProtocolArg(4, 1, 0)});
    QCoreApplication::processEvents();

    // The total of the 500 joins themselves, each with its notice, card,
    // title and member list.
    QElapsedTimer timer;
    qint64 joinNs = 0;
    qint64 joinCpuNs = 0;
    for (int i = 0; i < members; ++i) {
        const qint64 cpuStart = cpuNs();
        timer.restart();
        network->inject(4, 0x800E, {ProtocolArg(6, 0, chatId), ProtocolArg(6, 1, QString::number(3000 + i))});
        answerAll(network);
        QCoreApplication::processEvents();
        joinNs += timer.nsecsElapsed();
        joinCpuNs += cpuNs() - cpuStart;
        if (i % 25 == 24)
            settle();
    }
    std::printf("BENCH multichat_join_500_ms %.1f ms\n", joinNs / 1e6);
    std::fprintf(stderr, "multichat_join_500 processor time %.1f ms\n", joinCpuNs / 1e6);
    std::fflush(stdout);

    for (int i = 0; i < backlog; ++i) {
        network->inject(4, 0x8013, message(i, i % members));
        answerAll(network);
        if (i % 200 == 199)
            settle();
    }
    QList<double> times;
    for (int i = 0; i < samples; ++i) {
        settle();
        timer.restart();
        network->inject(4, 0x8013, message(backlog + i, i % members));
        answerAll(network);
        times.append(timer.nsecsElapsed() / 1e3);
    }
    std::sort(times.begin(), times.end());
    std::printf("BENCH multichat_message_500_us %.0f us\n", times.at(times.size() / 2));
    network->clear();
    return 0;
}
