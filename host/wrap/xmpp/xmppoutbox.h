#pragma once
// The messages on their way out. A message is sent at once when the
// connection is up, else queued; either way it completes only when the
// server has seen it (a ping sent behind it comes back) or fails when the
// server bounces it or it cannot leave before its timeout. A drop puts the
// unconfirmed messages back at the head of the queue, in order, to be sent
// again with the same ids; receivers drop the repeats. Nothing is lost
// silently, nothing is delivered twice.

#include <QDeadlineTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <optional>

#include "xmpppayload.h"

namespace zubrel {

class XmppConnection;

struct XmppOutgoing
{
    uint requestId = 0;
    QString to;
    QString stanzaId;
    QString body;
    std::optional<XmppPayload> payload;
    bool noStore = false;
    bool groupChat = false;
    QDeadlineTimer deadline;
};

class XmppOutbox : public QObject
{
    Q_OBJECT
public:
    static constexpr int defaultTimeoutMs = 120000;

    explicit XmppOutbox(XmppConnection *connection, QObject *parent = nullptr);

    void setTimeout(int ms) { m_timeoutMs = ms; }
    // Says whether a message may leave now (a multi chat's messages wait
    // until its room is entered again after a drop); those it holds keep
    // their order and their deadline.
    void setGate(std::function<bool(const XmppOutgoing &)> gate) { m_gate = std::move(gate); }
    void post(XmppOutgoing message);
    // Sends what may leave; also when the gate opens.
    void flush();
    int queued() const { return int(m_queue.size()); }
    int unconfirmed() const;

signals:
    void delivered(uint requestId);
    void failed(uint requestId);

private:
    void onConfirmed();
    void onBounced(const QString &stanzaId);
    void onDisconnected();
    void expire();

    QPointer<XmppConnection> m_connection;
    QList<XmppOutgoing> m_queue;
    // Sent, waiting for their ping: one batch per ping, oldest first.
    QList<QList<XmppOutgoing>> m_batches;
    QTimer m_expiry;
    int m_timeoutMs = defaultTimeoutMs;
    std::function<bool(const XmppOutgoing &)> m_gate;
};

} // namespace zubrel
