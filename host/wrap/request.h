#pragma once
// A request: either one the module created and sent (it completes with
// exactly one of onSuccess/onFailed and carries the response), or an incoming
// command the module must answer.

#include <QObject>

#include "protocol.h"

class WrapPluginHelper;

class Request : public QObject
{
    Q_OBJECT
public:
    enum Origin { Outgoing, Incoming };

    uint id() const { return m_id; }
    Origin origin() const { return m_origin; }
    void *context() const { return m_context; }

    // The request's own protocol: the outgoing command, or the arguments of
    // an incoming one.
    Protocol *protocol() { return &m_protocol; }
    const Protocol *protocol() const { return &m_protocol; }
    // The answer to an outgoing request.
    Protocol *response() { return &m_response; }
    const Protocol *response() const { return &m_response; }

    bool isSent() const { return m_sent; }
    bool isCompleted() const { return m_completed; }
    bool isAnswered() const { return m_answered; }
    bool isFreed() const { return m_freed; }
    // The module the request was sent to with sendRequestToModule, -1 for the network.
    int targetModule() const { return m_targetModule; }

signals:
    void onSuccess(Request *request);
    void onFailed(Request *request);

private:
    friend class WrapPluginHelper;
    Request(uint id, Origin origin, const Protocol &protocol, void *context, QObject *parent);

    uint m_id = 0;
    Origin m_origin = Outgoing;
    void *m_context = nullptr;
    Protocol m_protocol;
    Protocol m_response;
    bool m_sent = false;
    bool m_completed = false;
    bool m_answered = false;
    bool m_freed = false;
    int m_targetModule = -1;
};
