#include "simulatednetwork.h"

#include "request.h"
#include "wrappluginhelper.h"

SimulatedNetwork::SimulatedNetwork(WrapPluginHelper *helper)
    : m_helper(helper)
{
}

void SimulatedNetwork::transmit(Request *request, int module)
{
    SentRequest record;
    record.id = request->id();
    record.command = request->protocol()->command();
    record.module = module;
    record.args = request->protocol()->args();
    m_sent.append(record);
    emit requestTransmitted(record);
    if (m_responder)
        m_responder(record);
}

SentRequest SimulatedNetwork::lastSent(ushort a, ushort b) const
{
    for (auto it = m_sent.crbegin(); it != m_sent.crend(); ++it) {
        if (it->command.isCommand(a, b))
            return *it;
    }
    return {};
}

bool SimulatedNetwork::succeed(uint id, const QList<ProtocolArg> &responseArgs, ushort applicationServerId)
{
    return m_helper->completeRequest(id, true, responseArgs, applicationServerId);
}

bool SimulatedNetwork::fail(uint id)
{
    return m_helper->completeRequest(id, false);
}

uint SimulatedNetwork::inject(ushort a, ushort b, const QList<ProtocolArg> &args, ushort applicationServerId)
{
    ProtocolCommand command(a, b);
    command.setApplicationServerId(applicationServerId);
    return m_helper->deliverIncoming(command, args);
}
