// zubrel-xmpp-server FOLDER: starts a private Prosody with the accounts
// alice, bob and carol (who all see each other; the demo signs in the first
// two, carol is someone more to invite into a multi chat) and the account
// "matchmaker" for zubrel-matchmaker, writes the port to FOLDER/port and
// each password to FOLDER/<user>.password (readable by the owner only),
// and stops the server when it is terminated.

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "localxmppserver.h"

namespace {

std::atomic_bool stopRequested = false;

void requestStop(int)
{
    stopRequested = true;
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

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        qCritical("usage: zubrel-xmpp-server FOLDER");
        return 64;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QList<QPair<QString, QString>> accounts{{QStringLiteral("alice"), randomPassword()},
                                                  {QStringLiteral("bob"), randomPassword()},
                                                  {QStringLiteral("carol"), randomPassword()}};
    zubrel::LocalXmppServer server;
    QString error;
    if (!server.start(accounts, &error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    const QString matchmaker = randomPassword();
    if (!server.addAccount(QStringLiteral("matchmaker"), matchmaker, &error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    for (const auto &account : accounts + QList<QPair<QString, QString>>{{QStringLiteral("matchmaker"), matchmaker}}) {
        if (!writePrivate(folder.filePath(account.first + QLatin1String(".password")), account.second.toUtf8())) {
            qCritical("cannot write the password files into %s", argv[1]);
            return 1;
        }
    }
    // The port last: whoever waits for it finds everything else in place.
    if (!writePrivate(folder.filePath(QStringLiteral("port")), QByteArray::number(server.port()))) {
        qCritical("cannot write the port into %s", argv[1]);
        return 1;
    }
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
