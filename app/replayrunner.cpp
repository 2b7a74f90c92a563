#include "replayrunner.h"
#include "replaysoaksteps.h"
#include "replayuntilstep.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPluginLoader>
#include <QTimer>
#include <QUuid>

#include "chatstatereader.h"
#include "czubuddy_administrator.h"
#include "hosttracer.h"
#include "modulehost.h"
#include "replaycrashstep.h"
#include "replaydeferrals.h"
#include "replaymultichatlog.h"
#include "replayuisteps.h"
#include "tracewriter.h"
#include "valuecodec.h"
#include "wrappluginhelper.h"
#include "simulatednetwork.h"
#include "zdir.h"
#include "zloggerinterfaces.h"
#include "zmodalscript.h"
#include "zsettings.h"

namespace zubrel {

namespace {

// Long enough for a chain of the module's 20 ms deferrals to fire (a View
// menu entry defers three times before a card hides, and none of them
// traces anything); short enough that a replay of a hundred steps stays quick.
constexpr int quietPeriodMs = 100;
// A module that keeps tracing forever (a repeating timer) must not hang the
// replay: settling gives up after this long and the next step runs.
constexpr int settleLimitMs = 3000;
constexpr int longestWaitMs = 600000;

bool readInt(const QJsonObject &step, const char *name, int min, int max, int *value, QString *error,
             std::optional<int> fallback = std::nullopt)
{
    const QJsonValue json = step.value(QLatin1String(name));
    if (json.isUndefined() && fallback) {
        *value = *fallback;
        return true;
    }
    const double d = json.toDouble(-1e300);
    if (!json.isDouble() || d != double(qint64(d)) || d < min || d > max) {
        *error = QStringLiteral("\"%1\" must be a whole number from %2 to %3").arg(QLatin1String(name)).arg(min).arg(max);
        return false;
    }
    *value = int(d);
    return true;
}

QJsonValue nullable(const QString &text)
{
    return text.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue(text);
}

} // namespace

ReplayRunner::ReplayRunner(TraceWriter *writer, HostTracer *tracer, ModuleHost *module, QObject *parent)
    : QObject(parent), m_writer(writer), m_tracer(tracer), m_module(module), m_ui(new ReplayUiSteps(this)),
      m_deferrals(new ReplayDeferrals(this))
{
    auto bind = [this](bool (ReplayRunner::*member)(const QJsonObject &, QString *)) {
        return [this, member](const QJsonObject &step, QString *error) { return (this->*member)(step, error); };
    };
    m_steps = {{QStringLiteral("directory"), bind(&ReplayRunner::doDirectory)},
               {QStringLiteral("contact"), bind(&ReplayRunner::doContact)},
               {QStringLiteral("start"), bind(&ReplayRunner::doStart)},
               {QStringLiteral("stop"), bind(&ReplayRunner::doStop)},
               {QStringLiteral("ready"), bind(&ReplayRunner::doReady)},
               {QStringLiteral("answer"), bind(&ReplayRunner::doAnswer)},
               {QStringLiteral("in"), bind(&ReplayRunner::doIncoming)},
               {QStringLiteral("modal"), bind(&ReplayRunner::doModal)},
               {QStringLiteral("setting"), bind(&ReplayRunner::doSetting)},
               {QStringLiteral("history"), bind(&ReplayRunner::doHistory)},
               {QStringLiteral("wait"), bind(&ReplayRunner::doWait)},
               {QStringLiteral("dump"), bind(&ReplayRunner::doDump)}};
    auto *soak = new ReplaySoakSteps(writer, [this](const QJsonObject &step, QString *error) {
        return runStep(step, error);
    }, this);
    m_steps.insert(QStringLiteral("repeat"), [soak](const QJsonObject &step, QString *error) {
        return soak->doRepeat(step, error);
    });
    m_steps.insert(QStringLiteral("crash"), &ReplayCrashStep::run);
    auto *until = new ReplayUntilStep(writer, this);
    m_steps.insert(QStringLiteral("until"), [until](const QJsonObject &step, QString *error) {
        return until->run(step, error);
    });
    m_steps.insert(QStringLiteral("memory"), [soak](const QJsonObject &step, QString *error) {
        return soak->doMemory(step, error);
    });
    for (const QString &name : ReplayUiSteps::stepNames())
        m_steps.insert(name, [this, name](const QJsonObject &step, QString *error) {
            return m_ui->run(name, step, error);
        });
}

ReplayRunner::~ReplayRunner() = default;

int ReplayRunner::run(const QString &scriptPath)
{
    QFile file(scriptPath);
    if (!file.open(QIODevice::ReadOnly)) {
        m_writer->write(QStringLiteral("error"),
                        {{QStringLiteral("line"), 0},
                         {QStringLiteral("message"), QStringLiteral("cannot read %1: %2").arg(scriptPath, file.errorString())}});
        return 2;
    }
    m_scriptFolder = QFileInfo(scriptPath).absolutePath();
    m_ui->setScriptFolder(m_scriptFolder);
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
        QString error;
        if (!document.isObject())
            error = document.isNull() ? QStringLiteral("not JSON: ") + parseError.errorString()
                                      : QStringLiteral("a step must be a JSON object");
        else if (!runStep(document.object(), &error) && error.isEmpty())
            error = QStringLiteral("step failed");
        if (!error.isEmpty()) {
            m_writer->write(QStringLiteral("error"),
                            {{QStringLiteral("line"), lineNumber}, {QStringLiteral("message"), error}});
            return 2;
        }
        settle();
    }
    settle();
    m_tracer->writeEnd();
    return 0;
}

bool ReplayRunner::runStep(const QJsonObject &step, QString *error)
{
    const QJsonValue name = step.value(QLatin1String("do"));
    if (!name.isString()) {
        *error = QStringLiteral("a step needs \"do\" with the step's name");
        return false;
    }
    const auto it = m_steps.constFind(name.toString());
    if (it == m_steps.cend()) {
        *error = QStringLiteral("unknown step \"%1\"").arg(name.toString());
        return false;
    }
    return (*it)(step, error);
}

void ReplayRunner::spin(int ms)
{
    QEventLoop loop;
    // A timer object of its own: settling counts QTimer::singleShot's as the
    // module's deferrals, and this one would make every period look busy.
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(ms);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ReplayRunner::settle()
{
    // Quiet means a whole period passed without a new trace event and
    // without deferred work running (ReplayDeferrals): anything a step set
    // off is done. Work that counted starts the next period, and a 20 ms
    // deferral it set off falls due before that period's end, however long
    // a busy machine takes to get there; a quiet period by the clock alone
    // ended while a chain of silent deferrals was still under way.
    QElapsedTimer total;
    total.start();
    auto activity = [this] { return quint64(m_writer->count()) + m_deferrals->count(); };
    std::optional<quint64> before;
    while (before != activity() && total.elapsed() < settleLimitMs) {
        before = activity();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        spin(quietPeriodMs);
    }
}

bool ReplayRunner::doDirectory(const QJsonObject &step, QString *error)
{
    if (m_started) {
        *error = QStringLiteral("the contact directory must be filled before \"start\"");
        return false;
    }
    QString message;
    if (!CZuBuddy_Administrator::Instance()->loadJson(step, m_scriptFolder, &message)) {
        *error = QStringLiteral("directory: ") + message;
        return false;
    }
    return true;
}

bool ReplayRunner::doContact(const QJsonObject &step, QString *error)
{
    QString message;
    if (!CZuBuddy_Administrator::Instance()->changeJson(step, m_scriptFolder, &message)) {
        *error = QStringLiteral("contact: ") + message;
        return false;
    }
    return true;
}

bool ReplayRunner::doStart(const QJsonObject &, QString *error)
{
    if (m_started) {
        *error = QStringLiteral("the module was started already");
        return false;
    }
    if (!m_module->load(error))
        return false;
    m_started = true;
    m_writer->write(QStringLiteral("plugin"), m_module->identity());
    m_module->start();
    return true;
}

bool ReplayRunner::doStop(const QJsonObject &, QString *error)
{
    if (!m_started) {
        *error = QStringLiteral("\"stop\" before \"start\"");
        return false;
    }
    m_module->stop();
    return true;
}

bool ReplayRunner::doReady(const QJsonObject &, QString *)
{
    CZuBuddy_Administrator::Instance()->setReady();
    return true;
}

bool ReplayRunner::doAnswer(const QJsonObject &step, QString *error)
{
    const QJsonValue req = step.value(QLatin1String("req"));
    uint id = 0;
    if (req == QJsonValue(QStringLiteral("last"))) {
        id = m_tracer->lastUnanswered();
        if (!id) {
            *error = QStringLiteral("no sent request is waiting for an answer");
            return false;
        }
    } else if (req.isArray()) {
        ushort a = 0, b = 0;
        if (!ValueCodec::commandFromJson(req, &a, &b, error))
            return false;
        id = m_tracer->lastUnanswered(a, b);
        if (!id) {
            *error = QStringLiteral("no sent request [%1, %2] is waiting for an answer").arg(a).arg(b);
            return false;
        }
    } else if (req.isDouble() && req.toDouble() >= 1 && req.toDouble() == double(uint(req.toDouble()))) {
        id = uint(req.toDouble());
    } else {
        *error = QStringLiteral("\"req\" must be a request id, \"last\" or [a, b]");
        return false;
    }
    const QJsonValue ok = step.value(QLatin1String("ok"));
    if (!ok.isUndefined() && !ok.isBool()) {
        *error = QStringLiteral("\"ok\" must be true or false");
        return false;
    }
    int app = 0;
    if (!readInt(step, "app", 0, 0xFFFF, &app, error, 0))
        return false;
    const auto args = ValueCodec::argsFromJson(step.value(QLatin1String("args")), error);
    if (!args)
        return false;
    if (!WrapPluginHelper::Instance()->completeRequest(id, ok.toBool(true), *args, ushort(app))) {
        *error = QStringLiteral("request %1 is not a sent request waiting for an answer").arg(id);
        return false;
    }
    return true;
}

bool ReplayRunner::doIncoming(const QJsonObject &step, QString *error)
{
    ushort a = 0, b = 0;
    if (!ValueCodec::commandFromJson(step.value(QLatin1String("cmd")), &a, &b, error))
        return false;
    int app = 0;
    if (!readInt(step, "app", 0, 0xFFFF, &app, error, 0))
        return false;
    const auto args = ValueCodec::argsFromJson(step.value(QLatin1String("args")), error);
    if (!args)
        return false;
    WrapPluginHelper::Instance()->simulatedNetwork()->inject(a, b, *args, ushort(app));
    return true;
}

bool ReplayRunner::doModal(const QJsonObject &step, QString *error)
{
    static const QStringList kinds = {QStringLiteral("question"), QStringLiteral("information"),
                                      QStringLiteral("input"), QStringLiteral("file"), QStringLiteral("dialog")};
    const QString kind = step.value(QLatin1String("kind")).toString();
    if (!kinds.contains(kind)) {
        *error = QStringLiteral("\"kind\" must be one of %1").arg(kinds.join(QStringLiteral(", ")));
        return false;
    }
    const QJsonValue answer = step.value(QLatin1String("answer"));
    if (answer.isUndefined()) {
        *error = QStringLiteral("a modal step needs an \"answer\"");
        return false;
    }
    QVariant value = answer.toVariant();
    // Relative paths of a file answer are the script's, like every other path in it.
    if (kind == QLatin1String("file") && answer.isString() && QDir::isRelativePath(answer.toString()))
        value = QDir(m_scriptFolder).filePath(answer.toString());
    ZModalScript::instance()->queue(kind, value);
    return true;
}

bool ReplayRunner::doSetting(const QJsonObject &step, QString *error)
{
    const QJsonValue group = step.value(QLatin1String("group"));
    const QJsonValue key = step.value(QLatin1String("key"));
    if ((!group.isUndefined() && !group.isString()) || !key.isString() || key.toString().isEmpty()) {
        *error = QStringLiteral("a setting needs a text \"key\" and optionally a text \"group\"");
        return false;
    }
    const auto value = ValueCodec::fromJson(step.value(QLatin1String("value")), error);
    if (!value)
        return false;
    ZSettings::instance()->set(key.toString(), *value, group.toString());
    return true;
}

bool ReplayRunner::doHistory(const QJsonObject &step, QString *error)
{
    QString id = step.value(QLatin1String("contact")).toString();
    QUuid uuid;
    if (id.isEmpty()) {
        id = step.value(QLatin1String("chat")).toString();
        if (id.startsWith(QLatin1String("mc:"))) {
            // A multi chat's log is found through its logger's uuid.
            uuid = ReplayMultichatLog::uuidOf(id);
            if (uuid.isNull()) {
                *error = QStringLiteral("no chat log is known for %1").arg(id);
                return false;
            }
        }
        if (id.startsWith(QLatin1String("rc:")))
            id = id.mid(3);
    }
    if (id.isEmpty()) {
        *error = QStringLiteral("a history step needs \"chat\" or \"contact\"");
        return false;
    }
    int count = 0;
    if (!readInt(step, "count", 1, 100000, &count, error, 20))
        return false;
    QPluginLoader loader(ZDir::applicationPath() + QLatin1String("/plugins/log/chatlogger.so"));
    auto *log = qobject_cast<ZChatLoggerInterface *>(loader.instance());
    if (!log) {
        *error = QStringLiteral("the chat-log plug-in is not available: ") + loader.errorString();
        return false;
    }
    QJsonArray records;
    const QList<MessageStruct> found = uuid.isNull() ? log->lastMessages(count, id) : log->lastMessages(count, uuid);
    for (const MessageStruct &record : found) {
        records.append(QJsonObject{
            {QStringLiteral("contact"), record.contact},
            {QStringLiteral("time"), record.time.toUTC().toString(Qt::ISODate)},
            {QStringLiteral("message"), record.message},
            {QStringLiteral("uuid"), record.uuid.isNull() ? QJsonValue(QJsonValue::Null)
                                                          : QJsonValue(record.uuid.toString(QUuid::WithoutBraces))},
            {QStringLiteral("alias"), nullable(record.alias)},
            {QStringLiteral("chatKind"), record.chatKind},
            {QStringLiteral("direction"), int(record.direction)}});
    }
    m_writer->write(QStringLiteral("history"), {{QStringLiteral("records"), records}});
    return true;
}

bool ReplayRunner::doWait(const QJsonObject &step, QString *error)
{
    int ms = 0;
    if (!readInt(step, "ms", 0, longestWaitMs, &ms, error))
        return false;
    spin(ms);
    return true;
}

bool ReplayRunner::doDump(const QJsonObject &, QString *)
{
    m_writer->write(QStringLiteral("state"), ChatStateReader::state());
    return true;
}

} // namespace zubrel
