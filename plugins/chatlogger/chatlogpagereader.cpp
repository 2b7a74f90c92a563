#include "chatlogpagereader.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <sqlite3.h>

#include <cstring>
#include <ctime>
#include <limits>

namespace zubrel {

namespace {

// Text the store wrote as raw UTF-16 (it held a lone surrogate) comes back
// as a blob; everything else SQLite hands out as UTF-8.
QString columnText(sqlite3_stmt *statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_BLOB: {
        const void *raw = sqlite3_column_blob(statement, column);
        const int bytes = sqlite3_column_bytes(statement, column);
        QString text(bytes / 2, Qt::Uninitialized);
        // Copied, not cast: the blob may sit at any address in the page.
        if (raw && bytes >= 2)
            std::memcpy(text.data(), raw, size_t(text.size()) * 2);
        return text;
    }
    default: {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        return QString::fromUtf8(utf8, sqlite3_column_bytes(statement, column));
    }
    }
}

// Contact and alias mostly repeat from one record of a conversation to the
// next: the previous record's string is shared instead of decoding the same
// text into a new one.
QString columnTextAsBefore(sqlite3_stmt *statement, int column, const QString &previous)
{
    if (!previous.isEmpty() && sqlite3_column_type(statement, column) == SQLITE_TEXT) {
        const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
        if (QAnyStringView::equal(QUtf8StringView(utf8, sqlite3_column_bytes(statement, column)), previous))
            return previous;
    }
    return columnText(statement, column);
}

MessageStruct recordFrom(sqlite3_stmt *statement, const MessageStruct &previous)
{
    MessageStruct m;
    m.contact = columnTextAsBefore(statement, 0, previous.contact);
    if (sqlite3_column_type(statement, 1) != SQLITE_NULL)
        m.time = ChatLogPageReader::localTime(sqlite3_column_int64(statement, 1));
    m.message = columnText(statement, 2);
    if (sqlite3_column_type(statement, 3) != SQLITE_NULL) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, 3));
        m.uuid = QUuid::fromString(QLatin1StringView(text, sqlite3_column_bytes(statement, 3)));
    }
    m.alias = columnTextAsBefore(statement, 4, previous.alias);
    m.chatKind = sqlite3_column_int(statement, 5);
    m.direction = static_cast<Zr::ChatDirection>(sqlite3_column_int(statement, 6));
    return m;
}

} // namespace

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
    sqlite3_finalize(m_byChat);
    sqlite3_finalize(m_byUuid);
}

bool ChatLogPageReader::prepare()
{
    if (!m_handle)
        return false;
    const auto prepareOne = [this](const char *sql, sqlite3_stmt **statement) {
        return sqlite3_prepare_v3(m_handle, sql, -1, SQLITE_PREPARE_PERSISTENT, statement, nullptr) == SQLITE_OK;
    };
    return prepareOne("SELECT contact, time_ms, message, uuid, alias, chat_kind, direction, id FROM messages"
                      " WHERE chat_id = ? AND id < ? ORDER BY id DESC LIMIT ?",
                      &m_byChat)
           && prepareOne("SELECT contact, time_ms, message, uuid, alias, chat_kind, direction, id FROM messages"
                         " WHERE uuid = ? AND id < ? ORDER BY id DESC LIMIT ?",
                         &m_byUuid);
}

bool ChatLogPageReader::read(Key key, const QString &value, qint64 beforeId, int count,
                             QList<LogRecord> &newestFirst, int *code)
{
    sqlite3_stmt *statement = key == Key::Chat ? m_byChat : m_byUuid;
    if (!statement) {
        *code = SQLITE_MISUSE;
        return false;
    }
    const QByteArray utf8 = value.toUtf8();
    sqlite3_bind_text(statement, 1, utf8.constData(), int(utf8.size()), SQLITE_STATIC);
    sqlite3_bind_int64(statement, 2, beforeId > 0 ? beforeId : std::numeric_limits<qint64>::max());
    sqlite3_bind_int(statement, 3, count);
    refreshTimeZone();
    newestFirst.reserve(newestFirst.size() + count);
    int result = SQLITE_ROW;
    const MessageStruct none;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
        const MessageStruct &previous = newestFirst.isEmpty() ? none : newestFirst.constLast().message;
        MessageStruct m = recordFrom(statement, previous);
        newestFirst.append(LogRecord{sqlite3_column_int64(statement, 7), std::move(m)});
    }
    sqlite3_reset(statement);
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

bool ChatLogPageReader::buildIndexes(const QSqlDatabase &db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    bool ok = true;
    for (const QString &sql : indexStatements())
        ok = ok && query.exec(sql);
    if (ok && query.exec(QStringLiteral("COMMIT")))
        return true;
    query.exec(QStringLiteral("ROLLBACK"));
    return false;
}

QDateTime ChatLogPageReader::localTime(qint64 msecsSinceEpoch)
{
#if defined(Q_OS_UNIX)
    // Whole seconds rounded down, also before 1970.
    const qint64 seconds = msecsSinceEpoch / 1000 - (msecsSinceEpoch % 1000 < 0 ? 1 : 0);
    if (seconds >= std::numeric_limits<time_t>::min() && seconds <= std::numeric_limits<time_t>::max()) {
        const time_t t = time_t(seconds);
        tm local{};
        if (localtime_r(&t, &local))
            return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch, Qt::OffsetFromUTC, int(local.tm_gmtoff));
    }
#endif
    return QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch);
}

void ChatLogPageReader::refreshTimeZone()
{
#if defined(Q_OS_UNIX)
    // A change of the system's zone is seen from the next batch on.
    tzset();
#endif
}

} // namespace zubrel
