#pragma once
// Brings the module up after start(): asks the network who is logged in,
// switches the per-user stores to that user, and builds the chat controller
// once the contact directory is ready.

#include <QObject>

class Request;
class WrapPluginHelper;

namespace zubrel {

class ChatServer : public QObject
{
    Q_OBJECT
public:
    ChatServer();

    void requestUserInfo();

    WrapPluginHelper *helper = nullptr;

public slots:
    void slotOnReady();
    void slotDoOnGetUserInfoSuccess(Request *request);
    void slotDoOnGetUserInfoFailed(Request *request);
};

} // namespace zubrel
