#pragma once
// An in-process network for the demo host and the tests: it records every
// request sent, and completes requests and injects incoming commands on
// request. Nothing is completed by itself unless auto-answering is on.

#include <QList>
#include <QObject>
#include <functional>

#include "protocol.h"
#include "wrapbackend.h"

class WrapPluginHelper;

struct SentRequest
{
    uint id = 0;
    ProtocolCommand command;
    int module = -1; // -1: sent to the network
    QList<ProtocolArg> args;
};

class SimulatedNetwork : public QObject, public WrapBackend
{
    Q_OBJECT
public:
    explicit SimulatedNetwork(WrapPluginHelper *helper);

    void transmit(Request *request, int module) override;

    QList<SentRequest> sent() const { return m_sent; }
    SentRequest lastSent() const { return m_sent.isEmpty() ? SentRequest() : m_sent.last(); }
    // The newest sent request with this command, id 0 when none.
    SentRequest lastSent(ushort a, ushort b) const;
    void clear() { m_sent.clear(); }

    bool succeed(uint id, const QList<ProtocolArg> &responseArgs = {}, ushort applicationServerId = 0);
    bool fail(uint id);
    uint inject(ushort a, ushort b, const QList<ProtocolArg> &args, ushort applicationServerId = 0);

    // Lets a host answer requests as they are sent (the demo's bots).
    using Responder = std::function<void(const SentRequest &)>;
    void setResponder(Responder responder) { m_responder = std::move(responder); }

signals:
    void requestTransmitted(const SentRequest &request);

private:
    WrapPluginHelper *m_helper = nullptr;
    QList<SentRequest> m_sent;
    Responder m_responder;
};
