#pragma once
// The chat history of one user folder: an SQLite database written so that a
// record is on disk when append() returns, shared safely with other client
// processes of the same user. When no database can be used (no folder yet,
// folder unusable, disk full) records wait in memory and are written as soon
// as a database opens again; look-ups include them.

#include <QHash>
#include <QList>
#include <QSet>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

#include <algorithm>
#include <memory>

#include "zloggerinterfaces.h"

namespace zubrel {

class ChatLogChecker;
class ChatLogIndexer;

class ChatLogStore
{
public:
    // Records kept in memory while no database is usable. Beyond either bound
    // the oldest waiting record is dropped: a client that cannot write for
    // that long must not run out of memory instead.
    static constexpr int MaxPendingRecords = 10000;
    static constexpr qint64 MaxPendingBytes = 64 * 1024 * 1024;

    // Files from this size on are checked for damage in the background
    // after opening instead of before: the check reads the whole file.
    static constexpr qint64 BackgroundCheckFrom = 16 * 1024 * 1024;

    // Newest layout this build writes; older files are migrated on open.
    static constexpr int SchemaVersion = 1;

    static QString fileName() { return QStringLiteral("chatlog.sqlite"); }

    ChatLogStore();
    ~ChatLogStore();
    ChatLogStore(const ChatLogStore &) = delete;
    ChatLogStore &operator=(const ChatLogStore &) = delete;

    // Switches to <folder>/chatlog.sqlite, closing the previous database
    // first. Returns whether the database is usable; when it is not, the
    // folder is still remembered and opening is retried on the next append.
    bool open(const QString &folder);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    QString folder() const { return m_folder; }
    QString databasePath() const;

    // Writes the record (and any waiting ones) in one transaction. Returns
    // true when the record is in the database, false when it waits in memory.
    bool append(const MessageStruct &message);
    // Queues the record for the next flush() instead of writing it now;
    // look-ups see it meanwhile, and close() writes it.
    void defer(const MessageStruct &message);
    // Writes every queued record in one transaction. Returns true when
    // nothing is left waiting.
    bool flush();
    // Bulk loading: many records in one transaction. With fast = true the
    // connection stops syncing until the call returns; only for building a
    // database nobody relies on yet (benchmarks, imports).
    bool appendBatch(const QList<MessageStruct> &messages, bool fast = false);

    // The newest `count` records of a one-to-one or random conversation, or
    // of the multi chat logger `uuid`, oldest first.
    QList<MessageStruct> lastMessages(int count, const QString &chatId);
    QList<MessageStruct> lastMessages(int count, const QUuid &uuid);
    // Up to `count` records written before record `beforeId` (0: the
    // newest, records waiting in memory included, with id 0), oldest first.
    QList<LogRecord> recordsBefore(qint64 beforeId, int count, const QString &chatId);
    QList<LogRecord> recordsBefore(qint64 beforeId, int count, const QUuid &uuid);

    int pendingCount() const;

    // Up to `limit` records of a conversation holding every word of `text`,
    // newest first (see ChatLogSearch); records still waiting are written
    // first so they can be found.
    QList<LogRecord> search(const QString &text, int limit, const QString &chatId);
    QList<LogRecord> search(const QString &text, int limit, const QUuid &uuid);
    // Whether the search index of an older history is still being built in
    // the background; waitForIndex() blocks until it is done.
    bool isIndexing() const;
    void waitForIndex();

    // Whether the history opened last is still being checked for damage in
    // the background. Meanwhile it is read as usual, and new records wait in
    // memory: should the check find damage, they go into the fresh history
    // with what can be rescued. Any call takes the verdict once it is in;
    // settleCheck() does only that, waitForCheck() blocks until it is in.
    bool isChecking() const { return m_checker != nullptr; }
    void settleCheck();
    void waitForCheck();
    // Tests: the size from which the check runs in the background.
    void setBackgroundCheckFrom(qint64 bytes) { m_backgroundCheckFrom = bytes; }

    // What the user should be told about the history since the last call
    // (a damaged file set aside, a path that cannot be used), once per
    // event; empty when nothing happened.
    QString takeNotice();

    // One record from the columns contact, time_ms, message, uuid, alias,
    // chat_kind, direction starting at column `first`.
    static MessageStruct recordAt(const QSqlQuery &query, int first);

private:
    struct Connection;

    bool openDatabase();
    // What every read and write does first: takes the check's verdict and
    // opens the history again when it is closed.
    void settleAndReopen();
    bool openFresh(int *sqliteCode);
    bool setAsideUnusablePath();
    void salvageInto(const QString &damagedPath);
    void notify(const QString &text);
    bool configure(int *sqliteCode);
    bool check(int *sqliteCode);
    bool migrate(int *sqliteCode);
    bool prepareStatements();
    void prepareSearch();
    QString moveAside(const QString &label);
    bool flushPending();
    bool writeRecords(const QList<MessageStruct> &messages, bool fast);
    void keepPending(const MessageStruct &message);
    void dropConnection();
    // Newest first.
    QList<LogRecord> select(bool byUuid, const QString &key, int count, qint64 beforeId, bool ids);
    static QList<LogRecord> oldestFirst(QList<LogRecord> newestFirst)
    {
        std::reverse(newestFirst.begin(), newestFirst.end());
        return newestFirst;
    }
    QList<MessageStruct> newestMessages(QList<LogRecord> newestFirst, int count, const QString &chatId,
                                        const QUuid &uuid) const;
    QList<LogRecord> withPending(QList<LogRecord> stored, qint64 beforeId, int count, const QString &chatId,
                                 const QUuid &uuid) const;
    QList<MessageStruct> pendingMatching(const QString &chatId, const QUuid &uuid) const;

    QString m_folder;
    std::unique_ptr<Connection> m_db;
    std::unique_ptr<ChatLogIndexer> m_indexer;
    std::unique_ptr<ChatLogChecker> m_checker;
    qint64 m_backgroundCheckFrom = BackgroundCheckFrom;
    // Set while opening when the check is left to the background.
    bool m_checkLater = false;
    // Set when the background check found damage: the next open sets the
    // file aside as if the check on open had failed.
    bool m_damageFound = false;
    // Waiting records per folder ("" = before any folder was given), so a
    // record of one user is never written into another user's history.
    QHash<QString, QList<MessageStruct>> m_pending;
    qint64 m_pendingBytes = 0;
    // Set when SQLite reported damage while the file was in use: the next
    // open runs the full check instead of the quick one.
    bool m_suspect = false;
    QString m_notice;
    QSet<QString> m_noticesGiven;
    int m_pendingTotal = 0;
};

} // namespace zubrel
