// Reading the conversation entry by entry with the keyboard: Up and Down
// move a reader focus over the entries, Home and End go to the first and the
// last loaded one. The entry is framed, scrolled into sight and named to
// screen readers as the focused item, which they then read.
#include "zmessageview.h"

#include "heightindex.h"
#include "messageviewmodel.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QScrollBar>

namespace zubrel {

bool ZMessageView::moveReaderFocusByKey(QKeyEvent *event)
{
    // Shift and Ctrl keep their selecting and scrolling meanings.
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    const int count = m_model->count();
    const int key = event->key();
    if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Home && key != Qt::Key_End)
        return false;
    if (count == 0)
        return true;
    int index = m_readerFocus;
    if (key == Qt::Key_Home) {
        index = 0;
    } else if (key == Qt::Key_End) {
        index = count - 1;
    } else if (index < 0 || index >= count) {
        // The first step lands on what is on screen: Down on the top entry,
        // Up on the bottom one.
        index = entryAt(QPoint(0, key == Qt::Key_Down ? 0 : viewport()->height() - 1));
        if (index < 0)
            index = key == Qt::Key_Down ? 0 : count - 1;
    } else {
        index = qBound(0, index + (key == Qt::Key_Down ? 1 : -1), count - 1);
    }
    setReaderFocus(index);
    return true;
}

void ZMessageView::setReaderFocus(int index)
{
    if (index < 0 || index >= m_model->count())
        return;
    const int before = m_readerFocus;
    m_readerFocus = index;
    showEntry(index);
    if (before >= 0 && before < m_model->count())
        updateArea(entryRect(before));
    updateArea(entryRect(index));
    if (QAccessible::isActive()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        focus.setChild(index);
        QAccessible::updateAccessibility(&focus);
    }
}

void ZMessageView::showEntry(int index)
{
    // Measured first, so that its height is right before it is placed; an
    // entry taller than the view shows its start.
    measuredDocument(index);
    updateScrollRange();
    QScrollBar *bar = verticalScrollBar();
    const QRect rect = entryRect(index);
    if (rect.top() < 0 || rect.height() > viewport()->height())
        bar->setValue(bar->value() + rect.top());
    else if (rect.bottom() >= viewport()->height())
        bar->setValue(bar->value() + rect.bottom() - viewport()->height() + 1);
    relayoutVisible();
}

} // namespace zubrel
