// zubrel-xmpp-server FOLDER [--user NAME]... [--outsider NAME]... [--watch PID]
// starts a private Prosody and keeps it until it is terminated. The users
// (alice, bob and carol unless named: the demo signs in the first two,
// carol is someone more to invite into a multi chat) all see each other;
// outsiders and the account "matchmaker" for zubrel-matchmaker are in
// nobody's roster. Each password goes to FOLDER/<user>.password and the
// port to FOLDER/port (readable by the owner only), its own process id to
// FOLDER/pid. SIGUSR1 stops the server and SIGUSR2 starts it again with the
// same accounts and stored messages, so tests can drop every connection.
// With --watch it also ends when process PID is gone: a test run that is
// cut short leaves no server behind.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTimer>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <unistd.h>

#include "localxmppserver.h"

namespace {

std::atomic_bool stopRequested = false;
std::atomic_int pendingSwitch = 0; // the last of SIGUSR1 / SIGUSR2 not acted on yet

void requestStop(int)
{
    stopRequested = true;
}

void requestSwitch(int signal)
{
    pendingSwitch = signal;
}

QString randomPassword()
{
    QString password;
    for (int i = 0; i < 16; ++i)
        password += QChar(u'a' + QRandomGenerator::system()->bounded(26));
    return password;
}

bool writePrivate(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return file.write(bytes) == bytes.size();
}

int usage()
{
    qCritical("usage: zubrel-xmpp-server FOLDER [--user NAME]... [--outsider NAME]... [--watch PID]");
    return 64;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments().mid(1);
    if (arguments.isEmpty() || arguments.first().startsWith(QLatin1Char('-')))
        return usage();
    const QDir folder(arguments.takeFirst());
    QStringList users;
    QStringList outsiders{QStringLiteral("matchmaker")};
    pid_t watched = 0;
    while (arguments.size() >= 2) {
        const QString option = arguments.takeFirst();
        const QString value = arguments.takeFirst();
        if (option == QLatin1String("--user"))
            users.append(value);
        else if (option == QLatin1String("--outsider"))
            outsiders.append(value);
        else if (option == QLatin1String("--watch") && value.toInt() > 0)
            watched = value.toInt();
        else
            return usage();
    }
    if (!arguments.isEmpty())
        return usage();
    if (users.isEmpty())
        users = {QStringLiteral("alice"), QStringLiteral("bob"), QStringLiteral("carol")};

    QList<QPair<QString, QString>> members;
    for (const QString &user : users)
        members.append({user, randomPassword()});
    zubrel::LocalXmppServer server;
    QString error;
    if (!server.start(members, &error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    QList<QPair<QString, QString>> accounts = members;
    for (const QString &outsider : outsiders) {
        accounts.append({outsider, randomPassword()});
        if (!server.addAccount(outsider, accounts.last().second, &error)) {
            qCritical("%s", qPrintable(error));
            return 1;
        }
    }
    for (const auto &account : accounts) {
        if (!writePrivate(folder.filePath(account.first + QLatin1String(".password")), account.second.toUtf8())) {
            qCritical("cannot write the password files into %s", qPrintable(folder.path()));
            return 1;
        }
    }
    // The port last: whoever waits for it finds everything else in place.
    if (!writePrivate(folder.filePath(QStringLiteral("pid")), QByteArray::number(::getpid()))
        || !writePrivate(folder.filePath(QStringLiteral("port")), QByteArray::number(server.port()))) {
        qCritical("cannot write the port into %s", qPrintable(folder.path()));
        return 1;
    }
    std::signal(SIGTERM, requestStop);
    std::signal(SIGINT, requestStop);
    std::signal(SIGUSR1, requestSwitch);
    std::signal(SIGUSR2, requestSwitch);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &app, [&server, watched] {
        if (stopRequested || (watched > 0 && ::kill(watched, 0) != 0 && errno == ESRCH)) {
            QCoreApplication::quit();
            return;
        }
        const int signal = pendingSwitch.exchange(0);
        QString error;
        if (signal == SIGUSR1)
            server.stop();
        else if (signal == SIGUSR2 && !server.isRunning() && !server.restart(&error))
            qCritical("%s", qPrintable(error));
    });
    poll.start(50);
    return QCoreApplication::exec();
}
