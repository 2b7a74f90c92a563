#pragma once
// What a busy multi chat says about its participants on every join: the
// window title's alias list and the member block for the slideshow module.
// Both are kept as the card list grows, so one more participant costs one
// more entry instead of a walk over hundreds of cards. Anything else that
// changes the list (a card leaving, a renamed contact) makes the roster build
// itself again from the cards the next time it is asked.

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

    // Every card's alias (its id without one), in list order, ", " between.
    QString aliases();
    // One member block: the count (cards + the user), the user's id, then
    // every card's id in list order.
    void appendBlock(QList<ProtocolArg> &args, uint userId);

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
