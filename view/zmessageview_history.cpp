// Older history placed above a view's entries.
#include "zmessageview.h"

#include "heightindex.h"
#include "messagelayout.h"
#include "messageviewmodel.h"
#include "steadyscrollbar.h"

#include <QScopedValueRollback>

#include <vector>

namespace zubrel {

void ZMessageView::prependLog(const QList<LogLine> &lines)
{
    if (lines.isEmpty())
        return;
    auto *bar = static_cast<SteadyScrollBar *>(verticalScrollBar());
    const int value = bar->value();
    const int added = m_model->prependLog(lines);
    // Cached documents are filed under entry numbers, which all moved.
    m_layout->shiftCache(added);
    // Guessed heights: laying out a page nobody looks at yet would cost more
    // than the rest of the page; entries are measured as they come into sight.
    std::vector<int> heights;
    heights.reserve(added);
    int above = 0;
    for (int i = 0; i < added; ++i) {
        heights.push_back(m_layout->estimate(m_model->entry(i)));
        above += heights.back();
    }
    m_heights->prepend(heights);
    if (m_anchor.entry >= 0)
        m_anchor.entry += added;
    if (m_cursor.entry >= 0)
        m_cursor.entry += added;
    if (m_readerFocus >= 0)
        m_readerFocus += added;
    bar->hold();
    updateScrollRange();
    // The entry at the top of the view stays at the same pixel, so what is
    // painted stays valid: only a relayout of what is in sight repaints.
    {
        const QScopedValueRollback keep(m_keepPixels, true);
        bar->setValue(value + above);
    }
    bar->release();
    const unsigned before = m_relayoutCount;
    relayoutVisible();
    if (m_relayoutCount != before || bar->value() != value + above)
        viewport()->update();
    // Not textChanged(): the tab answers that by scrolling to the bottom,
    // which would throw the reader away from the page just placed above.
    emit entriesPrepended(added);
    emit viewportLayoutChanged();
}

} // namespace zubrel
