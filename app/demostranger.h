#pragma once
// The demo's random chat server and the stranger it matches the user with:
// it names the server, logs the user in, matches "Stranger" after a short
// wait, greets, answers every message after a typing notice (now and then
// with a drawing), and leaves when told "bye" or after a while. A session
// the user quits is over at once: nothing of it arrives later.

#include <QHash>
#include <QList>
#include <QObject>

#include "protocol.h"

struct SentRequest;

namespace zubrel {

class DemoStranger : public QObject
{
    Q_OBJECT
public:
    // How long a session lasts before the stranger leaves on their own.
    static constexpr int sessionMs = 120000;

    DemoStranger(int latencyMs, QObject *parent = nullptr);

    // Answers a random chat command the module sent; false for any other.
    bool handle(const SentRequest &request);
    // Sessions the stranger is still in.
    int activeSessions() const { return int(m_sessions.size()); }

private:
    struct Session {
        int replies = 0;
    };
    void login(const SentRequest &request);
    void answer(const QString &id, const QString &said);
    void say(const QString &id, int delayMs, const QByteArray &html, const QByteArray &picture = {});
    void leave(const QString &id, int delayMs);
    void inject(int delayMs, const QString &id, ushort b, const QList<ProtocolArg> &args);
    void complete(uint request, bool success, const QList<ProtocolArg> &args = {}, ushort server = 0);
    static QString sessionOf(const SentRequest &request);

    int m_latency = 0;
    uint m_lastId = 500;
    int m_pictures = 0;
    QHash<QString, Session> m_sessions;
};

} // namespace zubrel
