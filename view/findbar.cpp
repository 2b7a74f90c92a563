#include "findbar.h"

#include "zmessageview.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace zubrel {

namespace {
constexpr int margin = 6;
constexpr int preferredWidth = 440;
constexpr int resultRows = 8;
constexpr int snippetChars = 90;

QString snippet(const QString &text, const QString &word)
{
    // The found word with a little before it, so the reader sees it in the
    // row however long the record is.
    const qsizetype at = qMax<qsizetype>(0, text.indexOf(word.section(u' ', 0, 0), 0, Qt::CaseInsensitive));
    const qsizetype start = qMax<qsizetype>(0, at - 20);
    QString out = text.mid(start, snippetChars);
    if (start > 0)
        out.prepend(QStringLiteral("…"));
    if (start + snippetChars < text.size())
        out.append(QStringLiteral("…"));
    return out;
}
} // namespace

FindBar::FindBar(ZMessageView *view, QWidget *scope)
    : QFrame(view)
    , m_view(view)
{
    setObjectName(QStringLiteral("findBar"));
    setAccessibleName(tr("Find in conversation"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    hide();

    auto *shortcut = new QShortcut(QKeySequence::Find, scope ? scope : view, this, &FindBar::open);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    view->installEventFilter(this);
}

void FindBar::build()
{
    if (m_field)
        return;
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("findField"));
    m_field->setPlaceholderText(tr("Find"));
    m_field->setAccessibleName(tr("Find text"));
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);

    const auto button = [this](const QString &name, const QString &text, const QString &tip) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setText(text);
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setAutoRaise(true);
        return b;
    };
    m_older = button(QStringLiteral("findOlder"), QStringLiteral("▲"), tr("Older match (Enter)"));
    m_newer = button(QStringLiteral("findNewer"), QStringLiteral("▼"), tr("Newer match (Shift+Enter)"));
    m_close = button(QStringLiteral("findClose"), QStringLiteral("✕"), tr("Close the find bar (Escape)"));
    m_wholeHistory = new QPushButton(tr("Search whole history"), this);
    m_wholeHistory->setObjectName(QStringLiteral("findWholeHistory"));
    m_wholeHistory->setAccessibleName(tr("Search the whole history"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("findStatus"));
    m_results = new QListWidget(this);
    m_results->setObjectName(QStringLiteral("findResults"));
    m_results->setAccessibleName(tr("Messages found in the history"));
    m_results->setUniformItemSizes(true);
    m_results->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_results->setTextElideMode(Qt::ElideRight);
    m_results->installEventFilter(this);
    m_results->hide();

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_field, 1);
    row->addWidget(m_older);
    row->addWidget(m_newer);
    row->addWidget(m_wholeHistory);
    row->addWidget(m_close);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(margin, margin, margin, margin);
    column->addLayout(row);
    column->addWidget(m_status);
    column->addWidget(m_results);
    setTabOrder(m_field, m_older);
    setTabOrder(m_older, m_newer);
    setTabOrder(m_newer, m_wholeHistory);
    setTabOrder(m_wholeHistory, m_results);
    setTabOrder(m_results, m_close);

    connect(m_field, &QLineEdit::textChanged, this, &FindBar::findAsTyped);
    connect(m_field, &QLineEdit::returnPressed, this, &FindBar::findOlder);
    connect(m_older, &QToolButton::clicked, this, &FindBar::findOlder);
    connect(m_newer, &QToolButton::clicked, this, &FindBar::findNewer);
    connect(m_wholeHistory, &QPushButton::clicked, this, &FindBar::searchWholeHistory);
    connect(m_close, &QToolButton::clicked, this, &FindBar::close);
    connect(m_results, &QListWidget::itemActivated, this, &FindBar::showHit);
    connect(m_results, &QListWidget::itemClicked, this, &FindBar::showHit);
    updateButtons();
}

void FindBar::setHistorySource(QObject *owner, HistorySearchSource *source)
{
    m_sourceOwner = owner;
    m_source = source;
    updateButtons();
}

QString FindBar::status() const
{
    return m_status ? m_status->text() : QString();
}

void FindBar::open()
{
    build();
    show();
    raise();
    place();
    m_field->setFocus(Qt::ShortcutFocusReason);
    m_field->selectAll();
    updateButtons();
}

void FindBar::close()
{
    hide();
    if (m_view)
        m_view->setCoveredTop(0);
    if (m_results) {
        m_results->clear();
        m_results->hide();
    }
    m_hits.clear();
    setStatus(QString());
    if (m_view) {
        m_view->clearSelection();
        m_view->setFocus(Qt::OtherFocusReason);
    }
}

void FindBar::findAsTyped(const QString &text)
{
    updateButtons();
    if (!m_view)
        return;
    if (text.isEmpty()) {
        m_view->clearSelection();
        setStatus(QString());
        return;
    }
    setStatus(m_view->findText(text, true, true) ? QString() : tr("Not found in the messages shown"));
}

void FindBar::findOlder()
{
    if (m_view && m_field && !m_field->text().isEmpty())
        setStatus(m_view->findText(m_field->text(), true) ? QString() : tr("Not found in the messages shown"));
}

void FindBar::findNewer()
{
    if (m_view && m_field && !m_field->text().isEmpty())
        setStatus(m_view->findText(m_field->text(), false) ? QString() : tr("Not found in the messages shown"));
}

void FindBar::searchWholeHistory()
{
    if (!m_field)
        return;
    const QString text = m_field->text().simplified();
    if (text.isEmpty() || !m_sourceOwner || !m_source || !m_source->canSearchHistory())
        return;
    m_hits = m_source->searchHistory(text).mid(0, maxHits);
    m_hitsFor = text;
    m_results->clear();
    for (const HistoryHit &hit : std::as_const(m_hits)) {
        const QString when = QLocale().toString(hit.time, QLocale::ShortFormat);
        auto *item = new QListWidgetItem(QStringLiteral("%1  %2: %3").arg(when, hit.sender, snippet(hit.text, text)),
                                         m_results);
        item->setToolTip(hit.text.left(1000));
    }
    m_results->setVisible(!m_hits.isEmpty());
    if (m_hits.isEmpty())
        setStatus(tr("No message in the history holds “%1”").arg(text));
    else if (m_hits.size() >= maxHits)
        setStatus(tr("The newest %1 messages found").arg(m_hits.size()));
    else
        setStatus(tr("%n message(s) found", nullptr, int(m_hits.size())));
    if (!m_hits.isEmpty())
        m_results->setCurrentRow(0);
    place();
}

void FindBar::showHit(QListWidgetItem *item)
{
    const int row = m_results->row(item);
    if (row < 0 || row >= m_hits.size() || !m_view || !m_sourceOwner || !m_source)
        return;
    const int entry = m_source->revealHit(m_hits.at(row));
    if (entry < 0) {
        setStatus(tr("This message can no longer be shown"));
        return;
    }
    m_view->showInEntry(entry, m_hitsFor.section(u' ', 0, 0));
}

void FindBar::updateButtons()
{
    if (!m_field)
        return;
    const bool text = !m_field->text().isEmpty();
    m_older->setEnabled(text);
    m_newer->setEnabled(text);
    const bool canSearch = m_sourceOwner && m_source && m_source->canSearchHistory();
    m_wholeHistory->setEnabled(canSearch && text);
    m_wholeHistory->setToolTip(canSearch ? tr("Search every message logged in this chat")
                                         : tr("The installed chat history cannot be searched"));
}

void FindBar::place()
{
    if (!m_view || !m_results)
        return;
    const int bar = m_view->verticalScrollBar()->isVisible() ? m_view->verticalScrollBar()->width() : 0;
    const int width = qMax(0, qMin(preferredWidth, m_view->width() - bar - 2 * margin));
    m_results->setFixedHeight(m_results->isVisible() ? m_results->sizeHintForRow(0) * resultRows + 4 : 0);
    adjustSize();
    const int height = qMin(sizeHint().height(), m_view->height() - 2 * margin);
    setGeometry(m_view->width() - bar - width - margin, margin, width, height);
    // The bar sits on the view's frame; the view counts in viewport rows.
    m_view->setCoveredTop(!isHidden() ? margin + height - m_view->viewport()->y() : 0);
}

void FindBar::setStatus(const QString &text)
{
    if (!m_status)
        return;
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
    if (isVisible())
        place();
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Resize && isVisible())
        place();
    if (event->type() == QEvent::KeyPress && m_field) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_field && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && (key->modifiers() & Qt::ShiftModifier)) {
            findNewer();
            return true;
        }
        if (watched == m_field && key->key() == Qt::Key_Down && m_results->isVisible()) {
            m_results->setFocus(Qt::TabFocusReason);
            return true;
        }
        if (key->matches(QKeySequence::FindNext) && watched != m_view) {
            findOlder();
            return true;
        }
        if (key->matches(QKeySequence::FindPrevious) && watched != m_view) {
            findNewer();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

} // namespace zubrel
