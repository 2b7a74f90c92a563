#pragma once
// A protocol command: the pair (a, b), the application server that hosts the
// session, and the transaction id that ties a response to its request.

#include <QtGlobal>

class ProtocolCommand
{
public:
    ProtocolCommand() = default;
    ProtocolCommand(ushort a, ushort b) : m_a(a), m_b(b) {}

    ushort a() const { return m_a; }
    ushort b() const { return m_b; }

    void setApplicationServerId(ushort id) { m_applicationServerId = id; }
    ushort applicationServerId() const { return m_applicationServerId; }

    // Equal to the id of the request created for this command; a response
    // carries the same value.
    void setTransactionId(uint id) { m_transactionId = id; }
    uint transactionId() const { return m_transactionId; }

    bool isCommand(ushort a, ushort b) const { return m_a == a && m_b == b; }

private:
    ushort m_a = 0;
    ushort m_b = 0;
    ushort m_applicationServerId = 0;
    uint m_transactionId = 0;
};
