#include "modulehost.h"

#include "wrapplugin.h"
#include "zdir.h"

namespace zubrel {

ModuleHost::ModuleHost(QObject *parent)
    : QObject(parent)
{
}

// The plug-in object is the module's; destroying it stops nothing that
// stop() has not stopped already.
ModuleHost::~ModuleHost() = default;

bool ModuleHost::load(QString *error, const QString &path)
{
    if (m_plugin) {
        *error = QStringLiteral("the module is already loaded");
        return false;
    }
    m_library.setFileName(path.isEmpty() ? ZDir::applicationPath() + QLatin1String("/zubrelChat.so") : path);
    auto create = reinterpret_cast<WrapPluginCreate>(m_library.resolve("create"));
    if (!create) {
        *error = QStringLiteral("cannot load the chat module: %1").arg(m_library.errorString());
        return false;
    }
    m_plugin.reset(create());
    if (!m_plugin) {
        *error = QStringLiteral("the chat module's create() returned no plug-in");
        return false;
    }
    return true;
}

QString ModuleHost::name() const
{
    return m_plugin ? m_plugin->name() : QString();
}

QString ModuleHost::version() const
{
    return m_plugin ? m_plugin->version() : QString();
}

int ModuleHost::moduleId() const
{
    return m_plugin ? int(m_plugin->moduleId()) : -1;
}

QJsonObject ModuleHost::identity() const
{
    return {{QStringLiteral("name"), name()},
            {QStringLiteral("version"), version()},
            {QStringLiteral("moduleId"), moduleId()}};
}

void ModuleHost::start()
{
    if (m_plugin)
        m_plugin->start();
}

void ModuleHost::stop()
{
    if (m_plugin)
        m_plugin->stop();
}

} // namespace zubrel
