#pragma once
// Loads the chat module the way the client does: the library from the
// application folder, its one export "create", then the plug-in object's
// name, version and module number, start() and stop().

#include <QJsonObject>
#include <QLibrary>
#include <QObject>
#include <memory>

class WrapPlugin;

namespace zubrel {

class ModuleHost : public QObject
{
    Q_OBJECT
public:
    explicit ModuleHost(QObject *parent = nullptr);
    ~ModuleHost() override;

    // <application folder>/zubrelChat.so unless a path is given.
    bool load(QString *error, const QString &path = {});
    bool isLoaded() const { return m_plugin != nullptr; }
    WrapPlugin *plugin() const { return m_plugin.get(); }

    QString name() const;
    QString version() const;
    int moduleId() const;
    // Name, version and module number as the "plugin" trace event carries them.
    QJsonObject identity() const;

    void start();
    void stop();

private:
    // The library stays loaded until the process ends: the controller and
    // its windows outlive the plug-in object.
    QLibrary m_library;
    std::unique_ptr<WrapPlugin> m_plugin;
};

} // namespace zubrel
