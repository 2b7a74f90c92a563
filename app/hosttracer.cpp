#include "hosttracer.h"

#include <QDir>
#include <QJsonArray>
#include <QPluginLoader>

#include "chatstatereader.h"
#include "request.h"
#include "tracewriter.h"
#include "valuecodec.h"
#include "wrappluginhelper.h"
#include "zdir.h"
#include "zhostevents.h"
#include "zloggerinterfaces.h"

namespace zubrel {

namespace {

// Paths inside the application folder are traced relative to it, so traces
// do not depend on where the build lives.
QString relativeToApplication(const QString &path)
{
    if (path.isEmpty())
        return path;
    const QString app = QDir::cleanPath(ZDir::applicationPath()) + QLatin1Char('/');
    const QString clean = QDir::cleanPath(path);
    return clean.startsWith(app) ? clean.mid(app.size()) : path;
}

QJsonObject commandFields(const Protocol *protocol)
{
    const ProtocolCommand command = protocol->command();
    return QJsonObject{{QStringLiteral("cmd"), ValueCodec::commandToJson(command.a(), command.b())},
                       {QStringLiteral("app"), int(command.applicationServerId())},
                       {QStringLiteral("args"), ValueCodec::argsToJson(protocol->args())}};
}

QJsonArray idList(const QList<uint> &ids)
{
    QJsonArray list;
    for (uint id : ids)
        list.append(double(id));
    return list;
}

} // namespace

HostTracer::HostTracer(TraceWriter *writer, QObject *parent)
    : QObject(parent), m_writer(writer)
{
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    connect(helper, &WrapPluginHelper::handlerRegistered, this, [this](ushort a, ushort b) {
        m_writer->write(QStringLiteral("handler"), {{QStringLiteral("cmd"), ValueCodec::commandToJson(a, b)}});
    });
    connect(helper, &WrapPluginHelper::requestSent, this, &HostTracer::onSent);
    connect(helper, &WrapPluginHelper::incomingDelivered, this, &HostTracer::onDelivered);
    connect(helper, &WrapPluginHelper::incomingAnswered, this, &HostTracer::onAnswered);
    connect(helper, &WrapPluginHelper::requestFreed, this, [this](uint id) {
        m_writer->write(QStringLiteral("freed"), {{QStringLiteral("req"), double(id)}});
    });
    connect(ZHostEvents::instance(), &ZHostEvents::event, this, &HostTracer::onHostEvent);
}

void HostTracer::onSent(Request *request, int module)
{
    m_sent.append(request->id());
    QJsonObject fields = commandFields(request->protocol());
    fields.insert(QStringLiteral("req"), double(request->id()));
    fields.insert(QStringLiteral("module"), module < 0 ? QJsonValue(QJsonValue::Null) : QJsonValue(module));
    m_writer->write(QStringLiteral("sent"), fields);
}

void HostTracer::onDelivered(Request *request)
{
    QJsonObject fields = commandFields(request->protocol());
    fields.insert(QStringLiteral("req"), double(request->id()));
    m_writer->write(QStringLiteral("received"), fields);
}

void HostTracer::onAnswered(Request *request, const Protocol *reply)
{
    QJsonValue replyValue = QJsonValue::Null;
    if (reply) {
        QJsonObject fields = commandFields(reply);
        fields.remove(QStringLiteral("app"));
        replyValue = fields;
    }
    m_writer->write(QStringLiteral("reply"),
                    {{QStringLiteral("req"), double(request->id())}, {QStringLiteral("reply"), replyValue}});
}

void HostTracer::onHostEvent(const QString &kind, const QVariantMap &fields)
{
    QJsonObject out;
    for (auto it = fields.cbegin(); it != fields.cend(); ++it) {
        if (it.key() == QLatin1String("widget")) {
            const QString key = ChatStateReader::keyOf(it.value().value<QObject *>());
            out.insert(QStringLiteral("chat"), key.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(key));
        } else if (kind == QLatin1String("setting") && it.key() == QLatin1String("value")) {
            out.insert(it.key(), ValueCodec::toTagged(it.value()));
        } else if (it.key() == QLatin1String("path")) {
            out.insert(it.key(), relativeToApplication(it.value().toString()));
        } else {
            out.insert(it.key(), ValueCodec::plain(it.value()));
        }
    }
    m_writer->write(kind, out);
    if (kind == QLatin1String("user"))
        reportLogUser(fields.value(QStringLiteral("id")).toString());
}

// The module hands the logged-in user to the chat-log plug-in right after
// switching the settings, and the plug-in reports nothing itself: the host
// traces whether that plug-in (one shared instance per process) is there
// for the module to use, in the place the module's call comes.
void HostTracer::reportLogUser(const QString &userId)
{
    if (ZDir::userFolderName(userId) != userId)
        return; // the module only switches the log for a real user number
    QPluginLoader loader(ZDir::applicationPath() + QLatin1String("/plugins/log/chatlogger.so"));
    const bool ok = qobject_cast<ZLoggerInterface *>(loader.instance()) != nullptr;
    m_writer->write(QStringLiteral("logUser"), {{QStringLiteral("id"), userId}, {QStringLiteral("ok"), ok}});
}

uint HostTracer::lastUnanswered() const
{
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    for (auto it = m_sent.crbegin(); it != m_sent.crend(); ++it) {
        const Request *request = helper->request(*it);
        if (request && !request->isCompleted())
            return *it;
    }
    return 0;
}

uint HostTracer::lastUnanswered(ushort a, ushort b) const
{
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    for (auto it = m_sent.crbegin(); it != m_sent.crend(); ++it) {
        const Request *request = helper->request(*it);
        if (request && !request->isCompleted() && request->protocol()->command().isCommand(a, b))
            return *it;
    }
    return 0;
}

void HostTracer::writeEnd()
{
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    m_writer->write(QStringLiteral("end"), {{QStringLiteral("unanswered"), idList(helper->unansweredRequests())},
                                            {QStringLiteral("unfreed"), idList(helper->unfreedRequests())}});
}

} // namespace zubrel

