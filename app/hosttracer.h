#pragma once
// Turns what the host stand-ins report into trace events: the messaging
// helper's signals (handlers, sent requests, incoming commands and their
// answers, freed requests) and every ZHostEvents report, with widgets named
// by chat key and paths inside the application folder made relative.

#include <QObject>
#include <QPointer>
#include <QVariantMap>

class Request;
class Protocol;

namespace zubrel {

class TraceWriter;

class HostTracer : public QObject
{
    Q_OBJECT
public:
    explicit HostTracer(TraceWriter *writer, QObject *parent = nullptr);

    // The newest sent request that has not completed yet, with this command
    // when given; 0 when there is none.
    uint lastUnanswered() const;
    uint lastUnanswered(ushort a, ushort b) const;

    // The "end" event: incoming requests never answered, created ones never freed.
    void writeEnd();

private:
    void onSent(Request *request, int module);
    void onDelivered(Request *request);
    void onAnswered(Request *request, const Protocol *reply);
    void onHostEvent(const QString &kind, const QVariantMap &fields);
    void reportLogUser(const QString &userId);

    QPointer<TraceWriter> m_writer;
    QList<uint> m_sent; // ids in sending order
};

} // namespace zubrel
