#include "zabstractlogger.h"

#include <QPluginLoader>

#include "zdir.h"
#include "zloggerinterfaces.h"

namespace zubrel {

ZAbstractLogger::ZAbstractLogger(QObject *parent)
    : QObject(parent)
{
}

QString ZAbstractLogger::pluginPath(const QString &name)
{
    return ZDir::applicationPath() + QLatin1String("/plugins/log/") + name + QLatin1String(".so");
}

bool ZAbstractLogger::load(const QString &name)
{
    // The loader is dropped without unload(): the library stays loaded and
    // the root object is shared by every logger of the process.
    QPluginLoader loader(pluginPath(name));
    m_plugin = loader.instance();
    return loader.isLoaded() && m_plugin;
}

QString ZAbstractLogger::takePluginNotice()
{
    QString text;
    // Optional beyond the two interfaces: a plug-in without it has nothing
    // to tell.
    if (m_plugin && m_plugin->metaObject()->indexOfMethod("takeNotice()") >= 0)
        QMetaObject::invokeMethod(m_plugin.data(), "takeNotice", Qt::DirectConnection, Q_RETURN_ARG(QString, text));
    return text;
}

void ZAbstractLogger::setUserId(QString user)
{
    if (auto *logger = pluginInterface<ZLoggerInterface>())
        logger->setUserId(user);
}

} // namespace zubrel
