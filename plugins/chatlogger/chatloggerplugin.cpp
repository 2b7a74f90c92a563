#include "chatloggerplugin.h"

#include <QCoreApplication>

#include "zdir.h"

namespace zubrel {

namespace {
// Records wait only for the end of the current turn of the event loop: a
// burst that arrives in one read is written in one transaction, while a
// crash can cost at most the records of the turn it happens in.
constexpr int flushDelayMs = 0;
constexpr int flushAtRecords = 500;
constexpr int checkPollMs = 100;
} // namespace

ChatLoggerPlugin::ChatLoggerPlugin(QObject *parent)
    : QObject(parent)
{
    // The plug-in's root object is only destroyed when the library is
    // unloaded at process exit, after Qt SQL's own globals are gone: close
    // the database while the application still exists.
    // Closing writes whatever still waits for the flush.
    if (QCoreApplication *app = QCoreApplication::instance()) {
        connect(app, &QCoreApplication::aboutToQuit, this, [this] { m_store.flush(); });
        connect(app, &QObject::destroyed, this, [this] { m_store.close(); });
    }
    m_flush.setSingleShot(true);
    m_flush.setInterval(flushDelayMs);
    connect(&m_flush, &QTimer::timeout, this, [this] { m_store.flush(); });
    m_checkPoll.setInterval(checkPollMs);
    connect(&m_checkPoll, &QTimer::timeout, this, [this] {
        m_store.settleCheck();
        if (!m_store.isChecking())
            m_checkPoll.stop();
    });
}

ChatLoggerPlugin::~ChatLoggerPlugin() = default;

void ChatLoggerPlugin::setUserId(QString user)
{
    // ZDir maps anything but a decimal id to its "default" folder, so the
    // id never becomes part of a path here.
    m_store.open(ZDir::userPath(user));
    if (m_store.isChecking())
        m_checkPoll.start();
}

QList<MessageStruct> ChatLoggerPlugin::lastMessages(int count, QString chatId)
{
    return m_store.lastMessages(count, chatId);
}

QList<MessageStruct> ChatLoggerPlugin::lastMessages(int count, QUuid uuid)
{
    return m_store.lastMessages(count, uuid);
}

void ChatLoggerPlugin::appendMessage(MessageStruct message)
{
    m_store.defer(message);
    // A flood is written at once rather than piling up in memory.
    if (m_store.pendingCount() >= flushAtRecords) {
        m_flush.stop();
        m_store.flush();
    } else if (!m_flush.isActive()) {
        m_flush.start();
    }
}

QList<LogRecord> ChatLoggerPlugin::recordsBefore(qint64 beforeId, int count, QString chatId)
{
    // Pages are found by record id: records still waiting for the flush
    // have none yet.
    writeWaiting();
    return m_store.recordsBefore(beforeId, count, chatId);
}

QList<LogRecord> ChatLoggerPlugin::recordsBefore(qint64 beforeId, int count, QUuid uuid)
{
    // Pages are found by record id: records still waiting for the flush
    // have none yet.
    writeWaiting();
    return m_store.recordsBefore(beforeId, count, uuid);
}

QList<LogRecord> ChatLoggerPlugin::searchRecords(QString text, int limit, QString chatId)
{
    m_flush.stop();
    return m_store.search(text, limit, chatId);
}

QList<LogRecord> ChatLoggerPlugin::searchRecords(QString text, int limit, QUuid uuid)
{
    m_flush.stop();
    return m_store.search(text, limit, uuid);
}

void ChatLoggerPlugin::writeWaiting()
{
    if (m_store.pendingCount() == 0)
        return;
    m_flush.stop();
    m_store.flush();
}

QString ChatLoggerPlugin::takeNotice()
{
    return m_store.takeNotice();
}

} // namespace zubrel
