#pragma once
// What a busy multi chat says about its participants on every join: the
// window title's alias list and the member block for the slideshow module.
// Both are kept as the card list grows, so one more participant costs one
// more entry instead of a walk over hundreds of cards. Anything else that
// changes the list (a card leaving, a renamed contact) makes the roster build
// itself again from the cards the next time it is asked.
//
// A title bar shows a few dozen characters: the title names participants up
// to titleLength characters, then "…" and how many take part; the column of
// cards shows the whole list as its tool tip, put together only when asked.

#include <QList>
#include <QObject>
#include <QString>

#include "protocolarg.h"

class Protocol;

namespace zubrel {

class ZChatTab;
class ZContactCard;
class ZContactCardList;

class MultichatRoster : public QObject
{
    Q_OBJECT
public:
    // The roster of a tab, made (owned by the tab) on first use.
    static MultichatRoster *of(ZChatTab *tab);

    // The card just added at the end of the list.
    void cardAdded(ZContactCard *card);
    void invalidate() { m_valid = false; }

    static constexpr qsizetype titleLength = 80;

    // Every card's alias (its id without one), in list order, ", " between.
    QString aliases();
    // The aliases as the window title shows them.
    QString titleAliases();
    // One member block: the count (cards + the user), the user's id, then
    // every card's id in list order.
    void appendBlock(QList<ProtocolArg> &args, uint userId);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit MultichatRoster(ZChatTab *tab);
    void rebuildIfStale();

    ZContactCardList *m_list = nullptr; // the tab's, lives as long as the roster
    bool m_valid = false;
    qsizetype m_count = 0;
    QString m_aliases;
    QList<ProtocolArg> m_ids;
};

} // namespace zubrel
