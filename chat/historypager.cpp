#include "historypager.h"

#include <QTextDocumentFragment>
#include <QTimer>

#include "findbar.h"
#include "loggedhtml.h"
#include "messagehtmlguard.h"

#include "czubuddy.h"
#include "zchatlogger.h"
#include "zchattab.h"
#include "zmessageview.h"

namespace zubrel {

HistoryPager::HistoryPager(ZChatTab *tab, ZChatLogger *logger)
    : QObject(tab)
    , m_tab(tab)
    , m_logger(logger)
{
    const CZuBuddy user = CZuBuddy::CurrentUser();
    m_userId = QString::number(user.Id());
    m_userAlias = user.IsNicknameValid() ? user.Nickname() : QString();
    connect(tab->view, &ZMessageView::olderEntriesWanted, this, &HistoryPager::requestOlder);
    if (auto *bar = tab->view->findChild<FindBar *>())
        bar->setHistorySource(this, this);
}

LogLine HistoryPager::lineOf(const MessageStruct &record) const
{
    // The tab tells own lines from the partner's by the id it is given.
    // Markup that would show nothing (an older or damaged log) is shown as
    // the text it holds.
    const QString html = LoggedHtml::forView(record.message);
    if (record.direction == Zr::Sent)
        return {html, m_userAlias, m_userId, record.time};
    return {html, record.alias, record.contact, record.time};
}

void HistoryPager::showNewest(int count)
{
    if (!m_tab || !m_logger)
        return;
    QList<MessageStruct> records;
    m_exhausted = true;
    if (m_logger->canPage()) {
        const QList<LogRecord> page = m_logger->recordsBefore(0, count);
        m_newestBase = m_tab->view->entryCount();
        for (const LogRecord &record : page) {
            records.append(record.message);
            m_ids.append(record.id);
        }
        // Records still waiting in memory (id 0) have nothing stored before
        // them that could be found by id.
        m_exhausted = page.size() < count || page.first().id <= 0;
        if (!m_exhausted)
            m_before = page.first().id;
    } else {
        records = m_logger->lastMessages(count);
    }
    for (const MessageStruct &record : std::as_const(records)) {
        const LogLine line = lineOf(record);
        m_tab->appendLogMessage(line.html, line.alias, line.id, line.time);
    }
}

void HistoryPager::startAfterLogged()
{
    if (!m_logger || !m_logger->canPage())
        return;
    const QList<LogRecord> newest = m_logger->recordsBefore(0, 1);
    m_exhausted = newest.isEmpty() || newest.last().id <= 0;
    if (!m_exhausted)
        m_before = newest.last().id + 1;
}

void HistoryPager::requestOlder()
{
    // Called from inside the view's scrolling: load once the scroll is done,
    // and only once for a burst of wheel turns.
    if (m_exhausted || m_requested)
        return;
    m_requested = true;
    QTimer::singleShot(0, this, [this] {
        m_requested = false;
        loadOlder();
    });
}

void HistoryPager::loadOlder()
{
    if (m_exhausted || !m_tab || !m_logger)
        return;
    const QList<LogRecord> page = m_logger->recordsBefore(m_before, pageSize);
    m_exhausted = page.size() < pageSize || page.first().id <= 0;
    if (page.isEmpty())
        return;
    m_before = page.first().id;
    QList<qint64> ids;
    for (const LogRecord &record : page)
        ids.append(record.id);
    m_ids = ids + m_ids;
    m_pagedCount += int(page.size());
    QList<LogLine> lines;
    lines.reserve(page.size());
    for (const LogRecord &record : page)
        lines.append(lineOf(record.message));
    m_tab->view->prependLog(lines);
}

bool HistoryPager::canSearchHistory() const
{
    return m_logger && m_logger->canSearch();
}

QList<HistoryHit> HistoryPager::searchHistory(const QString &text)
{
    QList<HistoryHit> hits;
    if (!m_logger)
        return hits;
    for (const LogRecord &record : m_logger->searchRecords(text, FindBar::maxHits)) {
        const LogLine line = lineOf(record.message);
        const QString sender = record.message.direction == Zr::Sent
                                   ? (m_userAlias.isEmpty() ? tr("Me") : m_userAlias)
                                   : (line.alias.isEmpty() ? line.id : line.alias);
        // Bounded first: a damaged record of megabytes must not stall the list.
        const QString plain = QTextDocumentFragment::fromHtml(MessageHtmlGuard::bounded(record.message.message))
                                  .toPlainText()
                                  .simplified();
        hits.append({record.id, record.message.time, sender, plain});
    }
    return hits;
}

int HistoryPager::revealHit(const HistoryHit &hit)
{
    if (!m_tab)
        return -1;
    ZMessageView *view = m_tab->view;
    while (hit.id > 0 && !m_exhausted && m_before > hit.id)
        loadOlder();
    qsizetype at = hit.id > 0 ? m_ids.indexOf(hit.id) : -1;
    // A record at the very top of what is shown could not come into sight
    // below the find bar, nor with what led to it: one page more above it.
    if (at >= 0 && at < contextAbove && !m_exhausted) {
        loadOlder();
        at = m_ids.indexOf(hit.id);
    }
    if (at >= 0) {
        const int entry = at < m_pagedCount ? int(at) : m_pagedCount + m_newestBase + int(at - m_pagedCount);
        if (entry < view->entryCount())
            return entry;
    }
    // Logged while the chat was open: shown live, found by its text.
    return view->findEntry(hit.text.left(60));
}

} // namespace zubrel
