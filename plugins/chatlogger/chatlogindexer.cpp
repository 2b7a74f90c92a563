#include "chatlogindexer.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QUuid>

#include "chatlogsearch.h"

namespace zubrel {

ChatLogIndexer::ChatLogIndexer(const QString &databasePath, QObject *parent)
    : QThread(parent)
    , m_path(databasePath)
{
}

ChatLogIndexer::~ChatLogIndexer()
{
    stop();
}

void ChatLogIndexer::stop()
{
    requestInterruption();
    wait();
}

void ChatLogIndexer::run()
{
    const QString name = QStringLiteral("zubrel-chatlog-index-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_path);
        if (db.open()) {
            QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = 2000"));
            // Each batch is its own short transaction: the writer of new
            // records waits at most one batch for the lock.
            while (!isInterruptionRequested() && ChatLogSearch::catchUp(db, ChatLogSearch::CatchUpBatch) > 0) {
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace zubrel
