#pragma once
// The plug-in object the host holds: it reports the module's name, version
// and number, and starts or stops the server that brings the module up.

#include <QPointer>

#include "moduletranslation.h"

#include "wrapplugin.h"

namespace zubrel {
class ChatServer;
}

class ChatPlugin : public WrapPlugin
{
public:
    ChatPlugin() = default;
    ~ChatPlugin() override;

    QString version() override;
    QString name() override;
    void start() override;
    void stop() override;
    ushort moduleId() override;
    QVariant forwardToHelper(const QString &function, const QVariantList &arguments) override;

    static constexpr ushort chatModuleId = 4;

private:
    zubrel::ChatServer *server = nullptr;
    // Outlives stop(): the controller's windows stay and keep their texts.
    zubrel::ModuleTranslation translation;
};
