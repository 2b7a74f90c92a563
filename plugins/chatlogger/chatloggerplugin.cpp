#include "chatloggerplugin.h"

#include <QCoreApplication>

#include "zdir.h"

namespace zubrel {

ChatLoggerPlugin::ChatLoggerPlugin(QObject *parent)
    : QObject(parent)
{
    // The plug-in's root object is only destroyed when the library is
    // unloaded at process exit, after Qt SQL's own globals are gone: close
    // the database while the application still exists.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QObject::destroyed, this, [this] { m_store.close(); });
}

ChatLoggerPlugin::~ChatLoggerPlugin() = default;

void ChatLoggerPlugin::setUserId(QString user)
{
    // ZDir maps anything but a decimal id to its "default" folder, so the
    // id never becomes part of a path here.
    m_store.open(ZDir::userPath(user));
}

QList<MessageStruct> ChatLoggerPlugin::lastMessages(int count, QString chatId)
{
    return m_store.lastMessages(count, chatId);
}

QList<MessageStruct> ChatLoggerPlugin::lastMessages(int count, QUuid uuid)
{
    return m_store.lastMessages(count, uuid);
}

void ChatLoggerPlugin::appendMessage(MessageStruct message)
{
    m_store.append(message);
}

QString ChatLoggerPlugin::takeNotice()
{
    return m_store.takeNotice();
}

} // namespace zubrel
