#include "zchatlogger.h"

#include <memory>

#include "czubuddy.h"
#include "zhostevents.h"
#include "zloggerinterfaces.h"

namespace zubrel {

namespace {
const QString chatLoggerName = QStringLiteral("chatlogger");
}

ZChatLogger::ZChatLogger(QObject *parent)
    : ZAbstractLogger(parent)
{
}

ZChatLogger *ZChatLogger::create(QString id, QObject *parent, int chatKind)
{
    auto logger = std::unique_ptr<ZChatLogger>(new ZChatLogger);
    if (!logger->load(chatLoggerName))
        return nullptr;
    logger->m_chatKind = chatKind;
    logger->setParent(parent);
    if (chatKind == MultiChat)
        logger->m_uuid = QUuid::createUuid();
    else
        logger->m_chatId = id;
    return logger.release();
}

bool ZChatLogger::initUser(QString user)
{
    ZChatLogger logger;
    if (!logger.load(chatLoggerName))
        return false;
    logger.setUserId(user);
    return true;
}

QList<MessageStruct> ZChatLogger::lastMessages(int count)
{
    auto *plugin = pluginInterface<ZChatLoggerInterface>();
    if (!plugin)
        return {};
    const QList<MessageStruct> records = m_chatKind == MultiChat ? plugin->lastMessages(count, m_uuid)
                                                                 : plugin->lastMessages(count, m_chatId);
    passOnNotice();
    return records;
}

bool ZChatLogger::canPage() const
{
    return pluginInterface<ZChatLogPagingInterface>() != nullptr;
}

QList<LogRecord> ZChatLogger::recordsBefore(qint64 beforeId, int count)
{
    auto *plugin = pluginInterface<ZChatLogPagingInterface>();
    if (!plugin)
        return {};
    const QList<LogRecord> records = m_chatKind == MultiChat ? plugin->recordsBefore(beforeId, count, m_uuid)
                                                             : plugin->recordsBefore(beforeId, count, m_chatId);
    passOnNotice();
    return records;
}

bool ZChatLogger::canSearch() const
{
    return pluginInterface<ZChatLogSearchInterface>() != nullptr;
}

QList<LogRecord> ZChatLogger::searchRecords(const QString &text, int limit)
{
    auto *plugin = pluginInterface<ZChatLogSearchInterface>();
    if (!plugin)
        return {};
    const QList<LogRecord> records = m_chatKind == MultiChat ? plugin->searchRecords(text, limit, m_uuid)
                                                             : plugin->searchRecords(text, limit, m_chatId);
    passOnNotice();
    return records;
}

void ZChatLogger::passOnNotice()
{
    const QString text = takePluginNotice();
    if (text.isEmpty())
        return;
    ZHostEvents::instance()->report(QStringLiteral("logNotice"), {{QStringLiteral("text"), text}});
    emit notice(text);
}

QList<MessageStruct> ZChatLogger::lastMessages()
{
    return lastMessages(defaultHistoryCount);
}

MessageStruct ZChatLogger::buildRecord(const QString &contact, const QString &message, const QDateTime &time,
                                       Zr::ChatDirection direction) const
{
    MessageStruct record;
    record.contact = m_chatKind == MultiChat ? contact : m_chatId;
    record.time = time.isValid() ? time : QDateTime::currentDateTime();
    record.message = message;
    record.uuid = m_uuid;
    record.chatKind = m_chatKind;
    record.direction = direction;
    // The directory's nickname, never a caller's alias: the log names people
    // as the client knows them.
    bool isNumber = false;
    const uint number = record.contact.toUInt(&isNumber);
    if (isNumber) {
        const CZuBuddy buddy(number);
        if (buddy.IsNicknameValid())
            record.alias = buddy.Nickname();
    }
    return record;
}

void ZChatLogger::appendMessage(MessageStruct message)
{
    auto *plugin = pluginInterface<ZChatLoggerInterface>();
    if (!plugin)
        return;
    plugin->appendMessage(buildRecord(message.contact, message.message, message.time, message.direction));
    passOnNotice();
}

void ZChatLogger::appendMessage(QString message, Zr::ChatDirection direction, QString contact)
{
    appendMessage(MessageStruct{contact, QDateTime(), message, QUuid(), QString(), m_chatKind, direction});
}

void ZChatLogger::appendMessage(QString message, Zr::ChatDirection direction)
{
    appendMessage(message, direction, QString());
}

void ZChatLogger::appendMessage(QString message)
{
    appendMessage(message, Zr::Sent, QString());
}

} // namespace zubrel
