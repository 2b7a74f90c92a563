// Test helper: a separate client process writing to a chat log.
// Usage: chatlogwriter <folder> <contact> <count> wait|exit
// Appends <count> records "rec <contact> <i>", prints "done <written>" and
// then either waits to be killed or exits.

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <cstdio>

#include "chatlogstore.h"

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5)
        return 2;
    const QString contact = args.at(2);
    const int count = args.at(3).toInt();

    zubrel::ChatLogStore store;
    store.open(args.at(1));
    int written = 0;
    for (int i = 0; i < count; ++i) {
        MessageStruct m;
        m.contact = contact;
        m.time = QDateTime::currentDateTimeUtc();
        m.message = QStringLiteral("rec %1 %2").arg(contact).arg(i);
        m.alias = QStringLiteral("writer");
        m.chatKind = 1;
        m.direction = (i % 2) ? Zr::Received : Zr::Sent;
        if (store.append(m))
            ++written;
    }
    std::printf("done %d\n", written);
    std::fflush(stdout);
    if (args.at(4) == QLatin1String("wait")) {
        for (;;)
            QThread::sleep(1);
    }
    return written == count ? 0 : 1;
}
