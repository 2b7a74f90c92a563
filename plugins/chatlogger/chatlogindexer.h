#pragma once
// Builds the search index of an existing history in the background: a long
// log from before the index existed is indexed batch by batch on a
// connection of its own, while the chat log goes on being read and written.

#include <QMutex>
#include <QString>
#include <QThread>
#include <QWaitCondition>

namespace zubrel {

class ChatLogIndexer : public QThread
{
    Q_OBJECT
public:
    explicit ChatLogIndexer(const QString &databasePath, QObject *parent = nullptr);
    ~ChatLogIndexer() override;

    // Asks the thread to stop after its current batch and waits for it.
    void stop();

    // Held by the writer of new records around its transaction: waits for
    // the batch under way, and no batch starts until it is gone. SQLite's
    // busy wait alone polls, and the indexer, taking the lock again the
    // moment it commits, could starve it past its timeout on a slow machine.
    class WriterTurn
    {
    public:
        explicit WriterTurn(ChatLogIndexer *indexer);
        ~WriterTurn();
        WriterTurn(const WriterTurn &) = delete;
        WriterTurn &operator=(const WriterTurn &) = delete;

    private:
        ChatLogIndexer *m_indexer;
    };

protected:
    void run() override;

private:
    bool startBatch();
    void endBatch();

    QString m_path;
    QMutex m_mutex;
    QWaitCondition m_changed;
    int m_writers = 0;
    bool m_inBatch = false;
};

} // namespace zubrel
