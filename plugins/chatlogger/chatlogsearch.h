#pragma once
// Full-text search over the chat history: an SQLite FTS5 index of each
// record's text without its markup, next to the records themselves. The
// index is contentless (the text lives only in `messages`) and is kept in
// step by the writer, in the transaction that writes the records; records
// written by a client that knows nothing of the index are caught up on the
// next open. `search_state.indexed_upto` is the id up to which every record
// is indexed, so nothing is indexed twice and nothing is skipped.

#include <QList>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QUuid>

#include "zloggerinterfaces.h"

namespace zubrel {

class ChatLogSearch
{
public:
    // Records indexed per transaction while catching up: short enough that a
    // writer of another process never waits long for the lock.
    static constexpr int CatchUpBatch = 5000;
    // Open-time catch-up below this many records is done at once; more is
    // left to a background thread.
    static constexpr int CatchUpAtOnce = 20000;

    // Creates the index tables when missing. They are additive: a client
    // that does not know them reads and writes the file as before.
    static bool ensureTables(QSqlDatabase &db);
    // Records not indexed yet (by id), without walking the table.
    static qint64 unindexed(QSqlDatabase &db);
    // Indexes up to `limit` records past indexed_upto in one transaction.
    // Returns how many were indexed, -1 on failure.
    static int catchUp(QSqlDatabase &db, int limit);

    // Indexes records as the writer inserts them, inside the writer's
    // transaction. Does nothing unless the index was current when the batch
    // began: then the catch-up indexes these records with the others.
    class Batch
    {
    public:
        explicit Batch(QSqlDatabase &db);
        void add(qint64 id, const MessageStruct &message);
        // Moves indexed_upto past the records added; before the commit.
        void finish();

    private:
        QSqlDatabase m_db;
        QSqlQuery m_insert;
        bool m_active = false;
        qint64 m_last = 0;
    };

    // Up to `limit` records of one conversation (its chat key, or the multi
    // chat uuid) whose text holds every word of `text`, newest first. Any
    // text is searched as words, never as query syntax.
    static QList<LogRecord> search(QSqlDatabase &db, const QString &text, int limit, const QString &chatId,
                                   const QUuid &uuid);

    // The text of message HTML as the index sees it: tags dropped, entities
    // decoded, style and script content left out.
    static QString plainText(const QString &html);
    // The FTS5 expression for the words of `text` (quoted phrases, whole
    // words), empty when no word has a searchable character.
    static QString matchExpression(const QString &text);
};

} // namespace zubrel
