#include "replaysoaksteps.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QJsonArray>

#include <malloc.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define ZUBREL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZUBREL_ASAN 1
#endif
#endif
#ifdef ZUBREL_ASAN
#include <sanitizer/allocator_interface.h>
#endif

#include "tracewriter.h"

namespace zubrel {

ReplaySoakSteps::ReplaySoakSteps(TraceWriter *writer, RunStep runStep, QObject *parent)
    : QObject(parent), m_writer(writer), m_runStep(std::move(runStep))
{
}

qint64 ReplaySoakSteps::residentKb()
{
#ifdef ZUBREL_ASAN
    // AddressSanitizer holds freed blocks in quarantine and maps shadow
    // memory, so resident pages say nothing there; the heap still in use is
    // what a leak would grow.
    return qint64(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    if (fields.size() < 2)
        return -1;
    return fields.at(1).toLongLong() * (sysconf(_SC_PAGESIZE) / 1024);
#endif
}

int ReplaySoakSteps::scaledRounds(int times)
{
    // Under the sanitizers each round costs ten times as much: that suite
    // runs a fraction of each soak (ZUBREL_SOAK_DIVISOR), the normal suite
    // the whole of it. At least one round, so every step still runs.
    bool ok = false;
    const int divisor = qEnvironmentVariableIntValue("ZUBREL_SOAK_DIVISOR", &ok);
    if (!ok || divisor <= 1)
        return times;
    return (times + divisor - 1) / divisor;
}

bool ReplaySoakSteps::doRepeat(const QJsonObject &step, QString *error)
{
    const int times = step.value(QLatin1String("times")).toInt(-1);
    const QJsonArray steps = step.value(QLatin1String("steps")).toArray();
    if (times < 1 || times > MaxTimes || steps.isEmpty()) {
        *error = QStringLiteral("repeat needs \"times\" (1 to %1) and a non-empty \"steps\" list").arg(MaxTimes);
        return false;
    }
    const int rounds = scaledRounds(times);
    m_writer->setMuted(true);
    bool ok = true;
    for (int round = 0; round < rounds && ok; ++round) {
        for (int i = 0; i < steps.size() && ok; ++i) {
            QString stepError;
            ok = steps.at(i).isObject() && m_runStep(steps.at(i).toObject(), &stepError);
            if (!ok)
                *error = QStringLiteral("repeat round %1, step %2: %3")
                             .arg(round + 1).arg(i + 1).arg(stepError.isEmpty() ? QStringLiteral("step failed") : stepError);
            // Only what is due now: deleted windows go, queued calls run.
            // The full wait for quiet comes once, after the last round.
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    m_writer->setMuted(false);
    return ok;
}

bool ReplaySoakSteps::doMemory(const QJsonObject &step, QString *error)
{
    if (step.value(QLatin1String("mark")).toBool()) {
        m_markKb = residentKb();
        return true;
    }
    const int withinKb = step.value(QLatin1String("withinKb")).toInt(-1);
    if (withinKb < 0 || m_markKb < 0) {
        *error = QStringLiteral("memory needs \"mark\": true first, then \"withinKb\"");
        return false;
    }
    const qint64 grown = residentKb() - m_markKb;
    m_writer->write(QStringLiteral("memory"), {{QStringLiteral("withinKb"), withinKb},
                                               {QStringLiteral("grownKb"), grown},
                                               {QStringLiteral("ok"), grown <= withinKb}});
    return true;
}

} // namespace zubrel
