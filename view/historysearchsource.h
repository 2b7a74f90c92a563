#pragma once
// What the find bar asks of a chat's history beyond the entries the view
// holds: searching the whole log and bringing a found record into the view.

#include <QDateTime>
#include <QList>
#include <QString>

namespace zubrel {

struct HistoryHit
{
    qint64 id = 0;
    QDateTime time;
    QString sender; // plain text
    QString text;   // the record's text without markup
};

class HistorySearchSource
{
public:
    virtual ~HistorySearchSource() = default;
    // False when the chat log cannot search (no plug-in, an older one).
    virtual bool canSearchHistory() const = 0;
    // Records holding every word of `text`, newest first.
    virtual QList<HistoryHit> searchHistory(const QString &text) = 0;
    // Loads what is needed to show the record and returns its entry in the
    // view, -1 when it cannot be shown.
    virtual int revealHit(const HistoryHit &hit) = 0;
};

} // namespace zubrel
