#include "chatlogsalvage.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <array>

#include "chatlogstore.h"

namespace zubrel {

namespace {

constexpr qint64 LastProbe = qint64(1) << 62;

// Page sizes tried when the header that names the page size is gone; the
// first is what this store and SQLite use unless told otherwise.
constexpr std::array<int, 7> PageSizes = {4096, 1024, 2048, 8192, 16384, 32768, 65536};

// A connection that is removed again however the salvage ends.
class Connection
{
public:
    explicit Connection(const QString &path)
        : m_name(QStringLiteral("zubrel-chatlog-salvage-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        m_db.setDatabaseName(path);
    }
    ~Connection()
    {
        if (m_db.isOpen())
            m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase &db() { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

// Whether the table can be entered at the first row after `after`: a seek
// that lands on an unreadable page fails, one past it succeeds.
bool canSeekPast(QSqlQuery &probe, qint64 after)
{
    probe.bindValue(0, after);
    const bool ok = probe.exec() && (probe.next() || probe.lastError().type() == QSqlError::NoError);
    probe.finish();
    return ok;
}

// The smallest id past the unreadable stretch that starts after `failed`,
// or -1 when the rest of the table cannot be reached. Doubling finds some
// readable point, halving finds where the damage ends, so only the records
// on the damaged pages themselves are missed.
qint64 nextReadable(QSqlQuery &probe, qint64 failed)
{
    qint64 step = 1;
    while (!canSeekPast(probe, failed + step)) {
        if (step >= LastProbe)
            return -1;
        step *= 2;
    }
    qint64 bad = failed + step / 2;
    qint64 good = failed + step;
    if (step == 1)
        return good;
    while (good - bad > 1) {
        const qint64 middle = bad + (good - bad) / 2;
        if (canSeekPast(probe, middle))
            good = middle;
        else
            bad = middle;
    }
    return good;
}

} // namespace

qint64 ChatLogSalvage::salvage(const QString &damagedPath, const QString &workPath, const Sink &sink)
{
    qint64 total = 0;
    // First as it is; when nothing comes out, the header may be what is
    // damaged: try again with a plain one for each usual page size.
    for (int attempt = -1; attempt < int(PageSizes.size()) && total == 0; ++attempt) {
        if (!makeWorkCopy(damagedPath, workPath))
            break;
        if (attempt >= 0)
            repairHeader(workPath, PageSizes.at(attempt));
        total = readRecords(workPath, sink);
    }
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm"),
                                  QStringLiteral("-journal")})
        QFile::remove(workPath + suffix);
    return total;
}

bool ChatLogSalvage::makeWorkCopy(const QString &damagedPath, const QString &workPath)
{
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        QFile::remove(workPath + suffix);
        if (QFile::exists(damagedPath + suffix) && !QFile::copy(damagedPath + suffix, workPath + suffix))
            return false;
    }
    return true;
}

void ChatLogSalvage::repairHeader(const QString &workPath, int pageSize)
{
    // The 100-byte file header of an empty UTF-8 database in rollback mode;
    // the page count is left 0 so SQLite takes it from the file size, and
    // rollback mode keeps it from reading a log that no longer matches.
    QByteArray header(100, '\0');
    header.replace(0, 16, QByteArray("SQLite format 3", 16));
    header[16] = char(pageSize == 65536 ? 0 : (pageSize >> 8) & 0xff);
    header[17] = char(pageSize == 65536 ? 1 : pageSize & 0xff);
    header[18] = 1;
    header[19] = 1;
    header[21] = 64;
    header[22] = 32;
    header[23] = 32;
    header[47] = 4; // schema format
    header[59] = 1; // UTF-8
    header[63] = char(ChatLogStore::SchemaVersion);
    QFile file(workPath);
    if (file.open(QIODevice::ReadWrite) && file.size() >= header.size())
        file.write(header);
    QFile::remove(workPath + QStringLiteral("-wal"));
    QFile::remove(workPath + QStringLiteral("-shm"));
}

qint64 ChatLogSalvage::readRecords(const QString &workPath, const Sink &sink)
{
    Connection connection(workPath);
    if (!connection.db().open())
        return 0;
    qint64 total = 0;
    {
        // Schema entries SQLite cannot parse are skipped instead of making
        // every statement fail; the messages table itself may still be fine.
        QSqlQuery(connection.db()).exec(QStringLiteral("PRAGMA writable_schema = ON"));
        QSqlQuery rows(connection.db());
        QSqlQuery probe(connection.db());
        rows.setForwardOnly(true);
        probe.setForwardOnly(true);
        // Walking the table by id never touches an index, which may be the
        // damaged part.
        if (!rows.prepare(QStringLiteral("SELECT id, contact, time_ms, message, uuid, alias, chat_kind,"
                                         " direction FROM messages WHERE id > ? ORDER BY id LIMIT ?"))
            || !probe.prepare(QStringLiteral("SELECT id FROM messages WHERE id > ? ORDER BY id LIMIT 1")))
            return 0;
        qint64 last = 0;
        while (true) {
            rows.bindValue(0, last);
            rows.bindValue(1, BatchSize);
            QList<MessageStruct> batch;
            bool complete = rows.exec();
            while (complete && rows.next()) {
                last = rows.value(0).toLongLong();
                batch.append(ChatLogStore::recordAt(rows, 1));
            }
            complete = complete && rows.lastError().type() == QSqlError::NoError;
            rows.finish();
            if (!batch.isEmpty()) {
                total += batch.size();
                if (!sink(batch))
                    break;
            }
            if (complete && batch.size() < BatchSize)
                break;
            if (!complete && (last = nextReadable(probe, last)) < 0)
                break;
        }
    }
    return total;
}

} // namespace zubrel
