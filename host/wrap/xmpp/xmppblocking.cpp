#include "xmppblocking.h"

#include <gloox/tag.h>

namespace zubrel {

namespace {

const char *nameOf(XmppBlocking::Kind kind)
{
    switch (kind) {
    case XmppBlocking::List:
        return "blocklist";
    case XmppBlocking::Block:
        return "block";
    case XmppBlocking::Unblock:
        return "unblock";
    default:
        return "";
    }
}

constexpr int maxItems = 10000;

} // namespace

XmppBlocking::XmppBlocking(const gloox::Tag *tag)
    : gloox::StanzaExtension(type)
{
    if (!tag || tag->xmlns() != xmlns())
        return;
    for (Kind candidate : {List, Block, Unblock}) {
        if (tag->name() == nameOf(candidate))
            kind = candidate;
    }
    for (const gloox::Tag *item : tag->findChildren("item")) {
        if (jids.size() >= maxItems)
            break;
        const std::string &jid = item->findAttribute("jid");
        if (!jid.empty())
            jids.append(QString::fromStdString(jid));
    }
}

XmppBlocking::XmppBlocking(Kind kind, const QStringList &jids)
    : gloox::StanzaExtension(type), kind(kind), jids(jids)
{
}

const std::string &XmppBlocking::filterString() const
{
    static const std::string filter = "/iq/blocklist[@xmlns='urn:xmpp:blocking']"
                                      "|/iq/block[@xmlns='urn:xmpp:blocking']"
                                      "|/iq/unblock[@xmlns='urn:xmpp:blocking']";
    return filter;
}

gloox::Tag *XmppBlocking::tag() const
{
    auto *root = new gloox::Tag(nameOf(kind));
    root->setXmlns(xmlns());
    for (const QString &jid : jids)
        new gloox::Tag(root, "item", "jid", jid.toStdString());
    return root;
}

} // namespace zubrel
