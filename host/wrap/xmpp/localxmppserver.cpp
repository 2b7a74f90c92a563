#include "localxmppserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>

namespace zubrel {

namespace {

quint16 freeLoopbackPort()
{
    // The kernel picks; the short window until Prosody binds it is accepted.
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Lua string literal: only plain account names and generated paths go in.
QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

LocalXmppServer::LocalXmppServer(QObject *parent)
    : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // The server dies with whoever started it, even a crashed test.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

LocalXmppServer::~LocalXmppServer()
{
    stop();
}

QString LocalXmppServer::configPath() const
{
    return QDir(folder()).filePath(QStringLiteral("prosody.cfg.lua"));
}

bool LocalXmppServer::start(const QList<QPair<QString, QString>> &accounts, QString *error)
{
    stop();
    m_folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QLatin1String("/zubrel-prosody-XXXXXX"));
    if (!m_folder->isValid()) {
        *error = QStringLiteral("no temporary folder for the server");
        return false;
    }
    m_port = freeLoopbackPort();
    if (m_port == 0) {
        *error = QStringLiteral("no free loopback port");
        return false;
    }
    if (!writeConfiguration(accounts, error))
        return false;
    for (const auto &account : accounts) {
        if (!addAccount(account.first, account.second, error))
            return false;
    }
    return launch(error);
}

bool LocalXmppServer::addAccount(const QString &user, const QString &password, QString *error)
{
    // Prosody's own tool creates the account against this configuration
    // only. The password goes in on standard input, as typed twice at its
    // prompt: on the command line every user of the machine could read it.
    QProcess ctl;
    ctl.setProcessChannelMode(QProcess::MergedChannels);
    ctl.start(QStringLiteral("prosodyctl"),
              {QStringLiteral("--config"), configPath(), QStringLiteral("adduser"), jid(user)});
    const QByteArray line = password.toUtf8() + '\n';
    ctl.write(line + line);
    ctl.closeWriteChannel();
    if (!ctl.waitForFinished(30000) || ctl.exitStatus() != QProcess::NormalExit || ctl.exitCode() != 0) {
        *error = QStringLiteral("prosodyctl could not create the account %1").arg(user);
        return false;
    }
    return true;
}

bool LocalXmppServer::writeConfiguration(const QList<QPair<QString, QString>> &accounts, QString *error)
{
    const QDir dir(folder());
    dir.mkpath(QStringLiteral("data"));
    dir.mkpath(QStringLiteral("certs"));
    QByteArray groups = "[Zubrel]\n";
    for (const auto &account : accounts)
        groups += (jid(account.first) + QLatin1Char('=') + account.first + QLatin1Char('\n')).toUtf8();
    const QString config = QStringLiteral(
        "-- Generated for one run; loopback only, no encryption needed on loopback.\n"
        "run_as_root = true\n"
        "daemonize = false\n"
        "pidfile = %1\n"
        "data_path = %2\n"
        "certificates = %3\n"
        "interfaces = { \"127.0.0.1\" }\n"
        "c2s_ports = { %4 }\n"
        "c2s_direct_tls_ports = { }\n"
        "legacy_ssl_ports = { }\n"
        "s2s_ports = { }\n"
        "component_ports = { }\n"
        "http_ports = { }\n"
        "https_ports = { }\n"
        "c2s_require_encryption = false\n"
        "allow_unencrypted_plain_auth = true\n"
        "authentication = \"internal_hashed\"\n"
        "storage = \"internal\"\n"
        "limits = { c2s = { rate = \"100mb/s\" } }\n"
        // The option Prosody reads (256 KiB by default): a message
        // with its pictures may be larger, and one over the limit ends
        // the sender's connection.
        "c2s_stanza_size_limit = 1024 * 1024\n"
        // Small stanzas leave at once: with Nagle the server held each
        // answer back until the client acknowledged the one before.
        "network_settings = { nagle = false }\n"
        "log = { { levels = { min = \"warn\" }, to = \"file\", filename = %5 } }\n"
        "modules_enabled = { \"roster\", \"saslauth\", \"disco\", \"offline\", \"blocklist\", \"vcard_legacy\",\n"
        "  \"ping\", \"posix\", \"groups\", \"time\", \"version\" }\n"
        "modules_disabled = { \"s2s\", \"tls\" }\n"
        "groups_file = %6\n"
        "VirtualHost %7\n"
        "Component %8 \"muc\"\n"
        "  restrict_room_creation = false\n")
                               .arg(quoted(dir.filePath(QStringLiteral("prosody.pid"))),
                                    quoted(dir.filePath(QStringLiteral("data"))),
                                    quoted(dir.filePath(QStringLiteral("certs"))), QString::number(m_port),
                                    quoted(dir.filePath(QStringLiteral("prosody.log"))),
                                    quoted(dir.filePath(QStringLiteral("groups.txt"))), quoted(domain()),
                                    quoted(mucDomain()));
    if (!writeFile(dir.filePath(QStringLiteral("groups.txt")), groups) || !writeFile(configPath(), config.toUtf8())) {
        *error = QStringLiteral("cannot write the server configuration");
        return false;
    }
    return true;
}

bool LocalXmppServer::launch(QString *error)
{
    m_process.start(QStringLiteral("prosody"), {QStringLiteral("--config"), configPath()});
    if (!m_process.waitForStarted(10000)) {
        *error = QStringLiteral("prosody did not start: %1").arg(m_process.errorString());
        return false;
    }
    if (!waitForPort(20000)) {
        stop();
        *error = QStringLiteral("prosody did not listen on port %1").arg(m_port);
        return false;
    }
    return true;
}

bool LocalXmppServer::waitForPort(int timeoutMs) const
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (m_process.state() == QProcess::NotRunning)
            return false;
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, m_port);
        if (socket.waitForConnected(200))
            return true;
        QThread::msleep(50);
    }
    return false;
}

void LocalXmppServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool LocalXmppServer::restart(QString *error)
{
    stop();
    if (!m_folder) {
        *error = QStringLiteral("the server was never started");
        return false;
    }
    return launch(error);
}

bool LocalXmppServer::isRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

} // namespace zubrel
