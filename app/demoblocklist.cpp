#include "demoblocklist.h"

#include "demonetwork.h"
#include "simulatednetwork.h"

namespace zubrel {

DemoBlockList::DemoBlockList(DemoNetwork *network, QObject *parent)
    : QObject(parent), m_network(network)
{
    if (network)
        connect(network, &DemoNetwork::sent, this, &DemoBlockList::onSent);
}

void DemoBlockList::onSent(const SentRequest &request)
{
    const bool block = request.command.isCommand(1, 0x0021);
    if (!block && !request.command.isCommand(1, 0x0020))
        return;
    uint id = 0;
    for (const ProtocolArg &arg : request.args) {
        if (arg.field() == 1)
            id = arg.variant().toString().toUInt();
    }
    if (id == 0)
        return;
    if (block && !m_ids.contains(id))
        m_ids.append(id);
    else if (!block)
        m_ids.removeAll(id);
    // The messenger sends the whole list: a count, then the ids as text.
    QList<ProtocolArg> list{ProtocolArg(DataTypes::Count, 0, int(m_ids.size()))};
    for (int i = 0; i < m_ids.size(); ++i)
        list.append(ProtocolArg(DataTypes::Text, DataField(i + 1), QString::number(m_ids.at(i))));
    if (m_network)
        m_network->injectLater(0, 1, 0xF102, list);
}

} // namespace zubrel
