#include "xmppavatars.h"

#include <QDir>
#include <QImage>
#include <QSaveFile>
#include <gloox/client.h>
#include <gloox/vcard.h>
#include <gloox/vcardmanager.h>

#include "czubuddy_administrator.h"
#include "xmppconnection.h"
#include "xmppidmap.h"

namespace zubrel {

XmppAvatars::XmppAvatars(XmppConnection *connection, XmppIdMap *ids, const QString &folder, QObject *parent)
    : QObject(parent), m_connection(connection), m_ids(ids), m_folder(folder)
{
    // The manager belongs to one gloox client.
    connect(connection, &XmppConnection::clientAboutToChange, this, [this] { m_manager.reset(); });
    connect(connection, &XmppConnection::clientCreated, this,
            [this] { m_manager = std::make_unique<gloox::VCardManager>(m_connection->client()); });
}

XmppAvatars::~XmppAvatars()
{
    if (m_manager)
        m_manager->cancelVCardOperations(this);
}

void XmppAvatars::fetch(const QString &bareJid)
{
    if (m_manager && m_connection && m_connection->isConnected())
        m_manager->fetchVCard(gloox::JID(bareJid.toStdString()), this);
}

void XmppAvatars::handleVCard(const gloox::JID &jid, const gloox::VCard *vcard)
{
    const QString bare = XmppIdMap::bareJid(QString::fromStdString(jid.bare()));
    if (!vcard || bare.isEmpty() || !m_ids->contains(bare))
        return;
    const uint id = m_ids->idOf(bare);
    const BuddyData *known = CZuBuddy_Administrator::Instance()->data(id);
    const std::string &binval = vcard->photo().binval;
    if (!known || binval.empty() || qsizetype(binval.size()) > maxBytes)
        return;
    const QByteArray bytes(binval.data(), qsizetype(binval.size()));
    // Only what decodes as a picture is kept.
    if (QImage::fromData(bytes).isNull())
        return;
    QDir().mkpath(m_folder);
    const QString path = QDir(m_folder).filePath(QStringLiteral("%1.picture").arg(id));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return;
    BuddyData changed = *known;
    changed.picturePath = path;
    CZuBuddy_Administrator::Instance()->updateBuddy(changed);
}

} // namespace zubrel
