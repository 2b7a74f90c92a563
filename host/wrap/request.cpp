#include "request.h"

Request::Request(uint id, Origin origin, const Protocol &protocol, void *context, QObject *parent)
    : QObject(parent)
    , m_id(id)
    , m_origin(origin)
    , m_context(context)
    , m_protocol(protocol)
{
    m_protocol.command().setTransactionId(id);
}
