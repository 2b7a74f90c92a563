// Memory an open chat costs: 100 one-to-one chats are opened by the host's
// open command (window, tab, both cards, a few records of history each) and
// shown; the growth of resident memory is divided by 100. One chat is opened
// and closed first so that fonts, pictures and the chat log's connection are
// not counted as the cost of a chat.
// Prints BENCH chat_rss_per_open_kb <kilobytes> KB.

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>
#include <cstdio>
#include <malloc.h>
#include <unistd.h>

#include "benchsession.h"
#include "simulatednetwork.h"
#include "zchat.h"
#include "zchatlogger.h"

using namespace zubrel;

namespace {

constexpr int chats = 100;

double residentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1024.0;
}

void settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

void open(SimulatedNetwork *network, int contact)
{
    network->inject(1, 0xF0A0, {ProtocolArg(6, 0, QString::number(contact))});
    for (const SentRequest &request : network->sent())
        network->succeed(request.id);
    network->clear();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QJsonArray contacts;
    for (int i = 0; i <= chats; ++i)
        contacts.append(QJsonObject{{"id", 2000 + i}, {"nick", QStringLiteral("Contact %1").arg(i)}, {"status", 1}});
    BenchSession session(contacts);
    if (!session.logReady()) {
        std::fprintf(stderr, "the chat-log plug-in did not load\n");
        return 1;
    }
    for (int i = 0; i <= chats; ++i) {
        std::unique_ptr<ZChatLogger> log(
            ZChatLogger::create(QString::number(2000 + i), nullptr, ZChatLogger::OneToOneChat));
        for (int m = 0; m < 5; ++m)
            log->appendMessage(QStringLiteral("Earlier message %1 with <b>some</b> text").arg(m),
                               m % 2 ? Zr::Sent : Zr::Received);
    }

    SimulatedNetwork *network = session.startModule();

    open(network, 2000 + chats);
    settle();
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<ZChat *>(widget))
            window->close();
    }
    settle();

    const double heapBefore = double(mallinfo2().uordblks) / 1024;
    const double before = residentKb();
    for (int i = 0; i < chats; ++i) {
        open(network, 2000 + i);
        QCoreApplication::processEvents();
    }
    settle();
    const double after = residentKb();
    // The heap's share tells the widgets' and pictures' cost from the
    // libraries' own mappings; a shown window's backing store is on it too.
    std::fprintf(stderr, "chat_rss_per_open: heap %.0f KB per chat\n",
                 (double(mallinfo2().uordblks) / 1024 - heapBefore) / chats);
    int shown = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        shown += qobject_cast<ZChat *>(widget) && widget->isVisible() ? 1 : 0;
    if (shown != chats) {
        std::fprintf(stderr, "%d chats open instead of %d\n", shown, chats);
        return 1;
    }
    std::printf("BENCH chat_rss_per_open_kb %.0f KB\n", (after - before) / chats);
    return 0;
}
