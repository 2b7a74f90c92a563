#include "chatserver.h"

#include "chat.h"
#include "chatplugin.h"
#include "receivedfiles.h"
#include "czubuddy_administrator.h"
#include "wrappluginhelper.h"
#include "zchatlogger.h"
#include "zsettings.h"
#include "zskin.h"

namespace zubrel {

ChatServer::ChatServer()
    : helper(WrapPluginHelper::Instance())
{
}

void ChatServer::requestUserInfo()
{
    Protocol protocol(ProtocolCommand(1, 2));
    QPointer<Request> request = helper->createRequest(protocol, nullptr);
    connect(request, &Request::onSuccess, this, &ChatServer::slotDoOnGetUserInfoSuccess);
    connect(request, &Request::onFailed, this, &ChatServer::slotDoOnGetUserInfoFailed);
    helper->sendRequest(request);
    CZuBuddy_Administrator::Instance()->init(this, SLOT(slotOnReady()), true, false);
}

void ChatServer::slotOnReady()
{
    // The controller outlives this server: it belongs to the helper, which
    // lives as long as the process.
    new Chat(helper);
    helper->setModuleReady(ChatPlugin::chatModuleId);
}

void ChatServer::slotDoOnGetUserInfoSuccess(Request *request)
{
    const Protocol *response = request->response();
    bool isNumber = false;
    const uint userId = response->arg(0).variant().toUInt(&isNumber);
    // An answer without a readable user id must not switch the stores to
    // user "0": keep them with the user the host set before.
    if (isNumber && userId != 0) {
        const QString user = QString::number(userId);
        ZSkin::init(true);
        ZSettings::instance()->changeUser(user);
        ZChatLogger::initUser(user);
        // What earlier runs left in the user's received files goes now.
        ReceivedFiles::sweep(Chat::historyReplayCount);
    }
    helper->freeRequest(request);
}

void ChatServer::slotDoOnGetUserInfoFailed(Request *request)
{
    helper->freeRequest(request);
}

} // namespace zubrel
