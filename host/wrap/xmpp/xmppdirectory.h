#pragma once
// Fills the host's contact directory from the roster and presence: every
// roster entry becomes a contact under its mapped number (nickname from the
// roster name, else the JID's user part), presence becomes the host's
// status numbers (see zrStatusOf), roster groups become the directory's
// groups. The directory reports ready once the first roster is in.

#include <QHash>
#include <QObject>
#include <QPointer>

#include "xmppevent.h"

namespace zubrel {

class XmppConnection;
class XmppIdMap;

class XmppDirectory : public QObject
{
    Q_OBJECT
public:
    XmppDirectory(XmppConnection *connection, XmppIdMap *ids, QObject *parent = nullptr);

    uint selfId() const { return m_selfId; }
    bool isInRoster(const QString &bareJid) const { return m_roster.contains(bareJid); }

signals:
    // A contact is in the roster or has just come online: time to look at
    // their picture.
    void contactAppeared(const QString &bareJid);
    // The roster changed during the session: contacts or groups to show again.
    void changed();

private:
    void onRoster(const QList<XmppContact> &contacts);
    void onPresence(const QString &bareJid, int status);
    void onDisconnected();

    QPointer<XmppConnection> m_connection;
    XmppIdMap *m_ids = nullptr;
    uint m_selfId = 0;
    QHash<QString, uint> m_roster; // bare JID -> number
};

} // namespace zubrel
