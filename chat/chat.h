#pragma once
// The chat controller: one per ready report of the contact directory. It
// owns the registry of open chats and handles every chat command.

#include <QObject>
#include <QPointer>

class WrapPluginHelper;

namespace zubrel {

class Chat : public QObject
{
    Q_OBJECT
public:
    explicit Chat(WrapPluginHelper *helper);

private:
    WrapPluginHelper *m_helper = nullptr;
};

} // namespace zubrel
