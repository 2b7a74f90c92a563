#pragma once
// Replay steps for long runs: "repeat" runs a list of steps many times
// without tracing them, "memory" marks the process's resident memory and
// later checks how far it has grown. Together they show that opening and
// closing many chats leaves nothing behind.

#include <QJsonObject>
#include <QObject>

#include <functional>

namespace zubrel {

class TraceWriter;

class ReplaySoakSteps : public QObject
{
    Q_OBJECT
public:
    using RunStep = std::function<bool(const QJsonObject &, QString *)>;

    // Far more than any soak needs; a typo of a few zeros must not hang CI.
    static constexpr int MaxTimes = 100000;

    ReplaySoakSteps(TraceWriter *writer, RunStep runStep, QObject *parent = nullptr);

    bool doRepeat(const QJsonObject &step, QString *error);
    bool doMemory(const QJsonObject &step, QString *error);

    // Resident memory of this process in KiB, after handing freed heap back
    // to the system so that only memory still in use is counted (under
    // AddressSanitizer: the heap in use).
    static qint64 residentKb();

    // How many of "times" rounds this run makes: all of them, or a share
    // when ZUBREL_SOAK_DIVISOR is set (the sanitized suite).
    static int scaledRounds(int times);

private:
    TraceWriter *m_writer = nullptr;
    RunStep m_runStep;
    qint64 m_markKb = -1;
};

} // namespace zubrel
