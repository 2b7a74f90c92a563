#include "xmppidmap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace zubrel {

XmppIdMap::XmppIdMap(const QString &file, QObject *parent)
    : QObject(parent), m_file(file)
{
    load();
}

QString XmppIdMap::bareJid(const QString &jid)
{
    QString bare = jid.section(QLatin1Char('/'), 0, 0).trimmed();
    const qsizetype at = bare.indexOf(QLatin1Char('@'));
    // Node and domain compare without case; a JID longer than the
    // protocol's limits is no JID at all.
    if (bare.isEmpty() || bare.size() > 2047 || at == 0 || at == bare.size() - 1 || bare.contains(QLatin1Char(' ')))
        return {};
    return bare.toLower();
}

uint XmppIdMap::idOf(const QString &jid)
{
    const QString bare = bareJid(jid);
    if (bare.isEmpty())
        return 0;
    const uint known = m_ids.value(bare);
    if (known)
        return known;
    const uint id = m_next++;
    m_ids.insert(bare, id);
    m_jids.insert(id, bare);
    save();
    return id;
}

bool XmppIdMap::load()
{
    QFile file(m_file);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    const QJsonObject ids = root.value(QLatin1String("ids")).toObject();
    uint highest = firstId - 1;
    for (auto it = ids.begin(); it != ids.end(); ++it) {
        const QString bare = bareJid(it.key());
        const qint64 id = it.value().toInteger(0);
        // A damaged entry is skipped; a number given twice keeps its first JID.
        if (bare.isEmpty() || id < firstId || id > 0xFFFFFFF0 || m_jids.contains(uint(id)))
            continue;
        m_ids.insert(bare, uint(id));
        m_jids.insert(uint(id), bare);
        highest = qMax(highest, uint(id));
    }
    const qint64 next = root.value(QLatin1String("next")).toInteger(0);
    m_next = qMax<qint64>(highest + 1, qMin<qint64>(next, 0xFFFFFFF0));
    return true;
}

bool XmppIdMap::save()
{
    QDir().mkpath(QFileInfo(m_file).absolutePath());
    QJsonObject ids;
    for (auto it = m_ids.cbegin(); it != m_ids.cend(); ++it)
        ids.insert(it.key(), qint64(it.value()));
    QJsonObject root;
    root.insert(QLatin1String("next"), qint64(m_next));
    root.insert(QLatin1String("ids"), ids);
    QSaveFile file(m_file);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(root).toJson()) < 0 || !file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

} // namespace zubrel
