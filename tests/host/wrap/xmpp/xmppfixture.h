#pragma once
// The private XMPP server the test run shares (the CTest fixture
// xmpp_server, see CMakeLists.txt): its port and account passwords, and
// the switch that drops and restores every connection.
#include <QDir>
#include <QFile>
#include <csignal>

#include "xmppconnection.h"

struct XmppFixture
{
    QDir folder{qEnvironmentVariable("ZUBREL_XMPP_FOLDER")};

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
    }
    bool isUp() const { return port() > 0; }
    quint16 port() const { return read(folder.filePath(QStringLiteral("port"))).toUShort(); }
    static QString jid(const QString &user) { return user + QLatin1String("@localhost"); }
    zubrel::XmppConnection::Settings settings(const QString &user) const
    {
        return {jid(user), QString::fromUtf8(read(folder.filePath(user + QLatin1String(".password")))),
                QStringLiteral("127.0.0.1"), port()};
    }
    // Stops or starts Prosody; the caller waits for its connections to notice.
    void setRunning(bool on) const
    {
        const int pid = read(folder.filePath(QStringLiteral("pid"))).toInt();
        if (pid > 0)
            ::kill(pid, on ? SIGUSR2 : SIGUSR1);
    }
};
