#pragma once
// A single place where the host stand-ins report what the module made them
// do (boxes shown, sounds played, windows flashed, settings written ...).
// The demo host's trace writer and the tests listen here; nothing in the
// stand-ins depends on anybody listening.

#include <QObject>
#include <QString>
#include <QVariantMap>

namespace zubrel {

class ZHostEvents : public QObject
{
    Q_OBJECT
public:
    static ZHostEvents *instance();

    // kind is the trace event name ("box", "sound", "platform", "flash",
    // "shake", "setting", "process", "input", "fileDialog", "dialog", "skin"
    // ...); widgets involved travel as QObject* under "widget".
    void report(const QString &kind, const QVariantMap &fields);

signals:
    void event(const QString &kind, const QVariantMap &fields);

private:
    ZHostEvents() = default;
};

} // namespace zubrel
