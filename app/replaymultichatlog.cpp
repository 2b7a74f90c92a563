#include "replaymultichatlog.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>

#include "chatstatereader.h"
#include "zdir.h"

namespace zubrel {

namespace {

QString rememberedFile()
{
    return ZDir::profilePath() + QStringLiteral("/replay-multichat-logs.json");
}

QJsonObject remembered()
{
    QFile file(rememberedFile());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

} // namespace

QUuid ReplayMultichatLog::uuidOf(const QString &key)
{
    QUuid uuid;
    if (QWidget *tab = ChatStateReader::firstTab(key)) {
        for (const QObject *child : tab->children()) {
            if (qstrcmp(child->metaObject()->className(), "zubrel::ZChatLogger") == 0)
                uuid = child->property("uuid").toUuid();
        }
    }
    QJsonObject known = remembered();
    if (uuid.isNull())
        return QUuid::fromString(known.value(key).toString());
    known.insert(key, uuid.toString(QUuid::WithoutBraces));
    QFile file(rememberedFile());
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QJsonDocument(known).toJson());
    return uuid;
}

} // namespace zubrel
