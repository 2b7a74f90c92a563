#include "wrappluginhelper.h"

#include <algorithm>

#include "simulatednetwork.h"


WrapPluginHelper::WrapPluginHelper()
    : m_simulated(std::make_unique<SimulatedNetwork>(this))
{
    m_backend = m_simulated.get();
}

WrapPluginHelper::~WrapPluginHelper() = default;

WrapPluginHelper *WrapPluginHelper::Instance()
{
    static WrapPluginHelper *helper = new WrapPluginHelper; // lives as long as the process, like the host's
    return helper;
}

QPointer<RequestHandler> WrapPluginHelper::setOnCommand(ushort a, ushort b, void *context)
{
    auto *handler = new RequestHandler(a, b, context, this);
    m_handlers.append(handler);
    emit handlerRegistered(a, b);
    return handler;
}

QPointer<Request> WrapPluginHelper::createRequest(Protocol &protocol, void *context)
{
    auto *request = new Request(nextId(), Request::Outgoing, protocol, context, this);
    protocol.command().setTransactionId(request->id());
    m_requests.insert(request->id(), request);
    return request;
}

void WrapPluginHelper::sendRequest(Request *request)
{
    transmit(request, -1);
}

void WrapPluginHelper::sendRequestToModule(Request *request, ushort module)
{
    transmit(request, module);
}

void WrapPluginHelper::transmit(Request *request, int module)
{
    // A request may only travel once and only while it is ours.
    if (!request || request->m_origin != Request::Outgoing || request->m_sent || request->m_freed)
        return;
    request->m_sent = true;
    request->m_targetModule = module;
    emit requestSent(request, module);
    if (m_backend)
        m_backend->transmit(request, module);
}

void WrapPluginHelper::requestSucceeded(Request *request, Protocol *reply)
{
    if (!request || request->m_origin != Request::Incoming || request->m_answered)
        return;
    request->m_answered = true;
    emit incomingAnswered(request, reply);
    m_requests.remove(request->id());
    request->deleteLater();
}

void WrapPluginHelper::freeRequest(Request *request)
{
    if (!request || request->m_origin != Request::Outgoing || request->m_freed)
        return;
    request->m_freed = true;
    const uint id = request->id();
    m_requests.remove(id);
    emit requestFreed(id);
    // Later: the caller is usually inside the request's own signal.
    request->deleteLater();
}

QVariant WrapPluginHelper::callHost(const QString &function, const QVariantList &arguments)
{
    m_hostCalls.append({function, arguments});
    return {};
}

void WrapPluginHelper::setModuleReady(ushort moduleId)
{
    m_readyModules.append(moduleId);
    emit moduleReady(moduleId);
}

void WrapPluginHelper::setBackend(WrapBackend *backend)
{
    m_backend = backend ? backend : m_simulated.get();
}

bool WrapPluginHelper::completeRequest(uint id, bool success, const QList<ProtocolArg> &responseArgs,
                                       ushort applicationServerId)
{
    Request *request = this->request(id);
    if (!request || request->m_origin != Request::Outgoing || !request->m_sent || request->m_completed
        || request->m_freed)
        return false;
    request->m_completed = true;
    ProtocolCommand command(request->m_protocol.command().a(), request->m_protocol.command().b());
    command.setTransactionId(id);
    command.setApplicationServerId(applicationServerId);
    request->m_response.setCommand(command);
    request->m_response.setArgs(responseArgs);
    emit requestCompleted(request, success);
    QPointer<Request> guard(request);
    if (success)
        emit request->onSuccess(request);
    else
        emit request->onFailed(request);
    return true;
}

uint WrapPluginHelper::deliverIncoming(const ProtocolCommand &command, const QList<ProtocolArg> &args)
{
    Protocol protocol(command);
    protocol.setArgs(args);
    auto *request = new Request(nextId(), Request::Incoming, protocol, nullptr, this);
    const uint id = request->id();
    m_requests.insert(id, request);
    emit incomingDelivered(request);
    // Handlers may be registered twice for one command; each gets it, as on the host.
    const auto handlers = m_handlers;
    QPointer<Request> guard(request);
    for (const QPointer<RequestHandler> &handler : handlers) {
        if (!guard)
            break;
        if (handler && handler->a() == command.a() && handler->b() == command.b())
            emit handler->onFunction(handler, request);
    }
    return id;
}

QList<uint> WrapPluginHelper::unansweredRequests() const
{
    QList<uint> ids;
    for (auto it = m_requests.cbegin(); it != m_requests.cend(); ++it) {
        if (it.value() && it.value()->origin() == Request::Incoming && !it.value()->isAnswered())
            ids.append(it.key());
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QList<uint> WrapPluginHelper::unfreedRequests() const
{
    QList<uint> ids;
    for (auto it = m_requests.cbegin(); it != m_requests.cend(); ++it) {
        if (it.value() && it.value()->origin() == Request::Outgoing && !it.value()->isFreed())
            ids.append(it.key());
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QList<QPair<ushort, ushort>> WrapPluginHelper::registeredCommands() const
{
    QList<QPair<ushort, ushort>> commands;
    for (const QPointer<RequestHandler> &handler : m_handlers) {
        if (handler)
            commands.append({handler->a(), handler->b()});
    }
    return commands;
}

Request *WrapPluginHelper::request(uint id) const
{
    return m_requests.value(id).data();
}

void WrapPluginHelper::reset()
{
    for (const QPointer<RequestHandler> &handler : std::as_const(m_handlers))
        delete handler.data();
    m_handlers.clear();
    for (const QPointer<Request> &request : std::as_const(m_requests))
        delete request.data();
    m_requests.clear();
    m_readyModules.clear();
    m_hostCalls.clear();
    m_simulated->clear();
    m_simulated->setResponder({});
    m_backend = m_simulated.get();
}
