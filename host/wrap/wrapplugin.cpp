#include "wrapplugin.h"

#include "wrappluginhelper.h"

void WrapPlugin::send(Protocol &protocol)
{
    // Fire and forget: the helper keeps the books; nobody waits for an answer.
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    QPointer<Request> request = helper->createRequest(protocol, nullptr);
    connect(request, &Request::onSuccess, helper, &WrapPluginHelper::freeRequest);
    connect(request, &Request::onFailed, helper, &WrapPluginHelper::freeRequest);
    helper->sendRequest(request);
}
