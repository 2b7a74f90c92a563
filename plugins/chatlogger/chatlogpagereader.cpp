#include "chatlogpagereader.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace zubrel {

namespace {

// Stands for a record without a time among the page's times.
constexpr qint64 NoTime = std::numeric_limits<qint64>::min();

// Most stored text is ASCII (markup, Latin text): widening it is a
// fraction of the work of decoding UTF-8.
QString fromStoredUtf8(const char *utf8, qsizetype bytes)
{
    if (QtPrivate::isAscii(QLatin1StringView(utf8, bytes)))
        return QString::fromLatin1(utf8, bytes);
    return QString::fromUtf8(utf8, bytes);
}

// Text the store wrote as raw UTF-16 (it held a lone surrogate) comes back
// as a blob; everything else SQLite hands out as UTF-8.
QString textOf(sqlite3_value *value)
{
    switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB: {
        const void *raw = sqlite3_value_blob(value);
        const int bytes = sqlite3_value_bytes(value);
        QString text(bytes / 2, Qt::Uninitialized);
        // Copied, not cast: the blob may sit at any address in the page.
        if (raw && bytes >= 2)
            std::memcpy(text.data(), raw, size_t(text.size()) * 2);
        return text;
    }
    default:
        return fromStoredUtf8(reinterpret_cast<const char *>(sqlite3_value_text(value)),
                              sqlite3_value_bytes(value));
    }
}

} // namespace

QString ChatLogPageReader::RepeatedText::take(sqlite3_value *value)
{
    if (sqlite3_value_type(value) != SQLITE_TEXT)
        return textOf(value);
    const auto *utf8 = reinterpret_cast<const char *>(sqlite3_value_text(value));
    const int bytes = sqlite3_value_bytes(value);
    if (m_text.isNull() || bytes != m_utf8.size() || std::memcmp(utf8, m_utf8.constData(), size_t(bytes)) != 0) {
        m_utf8 = QByteArray(utf8, bytes);
        m_text = fromStoredUtf8(utf8, bytes);
    }
    return m_text;
}

MessageStruct ChatLogPageReader::recordFrom(sqlite3_stmt *statement)
{
    MessageStruct m;
    m.contact = m_contact.take(sqlite3_column_value(statement, 0));
    // The time is set by setTimes() once the page is read.
    sqlite3_value *time = sqlite3_column_value(statement, 1);
    m_times.append(sqlite3_value_type(time) == SQLITE_NULL ? NoTime : sqlite3_value_int64(time));
    m.message = textOf(sqlite3_column_value(statement, 2));
    sqlite3_value *uuid = sqlite3_column_value(statement, 3);
    if (sqlite3_value_type(uuid) != SQLITE_NULL) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(uuid));
        m.uuid = QUuid::fromString(QLatin1StringView(text, sqlite3_value_bytes(uuid)));
    }
    m.alias = m_alias.take(sqlite3_column_value(statement, 4));
    m.chatKind = sqlite3_value_int(sqlite3_column_value(statement, 5));
    m.direction = static_cast<Zr::ChatDirection>(sqlite3_value_int(sqlite3_column_value(statement, 6)));
    return m;
}

ChatLogPageReader::ChatLogPageReader(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3 *const *>(handle.constData());
}

ChatLogPageReader::~ChatLogPageReader()
{
    // Before Qt closes the connection: SQLite refuses to close one that
    // still has statements.
    for (auto &byIds : m_statements) {
        for (sqlite3_stmt *statement : byIds)
            sqlite3_finalize(statement);
    }
}

bool ChatLogPageReader::prepare()
{
    if (!m_handle)
        return false;
    // Also without the id, for callers that do not want it: reading it
    // back out of every index entry is a tenth of the stepping through them.
    for (const Key key : {Key::Chat, Key::Uuid}) {
        for (const Ids ids : {Ids::Read, Ids::Skipped}) {
            const QByteArray sql = QByteArray("SELECT contact, time_ms, message, uuid, alias, chat_kind, direction")
                                   + (ids == Ids::Read ? ", id" : "") + " FROM messages WHERE "
                                   + (key == Key::Chat ? "chat_id" : "uuid")
                                   + " = ? AND id < ? ORDER BY id DESC LIMIT ?";
            if (sqlite3_prepare_v3(m_handle, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                   &statement(key, ids), nullptr)
                != SQLITE_OK)
                return false;
        }
    }
    return true;
}

void ChatLogPageReader::setTimes(QList<LogRecord> &records, qsizetype first)
{
    qint64 earliest = std::numeric_limits<qint64>::max();
    qint64 latest = std::numeric_limits<qint64>::min();
    for (const qint64 ms : std::as_const(m_times)) {
        if (ms != NoTime) {
            earliest = std::min(earliest, ms);
            latest = std::max(latest, ms);
        }
    }
    if (earliest > latest)
        return;
    ChatLogLocalTime::refreshZone();
    const std::optional<int> offset = m_localTime.sharedOffset(earliest, latest);
    for (qsizetype i = 0; i < m_times.size(); ++i) {
        const qint64 ms = m_times[i];
        if (ms == NoTime)
            continue;
        records[first + i].message.time = offset ? QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, *offset)
                                                 : ChatLogLocalTime::at(ms);
    }
}

bool ChatLogPageReader::read(Key key, const QString &value, qint64 beforeId, int count,
                             QList<LogRecord> &newestFirst, int *code, Ids ids)
{
    sqlite3_stmt *statement = this->statement(key, ids);
    if (!statement) {
        *code = SQLITE_MISUSE;
        return false;
    }
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    sqlite3_bind_int64(statement, 2, beforeId > 0 ? beforeId : std::numeric_limits<qint64>::max());
    sqlite3_bind_int(statement, 3, count);
    const qsizetype first = newestFirst.size();
    // A caller may ask for "all there are" with a huge count.
    newestFirst.reserve(first + std::min(count, 1000));
    m_times.clear();
    int result = SQLITE_ROW;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
        MessageStruct m = recordFrom(statement);
        newestFirst.append(LogRecord{ids == Ids::Read ? sqlite3_column_int64(statement, 7) : 0, std::move(m)});
    }
    sqlite3_reset(statement);
    setTimes(newestFirst, first);
    // The key's bytes go out of scope with this call.
    sqlite3_clear_bindings(statement);
    *code = result & 0xff;
    return result == SQLITE_DONE;
}

QStringList ChatLogPageReader::indexStatements()
{
    // One-to-one and random chat records carry a chat id, multi chat records
    // a uuid: each record is in one of the two.
    return {
        QStringLiteral("CREATE INDEX IF NOT EXISTS messages_chat_records ON messages (chat_id, id, contact,"
                       " time_ms, message, uuid, alias, chat_kind, direction) WHERE chat_id IS NOT NULL"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS messages_uuid_records ON messages (uuid, id, contact,"
                       " time_ms, message, alias, chat_kind, direction) WHERE uuid IS NOT NULL"),
        QStringLiteral("DROP INDEX IF EXISTS messages_chat"),
        QStringLiteral("DROP INDEX IF EXISTS messages_uuid"),
    };
}

bool ChatLogPageReader::hasIndexes(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    return query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index'"
                                     " AND name IN ('messages_chat_records', 'messages_uuid_records')"))
           && query.next() && query.value(0).toInt() == 2;
}

bool ChatLogPageReader::buildIndexes(const QSqlDatabase &db, const std::atomic<bool> *stop)
{
    const ChatLogPageReader reader(db);
    if (stop && reader.m_handle) {
        const auto stopRequested = [](void *flag) {
            return static_cast<const std::atomic<bool> *>(flag)->load() ? 1 : 0;
        };
        sqlite3_progress_handler(reader.m_handle, 10000, stopRequested,
                                 const_cast<std::atomic<bool> *>(stop));
    }
    QSqlQuery query(db);
    bool ok = query.exec(QStringLiteral("BEGIN IMMEDIATE"));
    const bool begun = ok;
    for (const QString &sql : indexStatements())
        ok = ok && query.exec(sql);
    ok = ok && query.exec(QStringLiteral("COMMIT"));
    if (begun && !ok)
        query.exec(QStringLiteral("ROLLBACK"));
    if (stop && reader.m_handle)
        sqlite3_progress_handler(reader.m_handle, 0, nullptr, nullptr);
    return ok;
}

} // namespace zubrel
