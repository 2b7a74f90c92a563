#include "chatlogstore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QThread>

#include <algorithm>
#include <optional>
#include <utility>

#include "chatlogchecker.h"
#include "chatlogindexer.h"
#include "chatlogpagereader.h"
#include "chatlogsalvage.h"
#include "chatlogsearch.h"

namespace zubrel {

namespace {

// Primary SQLite result codes (the driver may report extended ones).
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;

// Another client process of the same user may hold the write lock briefly;
// SQLite waits this long itself, and a write is retried a few times on top.
constexpr int BusyTimeoutMs = 2000;
constexpr int WriteAttempts = 3;

int sqliteCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

bool isBusy(int code)
{
    return code == SqliteBusy || code == SqliteLocked;
}

bool isCorrupt(int code)
{
    return code == SqliteCorrupt || code == SqliteNotADatabase;
}

// SQLite keeps text as UTF-8, which cannot carry a lone surrogate. Such a
// string is stored as its raw UTF-16 bytes so it still comes back unchanged.
QVariant encodeText(const QString &text)
{
    if (QStringView(text).isValidUtf16())
        return text;
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

QString decodeText(const QVariant &value)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QByteArray) {
        const QByteArray raw = value.toByteArray();
        return QString(reinterpret_cast<const QChar *>(raw.constData()), raw.size() / 2);
    }
    return value.toString();
}

qint64 recordBytes(const MessageStruct &message)
{
    return 2 * (message.contact.size() + message.message.size() + message.alias.size()) + 128;
}

// One-to-one and random chats are found by the partner or chat id; multi chat
// records only by their logger's uuid, so a multi chat line of contact 12
// never shows up in the one-to-one history with 12.
QVariant chatKey(const MessageStruct &message)
{
    if (message.chatKind == 0 || message.contact.isEmpty())
        return {};
    return message.contact;
}

const char *const CreateSchemaV1[] = {
    "CREATE TABLE IF NOT EXISTS messages ("
    " id INTEGER PRIMARY KEY,"
    " chat_id TEXT,"
    " contact TEXT,"
    " time_ms INTEGER,"
    " message TEXT,"
    " uuid TEXT,"
    " alias TEXT,"
    " chat_kind INTEGER NOT NULL,"
    " direction INTEGER NOT NULL)",
    // The look-up's indexes follow (ChatLogPageReader::indexStatements()):
    // id is the insertion order, so "newest N of a conversation" is one
    // short walk backwards in either, whatever the table size.
};

// A non-empty file that does not start with SQLite's header is no database.
// Checked before SQLite opens it, because SQLite would delete a journal
// lying next to it on close, and that journal belongs to what is kept aside.
bool hasForeignHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return false;
    return file.read(16) != QByteArray("SQLite format 3", 16);
}

} // namespace

struct ChatLogStore::Connection
{
    QString name = QStringLiteral("zubrel-chatlog-")
                   + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QSqlDatabase db;
    std::optional<QSqlQuery> insert;
    std::unique_ptr<ChatLogPageReader> pages;

    ~Connection()
    {
        // Statements must be gone before the connection can be removed.
        insert.reset();
        pages.reset();
        if (db.isOpen())
            db.close();
        db = QSqlDatabase();
        // Past the application's end Qt SQL's connection registry may be
        // destroyed already; the process is going away anyway.
        if (QCoreApplication::instance())
            QSqlDatabase::removeDatabase(name);
    }

    // Runs one statement; on failure returns false and the SQLite code.
    bool exec(const QString &sql, int *code = nullptr, QVariant *firstValue = nullptr)
    {
        QSqlQuery query(db);
        if (!query.exec(sql)) {
            if (code)
                *code = sqliteCode(query.lastError());
            return false;
        }
        if (firstValue && query.next())
            *firstValue = query.value(0);
        return true;
    }
};

ChatLogStore::ChatLogStore() = default;

ChatLogStore::~ChatLogStore()
{
    close();
}

QString ChatLogStore::databasePath() const
{
    return m_folder.isEmpty() ? QString() : m_folder + QLatin1Char('/') + fileName();
}

bool ChatLogStore::open(const QString &folder)
{
    if (m_db && folder == m_folder)
        return true;
    close();
    m_folder = folder;
    return openDatabase();
}

void ChatLogStore::close()
{
    // Records held back by a running check are written once it is over,
    // into this history or, if it was damaged, into a fresh one.
    if (m_checker)
        m_checker->skipLayout();
    waitForCheck();
    if (m_db)
        flushPending();
    dropConnection();
}

void ChatLogStore::dropConnection()
{
    // The indexer and the checker read the same file: they must be done
    // before the file can be closed or moved aside.
    m_checker.reset();
    m_indexer.reset();
    m_db.reset();
}

void ChatLogStore::settleCheck()
{
    if (!m_checker || m_checker->isRunning() || !m_checker->isFinished())
        return;
    const bool damaged = m_checker->verdict() == ChatLogChecker::Verdict::Damaged;
    m_checker.reset();
    if (!damaged) {
        if (m_db)
            prepareSearch();
        flushPending();
        return;
    }
    // As if the check on open had failed: the file is set aside, what can
    // be read is rescued, and the waiting records follow.
    m_damageFound = true;
    dropConnection();
    openDatabase();
}

void ChatLogStore::settleAndReopen()
{
    settleCheck();
    // A history closed after an error, or never opened, is opened now.
    if (!m_db && !m_folder.isEmpty())
        openDatabase();
}

void ChatLogStore::waitForCheck()
{
    if (m_checker)
        m_checker->wait();
    settleCheck();
}

bool ChatLogStore::openDatabase()
{
    if (m_folder.isEmpty() || !QDir().mkpath(m_folder))
        return false;
    // Serialises the open-and-repair step between processes of the same
    // user, so one never moves aside the fresh file another has just made.
    QLockFile lock(databasePath() + QLatin1String(".lock"));
    lock.setStaleLockTime(30000);
    const bool locked = lock.tryLock(10000);

    if (!setAsideUnusablePath())
        return false;
    int code = 0;
    if (!m_damageFound && !hasForeignHeader(databasePath()) && openFresh(&code)) {
        m_suspect = false;
        if (m_checkLater) {
            m_checker = std::make_unique<ChatLogChecker>(databasePath());
            m_checker->start();
        }
        flushPending();
        return m_db != nullptr;
    }
    if (m_damageFound)
        code = SqliteCorrupt;
    // Only a file SQLite itself calls damaged is moved aside; busy, full
    // or unreadable files stay untouched and are simply not used now.
    if (!locked || (!hasForeignHeader(databasePath()) && !isCorrupt(code)))
        return false;
    const QString aside = moveAside(QStringLiteral("corrupt"));
    if (aside.isEmpty() || !openFresh(&code))
        return false;
    m_damageFound = false;
    m_suspect = false;
    salvageInto(aside);
    flushPending();
    return m_db != nullptr;
}

bool ChatLogStore::openFresh(int *code)
{
    m_checkLater = false;
    m_db = std::make_unique<Connection>();
    m_db->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_db->name);
    m_db->db.setDatabaseName(databasePath());
    if (m_db->db.open() && configure(code) && migrate(code)) {
        // A file of an older build gets the look-up's indexes now if it is
        // short, else once the background check has cleared it. Until then
        // (or should building them fail) its own indexes serve.
        if (!m_checkLater && QFileInfo(databasePath()).size() < m_backgroundCheckFrom
            && !ChatLogPageReader::hasIndexes(m_db->db))
            ChatLogPageReader::buildIndexes(m_db->db);
        if (prepareStatements()) {
            // Nothing is written into a file that may yet prove damaged, not
            // even the search index: it catches up once the check is over.
            if (!m_checkLater)
                prepareSearch();
            return true;
        }
    }
    dropConnection();
    return false;
}

bool ChatLogStore::setAsideUnusablePath()
{
    // A folder or a dangling link where the database belongs: SQLite would
    // fail on the one and create the link's target wherever it points on
    // the other. Renaming the entry itself never touches what it names.
    const QString path = databasePath();
    const QFileInfo info(path);
    const bool dangling = info.isSymLink() && !info.exists();
    if (!dangling && (!info.exists() || info.isFile()))
        return true;
    const QString name = QFileInfo(path).fileName();
    const QString aside = moveAside(QStringLiteral("unusable"));
    if (aside.isEmpty()) {
        notify(QCoreApplication::translate("ChatLogStore",
                                           "The chat history cannot be saved: %1 is a folder or a broken "
                                           "link and could not be moved aside. New messages are kept until "
                                           "it can be written.")
                   .arg(path));
        return false;
    }
    notify(QCoreApplication::translate("ChatLogStore",
                                       "The chat history could not be written: %1 was a folder or a "
                                       "broken link. It has been moved aside as %2 and a new chat history "
                                       "started.")
               .arg(name, QFileInfo(aside).fileName()));
    return true;
}

void ChatLogStore::salvageInto(const QString &damagedPath)
{
    const qint64 rescued = ChatLogSalvage::salvage(
        damagedPath, databasePath() + QLatin1String(".salvage"),
        [this](const QList<MessageStruct> &batch) { return m_db && writeRecords(batch, true); });
    notify(QCoreApplication::translate("ChatLogStore",
                                       "The chat history was damaged. It has been kept as %1 and a new "
                                       "one started; %2 earlier messages could be rescued into it.")
               .arg(QFileInfo(damagedPath).fileName(), QString::number(rescued)));
}

void ChatLogStore::notify(const QString &text)
{
    // One notice per event: a path that stays unusable is retried on every
    // append, but the user hears about it once.
    if (m_noticesGiven.contains(text))
        return;
    m_noticesGiven.insert(text);
    m_notice = m_notice.isEmpty() ? text : m_notice + QLatin1Char('\n') + text;
}

QString ChatLogStore::takeNotice()
{
    return std::exchange(m_notice, QString());
}

bool ChatLogStore::configure(int *code)
{
    // Reading the schema first rejects a file that is not a database, or
    // whose first page is damaged, before anything is written to it.
    // WAL with synchronous=NORMAL: a commit is in the operating system's
    // hands when it returns, so it survives the process being killed; only
    // a power cut may lose the last commits, never damage the file.
    return m_db->exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(BusyTimeoutMs), code)
           && m_db->exec(QStringLiteral("SELECT count(*) FROM sqlite_master"), code)
           && check(code)
           && m_db->exec(QStringLiteral("PRAGMA journal_mode = WAL"), code)
           && m_db->exec(QStringLiteral("PRAGMA synchronous = NORMAL"), code)
           // Up to 32 MiB of pages instead of 2, taken only as pages are
           // read: the newest pages of a thousand chats with the index
           // interiors above them come to some 14 MiB in a history of a
           // million records; at 8 MiB every second look-up read a page
           // from the file again.
           && m_db->exec(QStringLiteral("PRAGMA cache_size = -32768"), code);
}

bool ChatLogStore::check(int *code)
{
    // quick_check on every open: it reads every page and finds damaged
    // pages, cells and schema entries in one pass, but skips matching each
    // index entry against its row, the n log n part of integrity_check that
    // would make every login with a long history wait seconds. Once SQLite
    // has reported damage during use, the next open runs the full check.
    // A long history is checked in the background once it is open, unless
    // damage was seen while it was in use.
    if (!m_suspect && QFileInfo(databasePath()).size() >= m_backgroundCheckFrom) {
        m_checkLater = true;
        return true;
    }
    QVariant verdict;
    const QString sql = m_suspect ? QStringLiteral("PRAGMA integrity_check(1)")
                                  : QStringLiteral("PRAGMA quick_check(1)");
    if (!m_db->exec(sql, code, &verdict))
        return false;
    if (verdict.toString() == QLatin1String("ok"))
        return true;
    *code = SqliteCorrupt;
    return false;
}

bool ChatLogStore::migrate(int *code)
{
    QVariant version;
    if (!m_db->exec(QStringLiteral("PRAGMA user_version"), code, &version))
        return false;
    if (version.toInt() == SchemaVersion)
        return true;
    // A file from a newer client is left alone rather than written in a
    // layout this build does not know.
    if (version.toInt() > SchemaVersion)
        return false;

    if (!m_db->exec(QStringLiteral("BEGIN IMMEDIATE"), code))
        return false;
    // Read again under the write lock: another process may have migrated.
    bool ok = m_db->exec(QStringLiteral("PRAGMA user_version"), code, &version);
    int current = version.toInt();
    if (ok && current < 1) {
        for (const char *sql : CreateSchemaV1)
            ok = ok && m_db->exec(QString::fromLatin1(sql), code);
        for (const QString &sql : ChatLogPageReader::indexStatements())
            ok = ok && m_db->exec(sql, code);
        current = 1;
    }
    // Later layouts add their steps here: if (current < 2) { ...; current = 2; }
    ok = ok && current <= SchemaVersion
         && m_db->exec(QStringLiteral("PRAGMA user_version = %1").arg(current), code)
         && m_db->exec(QStringLiteral("COMMIT"), code);
    if (!ok)
        m_db->exec(QStringLiteral("ROLLBACK"));
    return ok;
}

bool ChatLogStore::prepareStatements()
{
    const auto prepare = [this](std::optional<QSqlQuery> &query, const QString &sql) {
        query.emplace(m_db->db);
        query->setForwardOnly(true);
        return query->prepare(sql);
    };
    m_db->pages = std::make_unique<ChatLogPageReader>(m_db->db);
    return prepare(m_db->insert,
                   QStringLiteral("INSERT INTO messages (chat_id, contact, time_ms, message,"
                                  " uuid, alias, chat_kind, direction)"
                                  " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"))
           && m_db->pages->prepare();
}

void ChatLogStore::prepareSearch()
{
    // Without the index the history still works; searching finds nothing.
    if (!ChatLogSearch::ensureTables(m_db->db))
        return;
    if (ChatLogSearch::unindexed(m_db->db) > ChatLogSearch::CatchUpAtOnce) {
        m_indexer = std::make_unique<ChatLogIndexer>(databasePath());
        m_indexer->start(QThread::LowPriority);
        return;
    }
    while (ChatLogSearch::catchUp(m_db->db, ChatLogSearch::CatchUpBatch) > 0) {
    }
}

bool ChatLogStore::isIndexing() const
{
    return m_indexer && m_indexer->isRunning();
}

void ChatLogStore::waitForIndex()
{
    if (m_indexer)
        m_indexer->wait();
}

QList<LogRecord> ChatLogStore::search(const QString &text, int limit, const QString &chatId)
{
    // While the check runs, records waiting for it cannot be found yet.
    if (chatId.isEmpty() || (!flush() && !(m_db && m_checker)))
        return {};
    return ChatLogSearch::search(m_db->db, text, limit, chatId, QUuid());
}

QList<LogRecord> ChatLogStore::search(const QString &text, int limit, const QUuid &uuid)
{
    if (uuid.isNull() || (!flush() && !(m_db && m_checker)))
        return {};
    return ChatLogSearch::search(m_db->db, text, limit, QString(), uuid);
}

QString ChatLogStore::moveAside(const QString &label)
{
    const QString path = databasePath();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss"));
    const QString base = path + QLatin1Char('.') + label + QLatin1Char('-') + stamp;
    QString target = base;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = base + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(path, target) && !QDir().rename(path, target))
        return {};
    // The old journal files go with it: SQLite would otherwise replay a
    // leftover write-ahead log into the fresh database.
    for (const QLatin1String suffix : {QLatin1String("-wal"), QLatin1String("-shm"),
                                       QLatin1String("-journal")}) {
        if (QFileInfo(path + suffix).isSymLink() || QFile::exists(path + suffix)) {
            if (!QFile::rename(path + suffix, target + suffix))
                return {};
        }
    }
    return target;
}

bool ChatLogStore::append(const MessageStruct &message)
{
    keepPending(message);
    return flush();
}

void ChatLogStore::defer(const MessageStruct &message)
{
    keepPending(message);
}

bool ChatLogStore::flush()
{
    settleAndReopen();
    if (!m_db)
        return false;
    if (flushPending())
        return true;
    // Damage found while writing: set the file aside now, so the records
    // go into the fresh history instead of waiting in memory.
    if (m_suspect && !m_db && openDatabase())
        return m_pending.value(m_folder).isEmpty() && m_pending.value(QString()).isEmpty();
    return false;
}

bool ChatLogStore::appendBatch(const QList<MessageStruct> &messages, bool fast)
{
    settleAndReopen();
    if (m_db && !m_checker && writeRecords(messages, fast))
        return true;
    for (const MessageStruct &message : messages)
        keepPending(message);
    return false;
}

bool ChatLogStore::flushPending()
{
    // Not into a file that may yet prove damaged.
    if (m_checker)
        return m_pending.value(m_folder).isEmpty() && m_pending.value(QString()).isEmpty();
    QList<MessageStruct> batch = m_pending.take(QString());
    if (!m_folder.isEmpty())
        batch += m_pending.take(m_folder);
    if (batch.isEmpty())
        return true;
    for (const MessageStruct &message : std::as_const(batch)) {
        m_pendingBytes -= recordBytes(message);
        --m_pendingTotal;
    }
    if (m_db && writeRecords(batch, false))
        return true;
    for (const MessageStruct &message : std::as_const(batch))
        keepPending(message);
    return false;
}

bool ChatLogStore::writeRecords(const QList<MessageStruct> &messages, bool fast)
{
    if (fast)
        m_db->exec(QStringLiteral("PRAGMA synchronous = OFF"));
    bool written = false;
    int code = 0;
    const ChatLogIndexer::WriterTurn turn(m_indexer.get());
    for (int attempt = 0; attempt < WriteAttempts && !written; ++attempt) {
        if (attempt > 0)
            QThread::msleep(20 * attempt);
        code = 0;
        if (!m_db->exec(QStringLiteral("BEGIN IMMEDIATE"), &code)) {
            if (isBusy(code))
                continue;
            break;
        }
        bool ok = true;
        // With the search index current, the records are indexed in this
        // transaction; otherwise the catch-up indexes them with the rest.
        ChatLogSearch::Batch index(m_db->db);
        QSqlQuery &insert = *m_db->insert;
        for (const MessageStruct &m : messages) {
            insert.bindValue(0, chatKey(m));
            insert.bindValue(1, encodeText(m.contact));
            insert.bindValue(2, m.time.isValid() ? QVariant(m.time.toMSecsSinceEpoch()) : QVariant());
            insert.bindValue(3, encodeText(m.message));
            insert.bindValue(4, m.uuid.isNull() ? QVariant() : m.uuid.toString(QUuid::WithoutBraces));
            insert.bindValue(5, encodeText(m.alias));
            insert.bindValue(6, m.chatKind);
            insert.bindValue(7, int(m.direction));
            if (!insert.exec()) {
                code = sqliteCode(insert.lastError());
                ok = false;
                break;
            }
            index.add(insert.lastInsertId().toLongLong(), m);
        }
        insert.finish();
        if (ok)
            index.finish();
        if (ok && m_db->exec(QStringLiteral("COMMIT"), &code)) {
            written = true;
            break;
        }
        m_db->exec(QStringLiteral("ROLLBACK"));
        if (!isBusy(code))
            break;
    }
    if (fast)
        m_db->exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
    // A file found damaged while in use is not written further; the next
    // append reopens it, which moves it aside if SQLite rejects it.
    if (!written && isCorrupt(code)) {
        m_suspect = true;
        dropConnection();
    }
    return written;
}

void ChatLogStore::keepPending(const MessageStruct &message)
{
    m_pending[m_folder].append(message);
    m_pendingBytes += recordBytes(message);
    ++m_pendingTotal;
    while (m_pendingTotal > MaxPendingRecords || m_pendingBytes > MaxPendingBytes) {
        // Drop from the longest queue: that is where the oldest records of
        // a user who cannot be written to pile up.
        auto longest = m_pending.begin();
        for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
            if (it->size() > longest->size())
                longest = it;
        }
        if (longest == m_pending.end() || longest->isEmpty())
            break;
        m_pendingBytes -= recordBytes(longest->takeFirst());
        --m_pendingTotal;
    }
}

int ChatLogStore::pendingCount() const
{
    return m_pendingTotal;
}

QList<MessageStruct> ChatLogStore::lastMessages(int count, const QString &chatId)
{
    if (count <= 0 || chatId.isEmpty())
        return {};
    settleAndReopen();
    return newestMessages(select(false, chatId, count, 0, false), count, chatId, QUuid());
}

QList<LogRecord> ChatLogStore::recordsBefore(qint64 beforeId, int count, const QString &chatId)
{
    if (count <= 0 || chatId.isEmpty())
        return {};
    settleAndReopen();
    return withPending(oldestFirst(select(false, chatId, count, beforeId, true)), beforeId, count, chatId,
                       QUuid());
}

QList<LogRecord> ChatLogStore::recordsBefore(qint64 beforeId, int count, const QUuid &uuid)
{
    if (count <= 0 || uuid.isNull())
        return {};
    settleAndReopen();
    return withPending(oldestFirst(select(true, uuid.toString(QUuid::WithoutBraces), count, beforeId, true)),
                       beforeId, count, QString(), uuid);
}

QList<LogRecord> ChatLogStore::withPending(QList<LogRecord> stored, qint64 beforeId, int count,
                                           const QString &chatId, const QUuid &uuid) const
{
    // Waiting records are newer than anything stored: they only belong to
    // the newest page.
    if (beforeId <= 0) {
        for (const MessageStruct &m : pendingMatching(chatId, uuid))
            stored.append(LogRecord{0, m});
    }
    if (stored.size() > count)
        stored.remove(0, stored.size() - count);
    return stored;
}

QList<MessageStruct> ChatLogStore::lastMessages(int count, const QUuid &uuid)
{
    if (count <= 0 || uuid.isNull())
        return {};
    settleAndReopen();
    return newestMessages(select(true, uuid.toString(QUuid::WithoutBraces), count, 0, false), count, QString(),
                          uuid);
}

QList<MessageStruct> ChatLogStore::newestMessages(QList<LogRecord> newestFirst, int count, const QString &chatId,
                                                  const QUuid &uuid) const
{
    // As withPending() over the records oldest first, moving each record
    // once: the newest `count` of the stored ones followed by the waiting.
    const QList<MessageStruct> pending = pendingMatching(chatId, uuid);
    const qsizetype fromPending = std::min<qsizetype>(pending.size(), count);
    const qsizetype stored = std::min<qsizetype>(newestFirst.size(), count - fromPending);
    QList<MessageStruct> messages;
    messages.reserve(stored + fromPending);
    for (qsizetype i = stored - 1; i >= 0; --i)
        messages.append(std::move(newestFirst[i].message));
    messages.append(pending.sliced(pending.size() - fromPending));
    return messages;
}

MessageStruct ChatLogStore::recordAt(const QSqlQuery &query, int first)
{
    MessageStruct m;
    m.contact = decodeText(query.value(first));
    const QVariant ms = query.value(first + 1);
    if (!ms.isNull())
        m.time = ChatLogLocalTime::at(ms.toLongLong());
    m.message = decodeText(query.value(first + 2));
    const QVariant uuid = query.value(first + 3);
    if (!uuid.isNull())
        m.uuid = QUuid::fromString(uuid.toString());
    m.alias = decodeText(query.value(first + 4));
    m.chatKind = query.value(first + 5).toInt();
    m.direction = static_cast<Zr::ChatDirection>(query.value(first + 6).toInt());
    return m;
}

QList<LogRecord> ChatLogStore::select(bool byUuid, const QString &key, int count, qint64 beforeId, bool ids)
{
    QList<LogRecord> newestFirst;
    // A second round only after damage was found: the file is then set
    // aside and what could be rescued is read from the fresh one.
    for (int attempt = 0; attempt < 2 && m_db; ++attempt) {
        newestFirst.clear();
        int code = 0;
        const bool ok = m_db->pages->read(byUuid ? ChatLogPageReader::Key::Uuid : ChatLogPageReader::Key::Chat,
                                          key, beforeId, count, newestFirst, &code,
                                          ids ? ChatLogPageReader::Ids::Read : ChatLogPageReader::Ids::Skipped);
        if (ok || !isCorrupt(code))
            break;
        m_suspect = true;
        dropConnection();
        newestFirst.clear();
        openDatabase();
    }
    return newestFirst;
}

QList<MessageStruct> ChatLogStore::pendingMatching(const QString &chatId, const QUuid &uuid) const
{
    QList<MessageStruct> matching;
    const auto collect = [&](const QString &key) {
        for (const MessageStruct &m : m_pending.value(key)) {
            const bool match = uuid.isNull() ? (chatKey(m).toString() == chatId && !chatId.isEmpty())
                                             : m.uuid == uuid;
            if (match)
                matching.append(m);
        }
    };
    // Records from before any folder was known go to the first one opened.
    if (!m_folder.isEmpty())
        collect(QString());
    collect(m_folder);
    return matching;
}

} // namespace zubrel
