#pragma once
// Base of every module the client loads. The host reads the module's name,
// version and number, starts and stops it, and may forward calls to it.

#include <QObject>
#include <QVariant>

#include "protocol.h"

class WrapPlugin : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

public slots:
    virtual QString version() = 0;
    virtual QString name() = 0;
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual ushort moduleId() = 0;
    virtual QVariant forwardToHelper(const QString &function, const QVariantList &arguments) = 0;
    virtual void send(Protocol &protocol);
};

// The one function a module library exports.
using WrapPluginCreate = WrapPlugin *(*)();
