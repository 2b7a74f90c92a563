#include "chatplugin.h"

#include "chatserver.h"
#include "wrappluginhelper.h"

ChatPlugin::~ChatPlugin()
{
    stop();
}

QString ChatPlugin::version()
{
    return QStringLiteral("1.0.0");
}

QString ChatPlugin::name()
{
    return QStringLiteral("ZubrelChat");
}

void ChatPlugin::start()
{
    // A second start() would orphan the first server and register twice.
    if (server)
        return;
    translation.load();
    server = new zubrel::ChatServer;
    server->requestUserInfo();
}

void ChatPlugin::stop()
{
    // Only the server goes: the controller and its windows live on.
    delete server;
    server = nullptr;
}

ushort ChatPlugin::moduleId()
{
    return chatModuleId;
}

QVariant ChatPlugin::forwardToHelper(const QString &function, const QVariantList &arguments)
{
    // Before start() there is no helper to forward to; answer "nothing".
    if (!server)
        return {};
    return server->helper->callHost(function, arguments);
}
