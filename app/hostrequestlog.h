#pragma once
// What the chat module asks of the host application itself (show a
// profile or the history, start a file transfer or a call, open a web
// folder, ask for authorisation, block or unblock, hand on a sip link, take
// a new own picture). A real client would act on these; the demo lists each
// with its arguments so the user sees that the request arrived.

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

struct SentRequest;

namespace zubrel {

class HostRequestLog : public QObject
{
    Q_OBJECT
public:
    struct Entry
    {
        QDateTime time;
        QString what;      // "Voice call", "Block", ...
        QString arguments; // "contact Echo (2001)", ...
        QString summary() const { return arguments.isEmpty() ? what : what + QStringLiteral(": ") + arguments; }
    };

    using QObject::QObject;

    // The entry for a request to the host; nothing for any other request.
    static std::optional<Entry> describe(const SentRequest &request);
    // Records the request when it is one for the host.
    void record(const SentRequest &request);
    QList<Entry> entries() const { return m_entries; }

signals:
    void logged(const zubrel::HostRequestLog::Entry &entry);

private:
    QList<Entry> m_entries;
};

} // namespace zubrel
