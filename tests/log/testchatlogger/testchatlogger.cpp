// Remembers every record and the user; answers look-ups from memory and
// reports what it was asked through properties.

#include <QObject>

#include "zloggerinterfaces.h"

class TestChatLogger : public QObject, public ZLoggerInterface, public ZChatLoggerInterface
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZChatLoggerInterface_iid)
    Q_INTERFACES(ZLoggerInterface ZChatLoggerInterface)
    Q_PROPERTY(QString userId MEMBER m_userId)
    Q_PROPERTY(int lastCount MEMBER m_lastCount)
    Q_PROPERTY(QString lastKey MEMBER m_lastKey)

public:
    void setUserId(QString user) override { m_userId = user; }

    QList<MessageStruct> lastMessages(int count, QString chatId) override
    {
        m_lastCount = count;
        m_lastKey = chatId;
        return select(count, [&](const MessageStruct &m) { return m.uuid.isNull() && m.contact == chatId; });
    }

    QList<MessageStruct> lastMessages(int count, QUuid uuid) override
    {
        m_lastCount = count;
        m_lastKey = uuid.toString();
        return select(count, [&](const MessageStruct &m) { return !uuid.isNull() && m.uuid == uuid; });
    }

    void appendMessage(MessageStruct message) override { m_records.append(message); }

private:
    template<typename Match>
    QList<MessageStruct> select(int count, Match match) const
    {
        QList<MessageStruct> found;
        for (const MessageStruct &m : m_records) {
            if (match(m))
                found.append(m);
        }
        return found.mid(qMax(0, int(found.size()) - count));
    }

    QString m_userId;
    int m_lastCount = -1;
    QString m_lastKey;
    QList<MessageStruct> m_records;
};

#include "testchatlogger.moc"
