#pragma once
// The demo's multi chat server: answers create and join, relays what the
// user writes to the bot members and lets them answer (Echo repeats, Pixel
// draws, Pocket keeps it short). Bots join the groups the user starts when
// invited, and run a group of their own, "Bots' lounge", into which they
// invite the user: they talk with pictures, type, come and go, and Pixel
// finally kicks the user. Echo then opens a second group and closes it.

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

#include "protocol.h"

struct SentRequest;

namespace zubrel {

class DemoMultichat : public QObject
{
    Q_OBJECT
public:
    static constexpr ushort server = 31;
    static constexpr quint32 loungeId = 900;
    static constexpr quint32 cornerId = 901;

    // timeScale stretches every delay (1 in the demo; small in tests).
    explicit DemoMultichat(int latencyMs, double timeScale = 1.0, QObject *parent = nullptr);

    // Completes a multi chat request the module sent; false for others.
    bool handle(const SentRequest &request);
    // The bots' own group invites the user this long after sign-in.
    void scheduleLounge(int delayMs);

    // Members (bots and contacts, not the user) of a running session.
    QStringList members(quint32 id) const { return m_sessions.value(id).members; }
    bool userIn(quint32 id) const { return m_sessions.value(id).userIn; }

private:
    struct Session {
        QString topic;
        QStringList members;
        bool userIn = false;
        int messages = 0;
    };
    void complete(uint id, bool success, const QList<ProtocolArg> &args = {}, ushort app = 0);
    void later(int delayMs, ushort b, const QList<ProtocolArg> &args);
    void invite(quint32 id, const QString &from, const QString &topic, int delayMs);
    void memberJoins(quint32 id, const QString &who, int delayMs);
    void memberLeaves(quint32 id, const QString &who, int delayMs);
    void say(quint32 id, const QString &who, const QString &html, int delayMs, bool picture = false);
    void answerUser(quint32 id, const QString &text);
    void runLounge();
    void runCorner();
    int scaled(int ms) const { return int(ms * m_scale); }

    int m_latency = 300;
    double m_scale = 1.0;
    quint32 m_nextId = 1001;
    int m_pictures = 0;
    QHash<quint32, Session> m_sessions;
};

} // namespace zubrel
