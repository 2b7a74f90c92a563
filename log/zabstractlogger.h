#pragma once
// Finds and loads a chat-log plug-in from the application's plugins/log/
// folder and tells it who is logged in. The plug-in's root object is held by
// a guarded pointer: if it goes away, every call is skipped.

#include <QObject>
#include <QPointer>
#include <QString>

namespace zubrel {

class ZAbstractLogger : public QObject
{
    Q_OBJECT
public:
    explicit ZAbstractLogger(QObject *parent = nullptr);

    // Where a plug-in of this name is looked for.
    static QString pluginPath(const QString &name);

    bool load(const QString &name);
    bool isLoaded() const { return !m_plugin.isNull(); }

public slots:
    void setUserId(QString user);

protected:
    // What the plug-in wants the user told about the history, once; empty
    // when nothing happened or the plug-in has no such notices.
    QString takePluginNotice();

    template<typename Interface>
    Interface *pluginInterface() const { return qobject_cast<Interface *>(m_plugin.data()); }

private:
    QPointer<QObject> m_plugin;
};

} // namespace zubrel
