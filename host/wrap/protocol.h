#pragma once
// A protocol message: a command and its arguments in order.

#include <QList>

#include "protocolarg.h"
#include "protocolcommand.h"

class Protocol
{
public:
    Protocol() = default;
    explicit Protocol(const ProtocolCommand &command) : m_command(command) {}

    void addArg(const ProtocolArg &arg) { m_args.append(arg); }
    QList<ProtocolArg> args() const { return m_args; }
    void setArgs(const QList<ProtocolArg> &args) { m_args = args; }
    int argCount() const { return int(m_args.size()); }

    // The argument at index, or an invalid one when there is none: callers
    // that read network input never run past the last argument.
    ProtocolArg arg(int index) const { return index >= 0 && index < m_args.size() ? m_args.at(index) : ProtocolArg(); }
    bool hasArg(int index) const { return index >= 0 && index < m_args.size(); }

    void setCommand(const ProtocolCommand &command) { m_command = command; }
    ProtocolCommand command() const { return m_command; }
    ProtocolCommand &command() { return m_command; }

private:
    ProtocolCommand m_command;
    QList<ProtocolArg> m_args;
};
