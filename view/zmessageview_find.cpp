// Finding text in the entries a view holds.
#include "zmessageview.h"

#include "heightindex.h"
#include "messagelayout.h"
#include "messageviewmodel.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace zubrel {

QTextDocument *ZMessageView::measuredDocument(int index)
{
    MessageEntry &entry = m_model->entry(index);
    // An entry measured here keeps its true height in the index: it counts
    // as laid out from now on and would never be corrected otherwise.
    if (entry.generation != m_layout->generation())
        m_heights->set(index, m_layout->measure(index, entry));
    return m_layout->document(index, entry);
}

bool ZMessageView::findText(const QString &text, bool backward, bool fromEnd)
{
    const int count = m_model->count();
    if (text.isEmpty() || count == 0)
        return false;
    Position from{count - 1, INT_MAX};
    if (hasSelection() && !fromEnd)
        from = backward ? qMin(m_anchor, m_cursor) : qMax(m_anchor, m_cursor);
    else if (!backward)
        backward = true; // nothing selected: the newest match first
    const QTextDocument::FindFlags flags = backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    // Every entry once, starting in the one with the selection, and that one
    // again from its other end, for a match on the far side of the wrap.
    for (int step = 0; step <= count; ++step) {
        const int i = ((backward ? from.entry - step : from.entry + step) % count + count) % count;
        MessageEntry &entry = m_model->entry(i);
        if (entry.textKnown && !entry.text.contains(text, Qt::CaseInsensitive))
            continue;
        QTextDocument *doc = measuredDocument(i);
        const int end = doc->characterCount() - 1;
        int pos = backward ? end : 0;
        if (step == 0)
            pos = qBound(0, from.pos, end);
        const QTextCursor found = doc->find(text, pos, flags);
        if (found.isNull())
            continue;
        m_anchor = {i, found.selectionStart()};
        m_cursor = {i, found.selectionEnd()};
        revealPosition(m_anchor);
        selectionChanged();
        return true;
    }
    return false;
}

void ZMessageView::showInEntry(int index, const QString &text)
{
    if (index < 0 || index >= m_model->count())
        return;
    QTextDocument *doc = measuredDocument(index);
    const QTextCursor found = text.isEmpty() ? QTextCursor() : doc->find(text, 0);
    if (found.isNull()) {
        m_anchor = {index, -1};
        m_cursor = {index, INT_MAX};
    } else {
        m_anchor = {index, found.selectionStart()};
        m_cursor = {index, found.selectionEnd()};
    }
    revealPosition(m_anchor);
    selectionChanged();
}

int ZMessageView::findEntry(const QString &text)
{
    if (text.isEmpty())
        return -1;
    for (int i = m_model->count() - 1; i >= 0; --i) {
        MessageEntry &entry = m_model->entry(i);
        if (!entry.textKnown)
            measuredDocument(i);
        if (entry.text.simplified().contains(text, Qt::CaseInsensitive))
            return i;
    }
    return -1;
}

void ZMessageView::revealPosition(const Position &at)
{
    if (at.entry < 0 || at.entry >= m_model->count())
        return;
    QTextDocument *doc = measuredDocument(at.entry);
    updateScrollRange();
    // Where the match's line starts in the whole conversation.
    const auto matchTop = [&] {
        const MessageLayout::Geometry g = m_layout->geometry(m_model->entry(at.entry), int(doc->size().height()));
        int y = m_heights->prefix(at.entry);
        if (at.pos >= 0) {
            const QTextBlock block = doc->findBlock(qMin(at.pos, doc->characterCount() - 1));
            y += g.bodyOrigin.y() + int(doc->documentLayout()->blockBoundingRect(block).top());
        }
        return y;
    };
    QScrollBar *bar = verticalScrollBar();
    const int height = viewport()->height();
    // What an overlay hides is not in sight; when it leaves almost nothing,
    // the match still goes just below it.
    const int covered = qMin(m_coveredTop, qMax(0, height - 24));
    // Already in sight: the view stays still; otherwise the match comes to a
    // third of the way down the uncovered part, with what led to it above.
    int y = matchTop();
    if (y >= bar->value() + covered && y + 24 <= bar->value() + height)
        return;
    // Entries that come into sight with estimated heights are measured on
    // the way, which moves the match: aim again until it stays put.
    for (int round = 0; round < 3; ++round) {
        const int wanted = qBound(bar->minimum(), y - covered - (height - covered) / 3, bar->maximum());
        if (round > 0 && wanted == bar->value())
            break;
        bar->setValue(wanted);
        relayoutVisible();
        y = matchTop();
    }
    viewport()->update();
}

} // namespace zubrel
