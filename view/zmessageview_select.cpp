// Selecting with the keyboard and with a third click.
#include "zmessageview.h"

#include "heightindex.h"
#include "messagelayout.h"
#include "messageviewmodel.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextCursor>
#include <QTextDocument>

namespace zubrel {

bool ZMessageView::selectEntryOnTripleClick(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    // Event times, not the wall clock: a third click is one the window
    // system delivered soon after the second, however late it is handled.
    const bool triple = m_doubleClicked
                        && event->timestamp() - m_doubleClickTime
                               < quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval())
                        && (pos - m_doubleClickPoint).manhattanLength() < QApplication::startDragDistance();
    m_doubleClicked = false;
    const int index = triple ? entryAt(pos) : -1;
    if (index < 0)
        return false;
    m_anchor = {index, -1};
    m_cursor = {index, INT_MAX};
    m_selecting = false;
    m_pressedLink.clear();
    selectionChanged();
    return true;
}

bool ZMessageView::hasHeader(int index) const
{
    const MessageEntry &entry = m_model->entry(index);
    return !entry.continuation && !MessageTemplates::isNotice(entry.kind);
}

int ZMessageView::endOf(int index)
{
    return measuredDocument(index)->characterCount() - 1;
}

ZMessageView::Position ZMessageView::keyboardStart(bool forward) const
{
    // Without a click to start from, keys select from the edge of what is
    // on screen: forward from the top entry, backward from the bottom one.
    const int count = m_model->count();
    int index = entryAt(QPoint(0, forward ? 0 : viewport()->height() - 1));
    if (index < 0)
        index = forward ? 0 : count - 1;
    return forward ? Position{index, -1} : Position{index, INT_MAX};
}

ZMessageView::Position ZMessageView::stepCharacter(Position at, bool forward, bool word)
{
    const int count = m_model->count();
    const int end = endOf(at.entry);
    at.pos = qMin(at.pos, end);
    if (forward) {
        if (at.pos < 0)
            return {at.entry, 0};
        if (at.pos >= end)
            return at.entry + 1 < count ? Position{at.entry + 1, hasHeader(at.entry + 1) ? -1 : 0} : at;
    } else if (at.pos <= 0) {
        // The header counts as one step between two bodies.
        if (at.pos == 0 && hasHeader(at.entry))
            return {at.entry, -1};
        return at.entry > 0 ? Position{at.entry - 1, endOf(at.entry - 1)} : at;
    }
    QTextCursor cursor(measuredDocument(at.entry));
    cursor.setPosition(at.pos);
    using Op = QTextCursor::MoveOperation;
    cursor.movePosition(forward ? (word ? Op::NextWord : Op::NextCharacter)
                                : (word ? Op::PreviousWord : Op::PreviousCharacter));
    return {at.entry, cursor.position()};
}

QRect ZMessageView::positionRect(const Position &at)
{
    measuredDocument(at.entry);
    return m_layout->cursorRect(at.entry, m_model->entry(at.entry), at.pos).translated(entryRect(at.entry).topLeft());
}

ZMessageView::Position ZMessageView::stepLine(Position at, bool down)
{
    keepInSight(at);
    const QRect here = positionRect(at);
    const int x = at.pos < 0 ? here.left() + 1 : here.left();
    // The gaps between entries and bodies map back to where we are; look
    // further until the next line is reached.
    for (int dy = 2; dy < 4 * viewport()->height() + 64; dy += 3) {
        const int y = down ? here.bottom() + dy : here.top() - dy;
        if (y + verticalScrollBar()->value() < 0)
            return {0, -1};
        if (y + verticalScrollBar()->value() >= m_heights->total())
            return {m_model->count() - 1, endOf(m_model->count() - 1)};
        Position next = positionAt(QPoint(x, y));
        if (next.entry >= 0 && next.pos == INT_MAX)
            next.pos = endOf(next.entry);
        if (next.entry >= 0 && next != at && (next.entry != at.entry || (next.pos < 0) != (at.pos < 0)
                                              || positionRect(next).top() != here.top()))
            return next;
    }
    return at;
}

void ZMessageView::keepInSight(const Position &at)
{
    if (at.entry < 0)
        return;
    updateScrollRange();
    QScrollBar *bar = verticalScrollBar();
    const QRect rect = positionRect(at);
    if (rect.top() < 0)
        bar->setValue(bar->value() + rect.top());
    else if (rect.bottom() >= viewport()->height())
        bar->setValue(bar->value() + rect.bottom() - viewport()->height() + 1);
    relayoutVisible();
}

bool ZMessageView::extendSelectionByKey(QKeyEvent *event)
{
    enum Step { Character, Word, Line, Whole };
    struct Binding
    {
        QKeySequence::StandardKey key;
        Step step;
        bool forward;
    };
    static constexpr Binding bindings[] = {
        {QKeySequence::SelectNextChar, Character, true},     {QKeySequence::SelectPreviousChar, Character, false},
        {QKeySequence::SelectNextWord, Word, true},          {QKeySequence::SelectPreviousWord, Word, false},
        {QKeySequence::SelectNextLine, Line, true},          {QKeySequence::SelectPreviousLine, Line, false},
        {QKeySequence::SelectEndOfDocument, Whole, true},    {QKeySequence::SelectStartOfDocument, Whole, false},
    };
    const Binding *binding = nullptr;
    for (const Binding &b : bindings) {
        if (event->matches(b.key))
            binding = &b;
    }
    if (!binding)
        return false;
    const int count = m_model->count();
    if (count == 0)
        return true;
    // A click leaves anchor and cursor together: the keys extend from there.
    if (m_anchor.entry < 0 || m_cursor.entry < 0 || m_anchor.entry >= count || m_cursor.entry >= count)
        m_anchor = m_cursor = keyboardStart(binding->forward);
    Position at = m_cursor;
    if (at.pos == INT_MAX)
        at.pos = endOf(at.entry);
    switch (binding->step) {
    case Character:
    case Word:
        at = stepCharacter(at, binding->forward, binding->step == Word);
        break;
    case Line:
        at = stepLine(at, binding->forward);
        break;
    case Whole:
        at = binding->forward ? Position{count - 1, INT_MAX} : Position{0, -1};
        break;
    }
    m_cursor = at;
    keepInSight(m_cursor);
    selectionChanged();
    if (hasSelection() && QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
    return true;
}

} // namespace zubrel
