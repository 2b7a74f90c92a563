#include "zcontactcardlist.h"

#include "zcontactcard.h"

#include <QEvent>
#include <QResizeEvent>
#include <QScrollBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace zubrel {

namespace {
constexpr int spacing = 2;
}

ZContactCardList::ZContactCardList(QWidget *parent)
    : QScrollArea(parent)
{
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);

    m_container = new QWidget;
    m_container->installEventFilter(this); // widths follow the column's width
    // Growing by a card repaints only the new strip (below the visible part
    // as a rule), not every visible card and what lies under them.
    m_container->setAttribute(Qt::WA_StaticContents);
    // The bar paints all of itself: a range change (every card added)
    // repaints only the bar, not the window's layers underneath it.
    verticalScrollBar()->setAttribute(Qt::WA_OpaquePaintEvent);
    m_addButton = new QPushButton(tr("Add contact(s)"), m_container);
    m_addButton->setObjectName(QStringLiteral("addContact"));
    m_addButton->setFlat(true);
    m_addButton->setFocusPolicy(Qt::NoFocus);
    m_addButton->hide();
    connect(m_addButton, &QPushButton::clicked, this, &ZContactCardList::addContact);
    setWidget(m_container);
    placeButton();
}

ZContactCardList::~ZContactCardList()
{
    // The cards are children of the list and die in QWidget's destructor,
    // after this object's members are gone: their destroyed() must not reach
    // forget() any more.
    for (const auto &card : std::as_const(m_cards)) {
        if (card)
            disconnect(card, &QObject::destroyed, this, &ZContactCardList::forget);
    }
}

void ZContactCardList::addCard(ZContactCard *card)
{
    if (!card || indexOf(card) >= 0)
        return;
    m_cards.append(card);
    card->setParent(m_container);
    card->installEventFilter(this);
    // A card deleted by someone else must not stay behind as a dangling entry.
    connect(card, &QObject::destroyed, this, &ZContactCardList::forget);
    // Listeners size and fill the card before it is first laid out and
    // shown, so each card is laid out once.
    const QPointer<ZContactCard> added(card);
    emit this->added(card);
    if (!added || indexOf(card) < 0)
        return;
    // Cards go above the add button: only the new card and the button move.
    const QSize size = cardSize(card);
    card->setGeometry(0, m_bottom, size.width(), size.height());
    m_bottom += size.height() + spacing;
    placeButton();
    card->show();
    if (card->geometry().intersects(shownArea()))
        card->buildParts();
}

void ZContactCardList::removeCard(ZContactCard *card)
{
    const int index = indexOf(card);
    if (index < 0)
        return;
    m_cards.removeAt(index);
    disconnect(card, &QObject::destroyed, this, &ZContactCardList::forget);
    card->removeEventFilter(this);
    card->hide();
    card->deleteLater();
    restack(index);
    if (m_current == card) {
        m_current = nullptr;
        emit currentChanged(currentCard());
    }
}

void ZContactCardList::forget(QObject *card)
{
    m_cards.removeIf([card](const QPointer<ZContactCard> &entry) {
        return entry.isNull() || static_cast<QObject *>(entry.data()) == card;
    });
    restack(0);
}

QSize ZContactCardList::cardSize(const ZContactCard *card) const
{
    // The column's width, within what the card accepts.
    const int width = m_container ? qMax(m_container->width(), viewport()->width()) : 0;
    // A card of fixed height needs no layout pass to know it.
    if (card->minimumHeight() == card->maximumHeight())
        return QSize(qBound(card->minimumWidth(), width, card->maximumWidth()), card->minimumHeight());
    const QSize hint = card->sizeHint().expandedTo(card->minimumSize()).boundedTo(card->maximumSize());
    return QSize(qBound(card->minimumWidth(), width, card->maximumWidth()), hint.height());
}

void ZContactCardList::restack(int from)
{
    int y = 0;
    if (from > 0 && from <= m_cards.size() && m_cards.at(from - 1))
        y = m_cards.at(from - 1)->geometry().bottom() + 1 + spacing;
    else
        from = 0;
    for (int i = from; i < m_cards.size(); ++i) {
        ZContactCard *card = m_cards.at(i);
        if (!card)
            continue;
        const QSize size = cardSize(card);
        card->setGeometry(0, y, size.width(), size.height());
        y += size.height() + spacing;
    }
    m_bottom = y;
    placeButton();
    buildCardsInView();
}

QRect ZContactCardList::shownArea() const
{
    return m_container ? QRect(-m_container->pos(), viewport()->size()) : QRect();
}

void ZContactCardList::buildCardsInView()
{
    const QRect shown = shownArea();
    // Stacked top to bottom: the cards below the view end the walk.
    for (const auto &card : std::as_const(m_cards)) {
        if (!card)
            continue;
        if (card->y() > shown.bottom())
            break;
        if (card->geometry().intersects(shown))
            card->buildParts();
    }
}

void ZContactCardList::scrollContentsBy(int dx, int dy)
{
    QScrollArea::scrollContentsBy(dx, dy);
    buildCardsInView();
}

void ZContactCardList::resizeEvent(QResizeEvent *event)
{
    QScrollArea::resizeEvent(event);
    buildCardsInView();
}

void ZContactCardList::placeButton()
{
    if (!m_container || !m_addButton)
        return;
    const int buttonHeight = m_addButton->isVisibleTo(m_container) ? m_addButton->sizeHint().height() : 0;
    m_addButton->setGeometry(0, m_bottom, m_container->width(), m_addButton->sizeHint().height());
    m_container->setMinimumHeight(m_bottom + buttonHeight);
}

ZContactCard *ZContactCardList::card(int index) const
{
    return index >= 0 && index < m_cards.size() ? m_cards.at(index).data() : nullptr;
}

int ZContactCardList::indexOf(const ZContactCard *card) const
{
    if (!card)
        return -1;
    for (int i = 0; i < m_cards.size(); ++i) {
        if (m_cards.at(i) == card)
            return i;
    }
    return -1;
}

ZContactCard *ZContactCardList::currentCard() const
{
    if (m_current && indexOf(m_current) >= 0)
        return m_current;
    for (const auto &card : m_cards) {
        if (card)
            return card;
    }
    return nullptr;
}

void ZContactCardList::setCurrentCard(ZContactCard *card)
{
    if (indexOf(card) < 0 || m_current == card)
        return;
    m_current = card;
    emit currentChanged(card);
}

int ZContactCardList::size() const
{
    // forget() drops entries of cards deleted elsewhere, so the list holds
    // only live cards: no count per call (every message of a busy group
    // asks).
    return int(m_cards.size());
}

void ZContactCardList::enableAddContact(bool enable)
{
    m_addContactEnabled = enable;
    if (m_addButton)
        m_addButton->setVisible(enable);
    placeButton();
}

bool ZContactCardList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_container && event->type() == QEvent::Resize
        && static_cast<QResizeEvent *>(event)->oldSize().width() != m_container->width())
        restack(0);
    if (event->type() == QEvent::MouseButtonPress) {
        if (auto *card = qobject_cast<ZContactCard *>(watched))
            setCurrentCard(card);
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace zubrel
