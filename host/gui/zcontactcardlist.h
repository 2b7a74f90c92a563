#pragma once
// Vertical, scrollable column of contact cards (the participants of a chat).
// The list owns the cards it holds: removeCard() disposes of the card. The
// current card is the one last clicked, else the first. Cards are stacked by
// hand rather than by a box layout, so adding one to a column of hundreds
// (a busy multi chat) places only that card. Cards made to wait for being
// seen (ZContactCard::WaitUntilSeen) get their labels when they first come
// into view.

#include <QList>
#include <QPointer>
#include <QScrollArea>

#include <QPushButton>
#include <QVBoxLayout>

namespace zubrel {

class ZContactCard;

class ZContactCardList : public QScrollArea
{
    Q_OBJECT
public:
    explicit ZContactCardList(QWidget *parent = nullptr);
    ~ZContactCardList() override;

    // Adding a card twice or a null card does nothing.
    void addCard(ZContactCard *card);
    // Takes the card out and deletes it once control returns to the event
    // loop (the card may be the sender of the signal that led here).
    void removeCard(ZContactCard *card);
    ZContactCard *card(int index) const;
    int indexOf(const ZContactCard *card) const;
    ZContactCard *currentCard() const;
    void setCurrentCard(ZContactCard *card);
    int size() const;

    void enableAddContact(bool enable);
    bool isAddContactEnabled() const { return m_addContactEnabled; }
    QPushButton *addContactButton() const { return m_addButton; }

signals:
    void addContact();
    void added(zubrel::ZContactCard *card);
    void currentChanged(zubrel::ZContactCard *card);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void forget(QObject *card);
    // Stacks the cards from index on, and the add button below them.
    void restack(int from);
    void placeButton();
    QSize cardSize(const ZContactCard *card) const;
    // The part of the column the viewport shows, in the column's coordinates.
    QRect shownArea() const;
    void buildCardsInView();

    QList<QPointer<ZContactCard>> m_cards;
    QPointer<ZContactCard> m_current;
    QPointer<QWidget> m_container;
    int m_bottom = 0; // where the next card goes
    QPointer<QPushButton> m_addButton;
    bool m_addContactEnabled = false;
};

} // namespace zubrel
