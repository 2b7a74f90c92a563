#pragma once
// A private Prosody for the demo, the tests and the benchmarks: its
// configuration, accounts and data live in a temporary folder, it listens
// on loopback only on a free port, offers a multi chat component and a
// shared group in which all its accounts see each other. Never the system
// service: stop() (or the destructor) ends it and removes the folder.

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace zubrel {

class LocalXmppServer : public QObject
{
    Q_OBJECT
public:
    explicit LocalXmppServer(QObject *parent = nullptr);
    ~LocalXmppServer() override;

    // Writes the configuration, creates the accounts (user name and
    // password pairs, all in one shared group) and starts the server;
    // returns once it accepts connections. False and a reason otherwise.
    bool start(const QList<QPair<QString, QString>> &accounts, QString *error);
    // An account outside the shared group: nobody has it in their roster.
    bool addAccount(const QString &user, const QString &password, QString *error);
    // Stops the server and waits for it; the data stays until destruction,
    // so a restart keeps accounts and stored offline messages.
    void stop();
    // Starts it again on the same port after stop().
    bool restart(QString *error);
    bool isRunning() const;

    static QString domain() { return QStringLiteral("localhost"); }
    static QString mucDomain() { return QStringLiteral("conference.localhost"); }
    quint16 port() const { return m_port; }
    QString folder() const { return m_folder ? m_folder->path() : QString(); }
    QString jid(const QString &user) const { return user + QLatin1Char('@') + domain(); }

private:
    bool writeConfiguration(const QList<QPair<QString, QString>> &accounts, QString *error);
    bool launch(QString *error);
    bool waitForPort(int timeoutMs) const;
    QString configPath() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    QProcess m_process;
    quint16 m_port = 0;
};

} // namespace zubrel
