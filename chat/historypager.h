#pragma once
// Scroll-back of one chat tab: shows the records a chat opens with and, each
// time the user scrolls to the top of the view, the page of records logged
// before the oldest one shown, back to the first record of the log.

#include <QObject>
#include <QPointer>

#include "historysearchsource.h"
#include "messageviewmodel.h"
#include "zloggerinterfaces.h"

namespace zubrel {

class ZChatLogger;
class ZChatTab;

class HistoryPager : public QObject, public HistorySearchSource
{
    Q_OBJECT
public:
    static constexpr int pageSize = 50;
    // Records wanted above one found in the whole history.
    static constexpr int contextAbove = 10;

    // Lives as a child of the tab; follows the tab's view.
    HistoryPager(ZChatTab *tab, ZChatLogger *logger);

    // Shows the newest `count` records and pages from the oldest of them.
    // A plug-in that cannot page still shows them; nothing older follows.
    void showNewest(int count);
    // For a chat that starts empty: everything logged so far is older.
    void startAfterLogged();

    bool isExhausted() const { return m_exhausted; }

    bool canSearchHistory() const override;
    QList<HistoryHit> searchHistory(const QString &text) override;
    // Pages back to the record, then finds its entry: by record id among
    // the records shown from the log, by text among entries shown live.
    int revealHit(const HistoryHit &hit) override;

public slots:
    // One page of older records above the view's entries.
    void loadOlder();

private:
    void requestOlder();
    LogLine lineOf(const MessageStruct &record) const;

    QPointer<ZChatTab> m_tab;
    QPointer<ZChatLogger> m_logger;
    qint64 m_before = 0;
    bool m_exhausted = true;
    bool m_requested = false;
    // Ids of the records shown from the log, oldest first: the first
    // m_pagedCount were placed above everything, the rest appended from
    // entry m_newestBase on when the chat opened.
    QList<qint64> m_ids;
    int m_pagedCount = 0;
    int m_newestBase = 0;
    QString m_userId;
    QString m_userAlias;
};

} // namespace zubrel
