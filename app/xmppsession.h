#pragma once
// The demo host signed in to a real XMPP server instead of the simulated
// network: the XMPP backend carries the module's commands, the roster fills
// the contact list, and requests the network cannot carry are named in the
// status line ("not available on this network").

#include <QObject>
#include <memory>

#include "xmppconnection.h"

namespace zubrel {

class ContactListWindow;
class ModuleHost;
class TraceWriter;
class XmppBackend;

class XmppSession : public QObject
{
    Q_OBJECT
public:
    XmppSession(ModuleHost *module, const XmppConnection::Settings &settings, QObject *parent = nullptr);
    ~XmppSession() override;

    bool start(QString *error, TraceWriter *writer = nullptr);
    void shutdown();
    // Opens chats with these contacts once the roster is in, as double-clicks would.
    void openChats(const QList<uint> &contacts);

    XmppBackend *backend() const { return m_backend.get(); }
    // Where the account's JID numbers are kept in the current profile.
    static QString idFile(const QString &jid);

    // The password typed at the terminal without echo (or from a file, see
    // XmppPasswordFile). Never from the command line, never written anywhere.
    static bool promptPassword(const QString &jid, QString *password, QString *error);

private:
    void showWindow();

    ModuleHost *m_module = nullptr;
    std::unique_ptr<XmppBackend> m_backend;
    std::unique_ptr<ContactListWindow> m_window;
    QString m_status;
};

} // namespace zubrel
