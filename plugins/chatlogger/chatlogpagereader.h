#pragma once
// Reads the newest records of one conversation before a record id, the look-up
// behind opening a chat and scrolling back, straight through SQLite's own
// interface on the store's connection. Qt SQL would box every value in a
// QVariant and have SQLite re-encode every text as UTF-16 first; together
// with Qt's local-time conversion (a file check per record) that was most of
// the look-up's time.

#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVarLengthArray>

#include <atomic>

#include "chatloglocaltime.h"
#include "zloggerinterfaces.h"

struct sqlite3;
struct sqlite3_stmt;
struct sqlite3_value;

namespace zubrel {

class ChatLogPageReader
{
public:
    enum class Key { Chat, Uuid };
    enum class Ids { Read, Skipped };

    // `db` must be open and stay open while this reader lives.
    explicit ChatLogPageReader(const QSqlDatabase &db);
    ~ChatLogPageReader();
    ChatLogPageReader(const ChatLogPageReader &) = delete;
    ChatLogPageReader &operator=(const ChatLogPageReader &) = delete;

    // Prepares both statements; false when the table cannot be read.
    bool prepare();

    // Up to `count` records of the conversation keyed `value` with ids below
    // `beforeId`, newest first, appended to `newestFirst`; with Ids::Skipped
    // their ids are left 0. On failure returns false and sets `code` to
    // SQLite's primary result code.
    bool read(Key key, const QString &value, qint64 beforeId, int count, QList<LogRecord> &newestFirst,
              int *code, Ids ids = Ids::Read);

    // The indexes the look-up reads: each conversation's records side by
    // side with all their columns, so a page of them is one or two index
    // pages instead of one table page per record. They take the place of the
    // narrower indexes of older files; builds that know only those read and
    // write either layout alike, as SQLite keeps every index current.
    static QStringList indexStatements();
    static bool hasIndexes(const QSqlDatabase &db);
    // Adds them to a file of an older build in one transaction: seconds for
    // a million records, so long histories do this in the background, where
    // `stop` set from another thread abandons the work (done next time).
    static bool buildIndexes(const QSqlDatabase &db, const std::atomic<bool> *stop = nullptr);

private:
    // Contact and alias mostly repeat from one record of a conversation to
    // the next: while the text's bytes are the same, one string is shared
    // instead of decoding the same text again.
    class RepeatedText
    {
    public:
        QString take(sqlite3_value *value);

    private:
        QByteArray m_utf8;
        QString m_text;
    };

    MessageStruct recordFrom(sqlite3_stmt *statement);
    sqlite3_stmt *&statement(Key key, Ids ids) { return m_statements[int(key)][ids == Ids::Read ? 1 : 0]; }
    void setTimes(QList<LogRecord> &records, qsizetype first);

    // Times of the page being read, converted once all are in: a page
    // mostly shares one offset from UTC.
    QVarLengthArray<qint64, 64> m_times;
    ChatLogLocalTime m_localTime;

    RepeatedText m_contact;
    RepeatedText m_alias;
    sqlite3 *m_handle = nullptr;
    // By key, without and with the records' ids.
    sqlite3_stmt *m_statements[2][2] = {{nullptr, nullptr}, {nullptr, nullptr}};
};

} // namespace zubrel
