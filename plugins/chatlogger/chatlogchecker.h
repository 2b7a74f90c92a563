#pragma once
// Checks a long chat history for damage in the background: SQLite's quick
// check reads every page, which takes seconds for a history of a million
// records, and opening a profile must not wait for it. Runs on a read-only
// connection of its own while the history goes on being read. A sound file
// of an older build then gets the indexes of the current layout, which also
// takes seconds at that length.

#include <QString>
#include <QThread>

#include <atomic>

namespace zubrel {

class ChatLogChecker : public QThread
{
    Q_OBJECT
public:
    enum class Verdict { Running, Sound, Damaged, Unknown };

    explicit ChatLogChecker(const QString &databasePath, QObject *parent = nullptr);
    ~ChatLogChecker() override;

    // Running until the check is over; Unknown when it could not be made
    // (file busy or unreadable), which is not damage.
    Verdict verdict() const { return m_verdict.load(); }
    // Leaves the indexes of an older file for the next open: closing the
    // history must not wait for them.
    void skipLayout() { m_skipLayout.store(true); }

protected:
    void run() override;

private:
    void addLookUpIndexes();

    QString m_path;
    std::atomic<Verdict> m_verdict{Verdict::Running};
    std::atomic<bool> m_skipLayout{false};
};

} // namespace zubrel
