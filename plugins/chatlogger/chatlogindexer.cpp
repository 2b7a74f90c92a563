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
    {
        QMutexLocker lock(&m_mutex);
        m_changed.wakeAll();
    }
    wait();
}

bool ChatLogIndexer::startBatch()
{
    QMutexLocker lock(&m_mutex);
    while (m_writers > 0 && !isInterruptionRequested())
        m_changed.wait(&m_mutex);
    m_inBatch = !isInterruptionRequested();
    return m_inBatch;
}

void ChatLogIndexer::endBatch()
{
    QMutexLocker lock(&m_mutex);
    m_inBatch = false;
    m_changed.wakeAll();
}

ChatLogIndexer::WriterTurn::WriterTurn(ChatLogIndexer *indexer)
    : m_indexer(indexer)
{
    if (!m_indexer)
        return;
    QMutexLocker lock(&m_indexer->m_mutex);
    ++m_indexer->m_writers;
    while (m_indexer->m_inBatch)
        m_indexer->m_changed.wait(&m_indexer->m_mutex);
}

ChatLogIndexer::WriterTurn::~WriterTurn()
{
    if (!m_indexer)
        return;
    QMutexLocker lock(&m_indexer->m_mutex);
    --m_indexer->m_writers;
    m_indexer->m_changed.wakeAll();
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
            while (startBatch()) {
                const int done = ChatLogSearch::catchUp(db, ChatLogSearch::CatchUpBatch);
                endBatch();
                if (done <= 0)
                    break;
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace zubrel
