#pragma once
// Contacts' pictures where the server has them: the photo of each contact's
// vCard (vcard-temp), fetched when the roster arrives and whenever a
// contact comes online, kept in the profile as <folder>/<number>.picture
// (the file name is the contact's number, never anything from the
// network) and handed to the contact directory.

#include <QObject>
#include <QPointer>
#include <memory>
#include <gloox/vcardhandler.h>

namespace gloox {
class VCardManager;
}

namespace zubrel {

class XmppConnection;
class XmppIdMap;

class XmppAvatars : public QObject, public gloox::VCardHandler
{
    Q_OBJECT
public:
    // Larger photos are not shown.
    static constexpr qsizetype maxBytes = 512 * 1024;

    XmppAvatars(XmppConnection *connection, XmppIdMap *ids, const QString &folder, QObject *parent = nullptr);
    ~XmppAvatars() override;

    void fetch(const QString &bareJid);

private:
    void handleVCard(const gloox::JID &jid, const gloox::VCard *vcard) override;
    void handleVCardResult(gloox::VCardHandler::VCardContext, const gloox::JID &, gloox::StanzaError) override {}

    QPointer<XmppConnection> m_connection;
    XmppIdMap *m_ids = nullptr;
    QString m_folder;
    std::unique_ptr<gloox::VCardManager> m_manager;
};

} // namespace zubrel
