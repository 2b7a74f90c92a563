#pragma once
// Runs a replay script: one JSON step per line, executed in order against
// the module and the simulated network, with the event loop run until
// idle after every step so each step's effects are traced before the next.
// A malformed step or a reference to something missing ends the run with an
// "error" event naming the script line (exit status 2).

#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

namespace zubrel {

class HostTracer;
class ModuleHost;
class TraceWriter;
class ReplayDeferrals;
class ReplayUiSteps;

class ReplayRunner : public QObject
{
    Q_OBJECT
public:
    ReplayRunner(TraceWriter *writer, HostTracer *tracer, ModuleHost *module, QObject *parent = nullptr);
    ~ReplayRunner() override;

    // 0 when every step ran, 2 for a malformed script (after its error event).
    int run(const QString &scriptPath);
    // Runs one script line's step; false and an error text when it is malformed.
    bool runStep(const QJsonObject &step, QString *error);

    // Runs the event loop until idle, every short deferral included.
    void settle();
    // Runs the event loop for ms milliseconds.
    static void spin(int ms);

private:
    using Step = std::function<bool(const QJsonObject &step, QString *error)>;

    bool doDirectory(const QJsonObject &step, QString *error);
    bool doContact(const QJsonObject &step, QString *error);
    bool doStart(const QJsonObject &step, QString *error);
    bool doStop(const QJsonObject &step, QString *error);
    bool doReady(const QJsonObject &step, QString *error);
    bool doAnswer(const QJsonObject &step, QString *error);
    bool doIncoming(const QJsonObject &step, QString *error);
    bool doModal(const QJsonObject &step, QString *error);
    bool doSetting(const QJsonObject &step, QString *error);
    bool doHistory(const QJsonObject &step, QString *error);
    bool doWait(const QJsonObject &step, QString *error);
    bool doDump(const QJsonObject &step, QString *error);

    QPointer<TraceWriter> m_writer;
    QPointer<HostTracer> m_tracer;
    QPointer<ModuleHost> m_module;
    ReplayUiSteps *m_ui = nullptr;
    ReplayDeferrals *m_deferrals = nullptr;
    QHash<QString, Step> m_steps;
    QString m_scriptFolder;
    bool m_started = false;
};

} // namespace zubrel
