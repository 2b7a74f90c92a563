#include "zmessageview.h"

#include "heightindex.h"
#include "locallinkguard.h"
#include "messagelayout.h"
#include "messageviewmodel.h"
#include "steadyscrollbar.h"
#include "zmessageviewaccessible.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>

namespace zubrel {

namespace {
constexpr int bottomPadding = 4;

QString cleanText(QString text)
{
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::Nbsp, u' ');
    text.remove(QChar::ObjectReplacementCharacter);
    return text;
}
} // namespace

ZMessageView::ZMessageView(QWidget *parent)
    : ZTextBrowser(parent)
    , m_model(std::make_unique<MessageViewModel>())
    , m_layout(std::make_unique<MessageLayout>())
    , m_heights(std::make_unique<HeightIndex>())
{
    m_heights->clear();
    setVerticalScrollBar(new SteadyScrollBar(Qt::Vertical, this));
    document()->setUndoRedoEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The inherited text control works on the (empty) base document; cut its
    // wires to this widget so it can neither reset the scroll range nor emit
    // textChanged/copyAvailable for a document nobody sees.
    for (QObject *child : children()) {
        if (child->inherits("QWidgetTextControl"))
            disconnect(child, nullptr, this, nullptr);
    }
    // QTextEdit also sets the range from that document directly (wrap mode,
    // relayouts); put ours back at once, before the value gets clamped.
    connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this](int minimum, int maximum) {
        if (minimum != 0 || maximum != m_scrollMaximum) {
            verticalScrollBar()->setRange(0, m_scrollMaximum);
            verticalScrollBar()->setPageStep(viewport()->height());
        }
    });
    // paintEvent fills what it paints with the base colour: the viewport's
    // own background fill would only write the same pixels twice.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    verticalScrollBar()->setSingleStep(20);
    ZMessageViewAccessible::install();
}

ZMessageView::~ZMessageView() = default;

QString ZMessageView::appendOwn(const QString &html, const QString &alias, const QString &id, const QDateTime &now,
                                bool groupWithoutTimeLimit)
{
    const bool bottom = isAtBottom();
    return afterAppend(m_model->appendOwn(html, alias, id, now, groupWithoutTimeLimit), bottom);
}

QString ZMessageView::appendIncoming(const QString &html, const QString &alias, const QString &id,
                                     const QDateTime &sendTime, bool offline, bool mobile)
{
    const bool bottom = isAtBottom();
    return afterAppend(m_model->appendIncoming(html, alias, id, sendTime, offline, mobile), bottom);
}

QString ZMessageView::appendMultiChat(const QString &html, const QString &alias, const QString &id, bool mobile,
                                      const QDateTime &now)
{
    const bool bottom = isAtBottom();
    return afterAppend(m_model->appendMultiChat(html, alias, id, mobile, now), bottom);
}

QString ZMessageView::appendLog(const QString &html, const QString &alias, const QString &id, const QDateTime &time)
{
    const bool bottom = isAtBottom();
    return afterAppend(m_model->appendLog(html, alias, id, time), bottom);
}

QString ZMessageView::appendNotice(MessageTemplates::Kind kind, const QString &text, const QDateTime &now)
{
    const bool bottom = isAtBottom();
    return afterAppend(m_model->appendNotice(kind, text, now), bottom);
}

QString ZMessageView::afterAppend(const QString &styledHtml, bool wasAtBottom)
{
    // Only the new entry is laid out; everything above keeps its height.
    const int index = m_model->count() - 1;
    m_heights->append(m_layout->measure(index, m_model->entry(index)));
    auto *bar = static_cast<SteadyScrollBar *>(verticalScrollBar());
    bar->hold();
    updateScrollRange();
    // Following the bottom scrolls the old entries up (moved as pixels by
    // scrollContentsBy); only the new entry needs painting.
    if (wasAtBottom)
        bar->setValue(bar->maximum());
    bar->release();
    updateArea(entryRect(index));
    ZMessageViewAccessible::entryAppended(this, index);
    emit textChanged();
    emit viewportLayoutChanged();
    return styledHtml;
}

void ZMessageView::setPlain(bool plain)
{
    if (plain == m_layout->isPlain())
        return;
    const bool bottom = isAtBottom();
    // Heights measured in the other mode stay as estimates until their
    // entries come into sight.
    m_layout->setPlain(plain);
    if (bottom)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    relayoutVisible();
    viewport()->update();
    emit textChanged();
    emit viewportLayoutChanged();
}

bool ZMessageView::isPlain() const
{
    return m_layout->isPlain();
}

void ZMessageView::clearView()
{
    m_model->clear();
    m_heights->clear();
    m_layout->clearCache();
    m_anchor = m_cursor = Position();
    m_readerFocus = -1;
    m_selecting = false;
    m_pressedLink.clear();
    ZMessageViewAccessible::cleared(this);
    updateScrollRange();
    viewport()->update();
    selectionChanged();
    emit textChanged();
    emit viewportLayoutChanged();
}

QString ZMessageView::styledStore() const { return m_model->styledStore(); }
QString ZMessageView::plainStore() const { return m_model->plainStore(); }
QString ZMessageView::lastSender() const { return m_model->lastSender(); }
int ZMessageView::entryCount() const { return m_model->count(); }

QString ZMessageView::plainText() const
{
    QStringList parts;
    parts.reserve(m_model->count());
    for (int i = 0; i < m_model->count(); ++i)
        parts << const_cast<ZMessageView *>(this)->entryText(i, -1, INT_MAX);
    return parts.join(u'\n');
}

QString ZMessageView::entryText(int index, int from, int to)
{
    MessageEntry &entry = m_model->entry(index);
    if (!entry.textKnown)
        m_layout->measure(index, entry);
    QString out;
    const bool hasHeader = !entry.continuation && !MessageTemplates::isNotice(entry.kind);
    if (from < 0 && to >= 0 && hasHeader)
        out = entry.alias + u' ' + entry.time + u'\n';
    if (to < 0)
        return out;
    if (from <= 0 && to == INT_MAX)
        return out + entry.text;
    QTextDocument *doc = m_layout->document(index, entry);
    const int end = doc->characterCount() - 1;
    QTextCursor cursor(doc);
    cursor.setPosition(qBound(0, from, end));
    cursor.setPosition(qBound(0, to, end), QTextCursor::KeepAnchor);
    return out + cleanText(cursor.selectedText());
}

bool ZMessageView::hasSelection() const
{
    return m_anchor.entry >= 0 && m_cursor.entry >= 0 && m_anchor != m_cursor && m_model->count() > 0;
}

QString ZMessageView::selectedText() const
{
    if (!hasSelection())
        return {};
    const Position start = qMin(m_anchor, m_cursor);
    const Position end = qMax(m_anchor, m_cursor);
    QStringList parts;
    auto *self = const_cast<ZMessageView *>(this);
    for (int i = start.entry; i <= end.entry && i < m_model->count(); ++i) {
        const int from = i == start.entry ? start.pos : -1;
        const int to = i == end.entry ? end.pos : INT_MAX;
        const QString part = self->entryText(i, from, to);
        if (!part.isEmpty() || (i != start.entry && i != end.entry))
            parts << part;
    }
    return parts.join(u'\n');
}

void ZMessageView::copy()
{
    if (!hasSelection())
        return;
    auto *data = new QMimeData; // owned by the clipboard
    data->setText(selectedText());
    data->setHtml(selectedHtml());
    QGuiApplication::clipboard()->setMimeData(data);
}

void ZMessageView::selectAll()
{
    if (m_model->count() == 0)
        return;
    m_anchor = {0, -1};
    m_cursor = {m_model->count() - 1, INT_MAX};
    selectionChanged();
}

void ZMessageView::clearSelection()
{
    m_anchor = m_cursor = Position();
    selectionChanged();
}

void ZMessageView::selectionChanged()
{
    viewport()->update();
    const bool has = hasSelection();
    if (has != m_hadSelection) {
        m_hadSelection = has;
        emit copyAvailable(has);
    }
}

bool ZMessageView::isAtBottom() const
{
    return verticalScrollBar()->value() >= verticalScrollBar()->maximum() - 2;
}

void ZMessageView::scrollToBottom()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    relayoutVisible();
}

void ZMessageView::scrollToEntry(int index)
{
    if (index < 0 || index >= m_model->count())
        return;
    // Lay the entry out first so that its own height is right before the
    // offset is taken.
    MessageEntry &entry = m_model->entry(index);
    if (entry.generation != m_layout->generation())
        m_heights->set(index, m_layout->measure(index, entry));
    updateScrollRange();
    verticalScrollBar()->setValue(m_heights->prefix(index));
    relayoutVisible();
}

QRect ZMessageView::entryRect(int index) const
{
    if (index < 0 || index >= m_model->count())
        return {};
    return QRect(0, m_heights->prefix(index) - verticalScrollBar()->value(), viewport()->width(),
                 m_heights->value(index));
}

int ZMessageView::entryAt(const QPoint &pos) const
{
    const int y = pos.y() + verticalScrollBar()->value();
    if (y < 0 || y >= m_heights->total())
        return -1;
    return m_heights->indexAt(y);
}

QRect ZMessageView::entryImageRect(int index, int ordinal)
{
    if (index < 0 || index >= m_model->count() || ordinal < 0)
        return {};
    const QRect local = m_layout->imageRect(index, m_model->entry(index), ordinal);
    return local.isNull() ? QRect() : local.translated(entryRect(index).topLeft());
}

QString ZMessageView::entryBodyHtml(int index) const
{
    if (index < 0 || index >= m_model->count())
        return {};
    return m_layout->bodyHtml(m_model->entry(index));
}

const MessageEntry &ZMessageView::entryData(int index) const
{
    return m_model->entry(index);
}

QString ZMessageView::entryPlainText(int index) const
{
    if (index < 0 || index >= m_model->count())
        return {};
    return const_cast<ZMessageView *>(this)->entryText(index, 0, INT_MAX);
}

bool ZMessageView::isEntrySelected(int index) const
{
    if (!hasSelection())
        return false;
    const Position start = qMin(m_anchor, m_cursor);
    const Position end = qMax(m_anchor, m_cursor);
    // An end before the body of its entry (the header band) leaves it out.
    return index >= start.entry && index <= end.entry && !(index == end.entry && end.pos < 0);
}

QString ZMessageView::imageAt(const QPoint &pos) const
{
    const int index = entryAt(pos);
    if (index < 0)
        return {};
    return m_layout->imageAt(index, m_model->entry(index), pos - entryRect(index).topLeft());
}

std::unique_ptr<QMenu> ZMessageView::createContextMenu(const QPoint &pos)
{
    auto menu = std::make_unique<QMenu>();
    QAction *copyAction = menu->addAction(tr("&Copy"), this, &ZMessageView::copy);
    copyAction->setEnabled(hasSelection());
    menu->addAction(tr("Select All"), this, &ZMessageView::selectAll);
    const QString name = saveableImages() ? imageAt(pos) : QString();
    if (!name.isEmpty()) {
        QAction *save = new QAction(tr("Save Image As..."), menu.get());
        connect(save, &QAction::triggered, this, [this, name] { saveImage(name); });
        menu->insertAction(copyAction, save);
        menu->insertSeparator(copyAction);
    }
    return menu;
}

void ZMessageView::updateScrollRange()
{
    QScrollBar *bar = verticalScrollBar();
    const int height = viewport()->height();
    const int maximum = qMax(0, m_heights->total() + bottomPadding - height);
    // The scroll area answers every range change with a queued relayout of
    // its bars (and a wake-up of the event loop), once per appended entry;
    // it is only needed when the bar appears or vanishes. The value must not
    // be clamped meanwhile, or the viewport would miss the scroll.
    const bool same = bar->minimum() == 0 && bar->maximum() == m_scrollMaximum && m_scrollMaximum > 0
                      && maximum > 0 && bar->value() <= maximum;
    m_scrollMaximum = maximum;
    {
        const QSignalBlocker quiet(same ? bar : nullptr);
        bar->setRange(0, maximum);
    }
    bar->setPageStep(height);
}

void ZMessageView::relayoutVisible()
{
    if (m_inRelayout || m_model->count() == 0)
        return;
    const QScopedValueRollback guard(m_inRelayout, true);
    QScrollBar *bar = verticalScrollBar();
    // Entries measured at another width or in the other mode carry estimated
    // heights; fix the ones in sight and keep what the user looks at still
    // (or the bottom in view when following it). A few rounds settle it.
    for (int round = 0; round < 4; ++round) {
        const bool atBottom = bar->value() >= bar->maximum();
        const int value = bar->value();
        const int top = m_heights->indexAt(value);
        const int offset = value - m_heights->prefix(top);
        const int limit = value + viewport()->height();
        bool changed = false;
        int y = m_heights->prefix(top);
        for (int i = top; i < m_model->count() && y < limit; ++i) {
            MessageEntry &entry = m_model->entry(i);
            if (entry.generation != m_layout->generation()) {
                const int height = m_layout->measure(i, entry);
                if (height != m_heights->value(i)) {
                    m_heights->set(i, height);
                    changed = true;
                }
            }
            y += m_heights->value(i);
        }
        if (!changed)
            break;
        ++m_relayoutCount;
        updateScrollRange();
        bar->setValue(atBottom ? bar->maximum() : m_heights->prefix(top) + offset);
    }
}

ZMessageView::Position ZMessageView::positionAt(const QPoint &viewportPos)
{
    const int count = m_model->count();
    if (count == 0)
        return {};
    const int y = viewportPos.y() + verticalScrollBar()->value();
    if (y < 0)
        return {0, -1};
    if (y >= m_heights->total())
        return {count - 1, INT_MAX};
    const int index = m_heights->indexAt(y);
    const QPoint local(viewportPos.x(), y - m_heights->prefix(index));
    return {index, m_layout->positionAt(index, m_model->entry(index), local)};
}

QString ZMessageView::linkAt(const QPoint &viewportPos)
{
    const int index = entryAt(viewportPos);
    if (index < 0)
        return {};
    return m_layout->anchorAt(index, m_model->entry(index), viewportPos - entryRect(index).topLeft());
}

void ZMessageView::activateLink(const QString &href)
{
    const QUrl url(href);
    emit linkActivated(url);
    emit anchorClicked(url);
    if (!openExternalLinks() || !LocalLinkGuard::mayOpen(this, url))
        return;
    // A path without a scheme goes to the desktop as the file it names.
    const bool local = LocalLinkGuard::isLocal(url);
    QDesktopServices::openUrl(local ? QUrl::fromLocalFile(LocalLinkGuard::localTarget(url)) : url);
}

void ZMessageView::scrollPixelsLater(int dx, int dy)
{
    // A burst of messages followed at the bottom moves the pixels once,
    // instead of copying the whole viewport for each message: when the
    // window's update request arrives, just before it paints, in the same
    // pass of the event loop as a paint asked for at once.
    m_pendingScroll += QPoint(dx, dy);
    QWidget *top = window();
    if (top != m_paintingWindow) {
        if (m_paintingWindow)
            m_paintingWindow->removeEventFilter(this);
        m_paintingWindow = top;
        top->installEventFilter(this);
        m_updateRequested = false;
    }
    // Nothing may be marked for painting yet (areas wait for the move): the
    // request is asked for as Qt does, at the lowest priority.
    if (!m_updateRequested) {
        m_updateRequested = true;
        QCoreApplication::postEvent(top, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
    }
}

bool ZMessageView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::UpdateRequest && watched == m_paintingWindow) {
        m_updateRequested = false;
        scrollPendingPixels();
    }
    return ZTextBrowser::eventFilter(watched, event);
}

void ZMessageView::updateArea(const QRect &rect)
{
    // Qt moves what is to be painted along with the pixels; an area named
    // for the new position waits for the move.
    if (m_pendingScroll.isNull())
        viewport()->update(rect);
    else
        m_pendingArea += rect;
}

void ZMessageView::scrollPendingPixels()
{
    const QPoint delta = std::exchange(m_pendingScroll, QPoint());
    const QRegion area = std::exchange(m_pendingArea, QRegion());
    if (!delta.isNull()) {
        viewport()->scroll(delta.x(), delta.y());
        // The move took the viewport's child widgets along, which were
        // placed for the new position already.
        emit viewportLayoutChanged();
    }
    viewport()->update(area);
}

void ZMessageView::repaintAll()
{
    m_pendingScroll = QPoint();
    m_pendingArea = QRegion();
    viewport()->update();
}

void ZMessageView::paintEvent(QPaintEvent *event)
{
    // Painted before the moved pixels were: what is outside this region
    // is stale, so everything is painted again.
    if (!m_pendingScroll.isNull()) {
        repaintAll();
        emit viewportLayoutChanged();
    }
    m_layout->setPalette(palette());
    relayoutVisible();
    QPainter painter(viewport());
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    const int count = m_model->count();
    if (count == 0)
        return;
    const int value = verticalScrollBar()->value();
    const Position start = qMin(m_anchor, m_cursor);
    const Position end = qMax(m_anchor, m_cursor);
    const bool selected = hasSelection();
    int index = m_heights->indexAt(value);
    int y = m_heights->prefix(index) - value;
    for (; index < count && y < viewport()->height(); ++index) {
        const int height = m_heights->value(index);
        if (y + height > event->rect().top() && y <= event->rect().bottom()) {
            MessageLayout::Selection sel;
            if (selected && index >= start.entry && index <= end.entry) {
                const int from = index == start.entry ? start.pos : -1;
                const int to = index == end.entry ? end.pos : INT_MAX;
                sel.active = to >= 0;
                sel.header = from < 0 && to >= 0;
                sel.from = qMax(from, 0);
                sel.to = to;
            }
            painter.save();
            painter.translate(0, y);
            m_layout->paint(painter, index, m_model->entry(index), palette(), sel);
            painter.restore();
            if (index == m_readerFocus && hasFocus()) {
                painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(QRectF(0, y, viewport()->width(), height).adjusted(1, 1, -1, -1));
            }
        }
        y += height;
    }
}

void ZMessageView::resizeEvent(QResizeEvent *event)
{
    // Not QTextEdit's: it would lay out the empty base document and reset
    // the scroll range to it.
    const bool bottom = isAtBottom();
    QAbstractScrollArea::resizeEvent(event);
    m_layout->setWidth(viewport()->width());
    updateScrollRange();
    if (bottom)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    relayoutVisible();
    emit viewportLayoutChanged();
}

void ZMessageView::showEvent(QShowEvent *event)
{
    const bool bottom = isAtBottom();
    QAbstractScrollArea::showEvent(event);
    m_layout->setWidth(viewport()->width());
    updateScrollRange();
    if (bottom)
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    relayoutVisible();
}

void ZMessageView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        viewport()->update();
}

void ZMessageView::scrollContentsBy(int dx, int dy)
{
    if (m_keepPixels)
        return;
    const unsigned before = m_relayoutCount;
    relayoutVisible();
    // Moving the pixels already painted is far cheaper than painting every
    // visible entry again; a relayout changes them, so it repaints all.
    if (m_relayoutCount == before && !m_inRelayout)
        scrollPixelsLater(dx, dy);
    else
        repaintAll();
    emit viewportLayoutChanged();
    if (dy > 0 && verticalScrollBar()->value() == 0)
        emit olderEntriesWanted();
}

void ZMessageView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (selectEntryOnTripleClick(event)) {
        event->accept();
        return;
    }
    const QPoint pos = event->position().toPoint();
    m_pressPoint = pos;
    m_pressedLink = linkAt(pos);
    const Position here = positionAt(pos);
    if (!(event->modifiers() & Qt::ShiftModifier) || m_anchor.entry < 0)
        m_anchor = here;
    m_cursor = here;
    m_selecting = true;
    selectionChanged();
    event->accept();
}

void ZMessageView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    if (m_selecting && (event->buttons() & Qt::LeftButton)) {
        // Dragging past an edge scrolls, so a selection can span more than
        // one screen.
        QScrollBar *bar = verticalScrollBar();
        if (pos.y() < 0)
            bar->setValue(bar->value() - bar->singleStep());
        else if (pos.y() > viewport()->height())
            bar->setValue(bar->value() + bar->singleStep());
        m_cursor = positionAt(pos);
        selectionChanged();
        return;
    }
    viewport()->setCursor(linkAt(pos).isEmpty() ? Qt::IBeamCursor : Qt::PointingHandCursor);
}

void ZMessageView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_selecting = false;
    const QPoint pos = event->position().toPoint();
    const QString link = m_pressedLink;
    m_pressedLink.clear();
    if (!link.isEmpty() && (pos - m_pressPoint).manhattanLength() < QApplication::startDragDistance()
        && linkAt(pos) == link) {
        clearSelection();
        activateLink(link);
        return;
    }
    if (!hasSelection() && (pos - m_pressPoint).manhattanLength() < QApplication::startDragDistance()
        && showFullPicture(pos))
        return;
    if (hasSelection() && QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(selectedText(), QClipboard::Selection);
}

void ZMessageView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const Position here = positionAt(event->position().toPoint());
    m_doubleClicked = event->button() == Qt::LeftButton;
    m_doubleClickTime = event->timestamp();
    m_doubleClickPoint = event->position().toPoint();
    if (here.entry < 0 || here.pos < 0 || here.pos == INT_MAX)
        return;
    QTextCursor cursor(m_layout->document(here.entry, m_model->entry(here.entry)));
    cursor.setPosition(here.pos);
    cursor.select(QTextCursor::WordUnderCursor);
    m_anchor = {here.entry, cursor.selectionStart()};
    m_cursor = {here.entry, cursor.selectionEnd()};
    m_selecting = false;
    selectionChanged();
}

void ZMessageView::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        copy();
    } else if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (event->matches(QKeySequence::MoveToStartOfDocument)) {
        verticalScrollBar()->setValue(0);
    } else if (event->matches(QKeySequence::MoveToEndOfDocument)) {
        scrollToBottom();
    } else if (!moveReaderFocusByKey(event) && !extendSelectionByKey(event)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    event->accept();
}

void ZMessageView::wheelEvent(QWheelEvent *event)
{
    // Plain scrolling: QTextEdit would zoom the (unused) base font on Ctrl.
    // A conversation shorter than the view cannot scroll: turning the wheel
    // up at the top still asks for older history.
    if (event->angleDelta().y() > 0 && verticalScrollBar()->value() == 0)
        emit olderEntriesWanted();
    QAbstractScrollArea::wheelEvent(event);
}

void ZMessageView::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu = createContextMenu(event->pos());
    menu->exec(event->globalPos());
}

void ZMessageView::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ZMessageView::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

} // namespace zubrel
