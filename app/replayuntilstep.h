#pragma once
// The replay step "until": runs the event loop until the trace holds an
// event that matches, or a chat shows a text, and fails after "ms"
// (default 60 s). A script that talks to a real server waits for what it
// needs (signed in, a message arrived, a failure notice shown) instead of
// for a guessed time, which a busy machine overruns.
//   {"do": "until", "ev": "received", "cmd": [4, 61601], "count": 2, "ms": 90000}
//   {"do": "until", "chat": "10001", "shows": "could not be transmitted"}
// "cmd" is optional; "count" is how many such events since the run began
// (default 1). "shows" is looked for in the plain text of the chat's first
// tab, as the "state" event has it; the chat need not be open yet.

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>

namespace zubrel {

class TraceWriter;

class ReplayUntilStep : public QObject
{
    Q_OBJECT
public:
    explicit ReplayUntilStep(TraceWriter *writer, QObject *parent = nullptr);

    bool run(const QJsonObject &step, QString *error);

private:
    int matching(const QString &event, const QJsonValue &command) const;
    static QString shownIn(const QString &chat);

    // Every event so far, as its name and command (the rest is not needed).
    QList<QPair<QString, QJsonValue>> m_events;
};

} // namespace zubrel
