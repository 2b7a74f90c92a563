#include "multichatroster.h"

#include "multichatwire.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"

namespace zubrel {

using namespace Internal;

namespace {

QString shownAlias(const ZContactCard *card)
{
    return card->alias().isEmpty() ? card->zubrelId() : card->alias();
}

} // namespace

MultichatRoster::MultichatRoster(ZChatTab *tab)
    : QObject(tab)
    , m_list(tab->cardList)
{
}

MultichatRoster *MultichatRoster::of(ZChatTab *tab)
{
    if (auto *roster = tab->findChild<MultichatRoster *>(QString(), Qt::FindDirectChildrenOnly))
        return roster;
    return new MultichatRoster(tab); // owned by the tab
}

void MultichatRoster::cardAdded(ZContactCard *card)
{
    // Only the card that makes the list one longer extends what is known;
    // anything else is found out by rebuildIfStale().
    if (!m_valid || !card || m_count + 1 != m_list->size() || m_list->card(int(m_count)) != card)
        return invalidate();
    if (m_count > 0)
        m_aliases += QLatin1String(", ");
    m_aliases += shownAlias(card);
    m_ids.append(ProtocolArg(6, memberField, card->zubrelId()));
    ++m_count;
}

void MultichatRoster::rebuildIfStale()
{
    if (m_valid && m_count == m_list->size())
        return;
    m_count = m_list->size();
    QStringList aliases;
    aliases.reserve(m_count);
    m_ids.clear();
    m_ids.reserve(m_count);
    for (int i = 0; i < m_count; ++i) {
        const ZContactCard *card = m_list->card(i);
        aliases.append(shownAlias(card));
        m_ids.append(ProtocolArg(6, memberField, card->zubrelId()));
    }
    m_aliases = aliases.join(QLatin1String(", "));
    m_valid = true;
}

QString MultichatRoster::aliases()
{
    rebuildIfStale();
    return m_aliases;
}

void MultichatRoster::appendBlock(QList<ProtocolArg> &args, uint userId)
{
    rebuildIfStale();
    args.append(ProtocolArg(4, memberCountField, int(m_count + 1)));
    args.append(ProtocolArg(6, memberField, userId));
    args.append(m_ids);
}

} // namespace zubrel
