// zubrel-matchmaker JID PASSWORD_FILE [HOST[:PORT]]: signs in as JID (by
// default the account "matchmaker" of the users' server, where clients
// look for it) and pairs the users who ask for a random chat, relaying
// their messages until one of them quits. The password file must be
// readable by its owner only.

#include <QCoreApplication>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>

#include "xmppconnection.h"
#include "xmppmatchmaker.h"
#include "xmpppasswordfile.h"

namespace {

std::atomic_bool stopRequested = false;

void requestStop(int)
{
    stopRequested = true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: zubrel-matchmaker JID PASSWORD_FILE [HOST[:PORT]]\n");
        return 64;
    }
    zubrel::XmppConnection::Settings settings;
    QString error;
    if (!zubrel::XmppPasswordFile::read(QString::fromLocal8Bit(argv[2]), &settings.password, &error)) {
        std::fprintf(stderr, "zubrel-matchmaker: %s\n", qPrintable(error));
        return 64;
    }
    settings.jid = QString::fromLocal8Bit(argv[1]);
    settings.resource = QStringLiteral("matchmaker");
    if (argc == 4) {
        const QString server = QString::fromLocal8Bit(argv[3]);
        settings.host = server.section(QLatin1Char(':'), 0, 0);
        if (server.contains(QLatin1Char(':')))
            settings.port = server.section(QLatin1Char(':'), 1).toInt();
    }
    zubrel::XmppConnection connection(settings);
    zubrel::XmppMatchmaker matchmaker(&connection);
    QObject::connect(&connection, &zubrel::XmppConnection::disconnected, &app, [](const QString &reason) {
        std::fprintf(stderr, "zubrel-matchmaker: %s\n", qPrintable(reason));
    });
    // Scripts and tests wait for this line before sending anyone its way.
    QObject::connect(&connection, &zubrel::XmppConnection::connected, &app, [&settings] {
        std::fprintf(stderr, "zubrel-matchmaker: signed in as %s\n", qPrintable(settings.jid));
    });
    connection.open();
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [] {
        if (stopRequested)
            QCoreApplication::quit();
    });
    poll.start(100);
    return QCoreApplication::exec();
}
