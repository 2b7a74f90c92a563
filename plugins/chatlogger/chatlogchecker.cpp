#include "chatlogchecker.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include "chatlogpagereader.h"

namespace zubrel {

namespace {
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;
} // namespace

ChatLogChecker::ChatLogChecker(const QString &databasePath, QObject *parent)
    : QThread(parent)
    , m_path(databasePath)
{
}

ChatLogChecker::~ChatLogChecker()
{
    // The check cannot be cut short; it only reads, so waiting is safe.
    skipLayout();
    wait();
}

void ChatLogChecker::run()
{
    const QString name = QStringLiteral("zubrel-chatlog-check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    Verdict verdict = Verdict::Unknown;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=2000"));
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("PRAGMA quick_check(1)")) && query.next()) {
                verdict = query.value(0).toString() == QLatin1String("ok") ? Verdict::Sound : Verdict::Damaged;
            } else {
                bool ok = false;
                const int code = query.lastError().nativeErrorCode().toInt(&ok) & 0xff;
                if (ok && (code == SqliteCorrupt || code == SqliteNotADatabase))
                    verdict = Verdict::Damaged;
            }
            query.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (verdict == Verdict::Sound)
        addLookUpIndexes();
    m_verdict.store(verdict);
}

void ChatLogChecker::addLookUpIndexes()
{
    // Here and not on open: for a long history of an older build this takes
    // seconds, and new records wait for the verdict anyway.
    const QString name = QStringLiteral("zubrel-chatlog-layout-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        // Failing (another process writing, disk full) costs only speed:
        // the next open tries again.
        if (!m_skipLayout.load() && db.open() && !ChatLogPageReader::hasIndexes(db))
            ChatLogPageReader::buildIndexes(db, &m_skipLayout);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace zubrel
