// How long opening a chat takes: the host's open command builds the window,
// its tab, the partner's and the own card, and replays the last 10 records
// of the chat log. Prints BENCH chat_open_ms <median> ms.

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonObject>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>

#include "benchsession.h"
#include "simulatednetwork.h"
#include "zchat.h"
#include "zchattab.h"
#include "zcontactcardlist.h"
#include "zmessageview.h"
#include "zchatlogger.h"
#include "zdir.h"

using namespace zubrel;

namespace {

const QString partner = QStringLiteral("2001");

void closeAllChats()
{
    // Guarded: a window takes its own top-level pop-ups with it.
    QList<QPointer<ZChat>> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *chat = qobject_cast<ZChat *>(widget))
            windows.append(chat);
    }
    for (const QPointer<ZChat> &chat : std::as_const(windows))
        delete chat.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    BenchSession session(QJsonArray{QJsonObject{{"id", 2001}, {"nick", "Anna"}, {"status", 1}}});
    if (!session.logReady()) {
        std::fprintf(stderr, "the chat-log plug-in did not load\n");
        return 1;
    }
    {
        std::unique_ptr<ZChatLogger> log(ZChatLogger::create(partner, nullptr, ZChatLogger::OneToOneChat));
        for (int i = 0; i < 10; ++i)
            log->appendMessage(QStringLiteral("Earlier message number %1 with <b>some</b> text").arg(i),
                               i % 2 ? Zr::Sent : Zr::Received);
    }

    SimulatedNetwork *network = session.startModule();

    QList<double> samples;
    for (int round = 0; round < 41; ++round) {
        QElapsedTimer timer;
        timer.start();
        network->inject(1, 0xF0A0, {ProtocolArg(6, 0, partner)});
        QCoreApplication::processEvents();
        const double ms = timer.nsecsElapsed() / 1e6;
        if (round == 0) {
            // Measure the real thing: one window, one tab, two cards, ten records.
            const QVariantMap chats = session.chat()->registry().value("chats").toMap();
            auto *window = qobject_cast<ZChat *>(chats.value(partner).value<QObject *>());
            ZChatTab *tab = window && !window->tabs().isEmpty() ? window->tabs().first() : nullptr;
            if (!tab || tab->view->entryCount() < 10 || !tab->ownCard || tab->cardList->size() != 1) {
                std::fprintf(stderr, "the opened chat is not the one to measure\n");
                return 1;
            }
        } else { // the first round pays for loading fonts and pictures
            samples.append(ms);
        }
        closeAllChats();
        network->clear();
    }
    std::sort(samples.begin(), samples.end());
    std::printf("BENCH chat_open_ms %.2f ms\n", samples.at(samples.size() / 2));
    return 0;
}
