#include "xmppoutbox.h"

#include "xmppconnection.h"

namespace zubrel {

XmppOutbox::XmppOutbox(XmppConnection *connection, QObject *parent)
    : QObject(parent), m_connection(connection)
{
    connect(connection, &XmppConnection::connected, this, &XmppOutbox::flush);
    connect(connection, &XmppConnection::confirmed, this, &XmppOutbox::onConfirmed);
    connect(connection, &XmppConnection::messageBounced, this, &XmppOutbox::onBounced);
    connect(connection, &XmppConnection::disconnected, this, &XmppOutbox::onDisconnected);
    m_expiry.setInterval(250);
    connect(&m_expiry, &QTimer::timeout, this, &XmppOutbox::expire);
}

int XmppOutbox::unconfirmed() const
{
    int count = 0;
    for (const auto &batch : m_batches)
        count += int(batch.size());
    return count;
}

void XmppOutbox::post(XmppOutgoing message)
{
    message.deadline = QDeadlineTimer(m_timeoutMs);
    m_queue.append(std::move(message));
    if (!m_expiry.isActive())
        m_expiry.start();
    // Later in this turn of the event loop: a burst goes out behind one ping.
    if (m_queue.size() == 1)
        QMetaObject::invokeMethod(this, &XmppOutbox::flush, Qt::QueuedConnection);
}

void XmppOutbox::flush()
{
    if (!m_connection || !m_connection->isConnected() || m_queue.isEmpty())
        return;
    QList<XmppOutgoing> batch;
    QList<XmppOutgoing> held;
    for (XmppOutgoing &message : m_queue)
        (!m_gate || m_gate(message) ? batch : held).append(std::move(message));
    m_queue = std::move(held);
    if (batch.isEmpty())
        return;
    for (const XmppOutgoing &message : std::as_const(batch))
        m_connection->sendMessage(message.to, message.stanzaId, message.body,
                                  message.payload ? &*message.payload : nullptr, message.noStore,
                                  message.groupChat);
    m_batches.append(std::move(batch));
    m_connection->confirm();
}

void XmppOutbox::onConfirmed()
{
    if (m_batches.isEmpty())
        return;
    const QList<XmppOutgoing> batch = m_batches.takeFirst();
    for (const XmppOutgoing &message : batch)
        emit delivered(message.requestId);
}

void XmppOutbox::onBounced(const QString &stanzaId)
{
    for (auto &batch : m_batches) {
        for (qsizetype i = 0; i < batch.size(); ++i) {
            if (batch.at(i).stanzaId == stanzaId) {
                const uint requestId = batch.takeAt(i).requestId;
                emit failed(requestId);
                return;
            }
        }
    }
}

void XmppOutbox::onDisconnected()
{
    // Whether the server saw them is unknown: they go again, first.
    QList<XmppOutgoing> again;
    for (auto &batch : m_batches)
        again.append(std::move(batch));
    m_batches.clear();
    again.append(std::move(m_queue));
    m_queue = std::move(again);
}

void XmppOutbox::expire()
{
    // Only what has not left yet can still time out; sent messages wait
    // for their ping or the next drop.
    QList<uint> expired;
    for (qsizetype i = 0; i < m_queue.size();) {
        if (m_queue.at(i).deadline.hasExpired())
            expired.append(m_queue.takeAt(i).requestId);
        else
            ++i;
    }
    if (m_queue.isEmpty() && m_batches.isEmpty())
        m_expiry.stop();
    for (uint id : std::as_const(expired))
        emit failed(id);
}

} // namespace zubrel
