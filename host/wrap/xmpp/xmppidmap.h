#pragma once
// The module knows people by decimal number, XMPP by JID. This map hands
// every bare JID a number of its own the first time it is seen and keeps
// the pairs in the profile, so that numbers never change between runs and
// never collide: numbers are only ever counted up, never reused or hashed.

#include <QHash>
#include <QObject>
#include <QString>

namespace zubrel {

class XmppIdMap : public QObject
{
    Q_OBJECT
public:
    // The first number handed out in a new profile.
    static constexpr uint firstId = 10001;

    // file: where the pairs are kept (JSON); read at once if it exists.
    explicit XmppIdMap(const QString &file, QObject *parent = nullptr);

    // The number of a JID (resource ignored, case folded), made and
    // stored if new; 0 for something that is no JID.
    uint idOf(const QString &jid);
    // The bare JID of a number, empty when unknown.
    QString jidOf(uint id) const { return m_jids.value(id); }
    bool contains(const QString &jid) const { return m_ids.contains(bareJid(jid)); }
    QString lastError() const { return m_error; }

    // "Node@Domain/Res" -> "node@domain"; empty for no usable JID.
    static QString bareJid(const QString &jid);

private:
    bool load();
    bool save();

    QString m_file;
    QHash<QString, uint> m_ids;
    QHash<uint, QString> m_jids;
    uint m_next = firstId;
    QString m_error;
};

} // namespace zubrel
