#pragma once
// The process-wide messaging helper: registers handlers for incoming
// commands, creates, sends, answers and frees requests, and keeps the books
// (which incoming requests were never answered, which created ones were
// never freed) so that hosts and tests can hold the module to its contract.

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <memory>

#include "protocol.h"
#include "request.h"
#include "requesthandler.h"

class WrapBackend;
class SimulatedNetwork;

class WrapPluginHelper : public QObject
{
    Q_OBJECT
public:
    static WrapPluginHelper *Instance();

    QPointer<RequestHandler> setOnCommand(ushort a, ushort b, void *context);
    QPointer<Request> createRequest(Protocol &protocol, void *context);
    void sendRequest(Request *request);
    void sendRequestToModule(Request *request, ushort module);
    void requestSucceeded(Request *request, Protocol *reply);
    void freeRequest(Request *request);

    // Host services reached through the plug-ins: a generic call that a
    // plug-in forwards unchanged, and the report that a module is ready.
    virtual QVariant callHost(const QString &function, const QVariantList &arguments);
    virtual void setModuleReady(ushort moduleId);

    // Network side: the backend and the entry points it uses.
    WrapBackend *backend() const { return m_backend; }
    void setBackend(WrapBackend *backend); // nullptr restores the simulated network
    SimulatedNetwork *simulatedNetwork() const { return m_simulated.get(); }

    // Completes a sent request; false when there is no such pending request
    // (unknown id, not sent yet, or already completed).
    bool completeRequest(uint id, bool success, const QList<ProtocolArg> &responseArgs = {},
                         ushort applicationServerId = 0);
    // Delivers an incoming command to the handlers registered for it and
    // returns the new request's id.
    uint deliverIncoming(const ProtocolCommand &command, const QList<ProtocolArg> &args);

    // Bookkeeping, ids in increasing order.
    QList<uint> unansweredRequests() const;
    QList<uint> unfreedRequests() const;
    QList<QPair<ushort, ushort>> registeredCommands() const;
    QList<ushort> readyModules() const { return m_readyModules; }
    QList<QPair<QString, QVariantList>> hostCalls() const { return m_hostCalls; }
    Request *request(uint id) const;

    // Forgets every request, handler and record: a fresh start for the next test.
    void reset();

signals:
    void handlerRegistered(ushort a, ushort b);
    void requestSent(Request *request, int module);
    void incomingDelivered(Request *request);
    void incomingAnswered(Request *request, const Protocol *reply);
    void requestCompleted(Request *request, bool success);
    void requestFreed(uint id);
    void moduleReady(ushort moduleId);

protected:
    WrapPluginHelper();
    ~WrapPluginHelper() override;

private:
    void transmit(Request *request, int module);
    uint nextId() { return ++m_lastId; }

    uint m_lastId = 0;
    WrapBackend *m_backend = nullptr;
    std::unique_ptr<SimulatedNetwork> m_simulated;
    QList<QPointer<RequestHandler>> m_handlers;
    QHash<uint, QPointer<Request>> m_requests; // created and not freed, or incoming not answered
    QList<ushort> m_readyModules;
    QList<QPair<QString, QVariantList>> m_hostCalls;
};
