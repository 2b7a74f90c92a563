#pragma once
// Builds the search index of an existing history in the background: a long
// log from before the index existed is indexed batch by batch on a
// connection of its own, while the chat log goes on being read and written.

#include <QString>
#include <QThread>

namespace zubrel {

class ChatLogIndexer : public QThread
{
    Q_OBJECT
public:
    explicit ChatLogIndexer(const QString &databasePath, QObject *parent = nullptr);
    ~ChatLogIndexer() override;

    // Asks the thread to stop after its current batch and waits for it.
    void stop();

protected:
    void run() override;

private:
    QString m_path;
};

} // namespace zubrel
