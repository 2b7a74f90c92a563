#include "multichatroster.h"

#include "multichatwire.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"

#include <QHelpEvent>
#include <QToolTip>

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
    m_list->installEventFilter(this); // the whole list as tool tip
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

QString MultichatRoster::titleAliases()
{
    rebuildIfStale();
    if (m_aliases.size() <= titleLength)
        return m_aliases;
    // Whole aliases, unless the first alone is too long for the title.
    const qsizetype cut = m_aliases.lastIndexOf(QLatin1String(", "), titleLength);
    const QString shown = m_aliases.left(cut > 0 ? cut : titleLength);
    // Everyone in the chat, the user included, as in the member block.
    return tr("%1, \u2026 (%n members)", nullptr, int(m_count + 1)).arg(shown);
}

bool MultichatRoster::eventFilter(QObject *watched, QEvent *event)
{
    // Asked for where nothing on the column has a tip of its own.
    if (watched != m_list || event->type() != QEvent::ToolTip || aliases().size() <= titleLength)
        return QObject::eventFilter(watched, event);
    // Rich text wraps instead of running off the screen in one line.
    QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
                       QStringLiteral("<p>%1</p>").arg(m_aliases.toHtmlEscaped()), m_list);
    return true;
}

void MultichatRoster::appendBlock(QList<ProtocolArg> &args, uint userId)
{
    rebuildIfStale();
    args.append(ProtocolArg(4, memberCountField, int(m_count + 1)));
    args.append(ProtocolArg(6, memberField, userId));
    args.append(m_ids);
}

} // namespace zubrel
