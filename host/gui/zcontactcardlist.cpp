#include "zcontactcardlist.h"

#include "zcontactcard.h"

#include <QEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace zubrel {

ZContactCardList::ZContactCardList(QWidget *parent)
    : QScrollArea(parent)
{
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);

    m_container = new QWidget;
    m_layout = new QVBoxLayout(m_container);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(2);
    m_addButton = new QPushButton(tr("Add contact(s)"), m_container);
    m_addButton->setObjectName(QStringLiteral("addContact"));
    m_addButton->setFlat(true);
    m_addButton->setFocusPolicy(Qt::NoFocus);
    m_addButton->hide();
    connect(m_addButton, &QPushButton::clicked, this, &ZContactCardList::addContact);
    m_layout->addWidget(m_addButton);
    m_layout->addStretch(1);
    setWidget(m_container);
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
    // Cards go above the add button and the closing stretch.
    m_layout->insertWidget(m_cards.size() - 1, card);
    card->installEventFilter(this);
    card->show();
    // A card deleted by someone else must not stay behind as a dangling entry.
    connect(card, &QObject::destroyed, this, &ZContactCardList::forget);
    emit added(card);
}

void ZContactCardList::removeCard(ZContactCard *card)
{
    const int index = indexOf(card);
    if (index < 0)
        return;
    m_cards.removeAt(index);
    disconnect(card, &QObject::destroyed, this, &ZContactCardList::forget);
    card->removeEventFilter(this);
    m_layout->removeWidget(card);
    card->hide();
    card->deleteLater();
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
    int n = 0;
    for (const auto &card : m_cards)
        n += card ? 1 : 0;
    return n;
}

void ZContactCardList::enableAddContact(bool enable)
{
    m_addContactEnabled = enable;
    if (m_addButton)
        m_addButton->setVisible(enable);
}

bool ZContactCardList::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (auto *card = qobject_cast<ZContactCard *>(watched))
            setCurrentCard(card);
    }
    return QScrollArea::eventFilter(watched, event);
}

} // namespace zubrel
