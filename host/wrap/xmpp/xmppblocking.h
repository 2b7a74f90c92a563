#pragma once
// The server-side block list (XEP-0191, "blocking command"): the query,
// the server's answer and pushes, and block or unblock requests, as a gloox
// stanza extension. Blocked JIDs cannot send to the user at all.

#include <QStringList>
#include <gloox/stanzaextension.h>

namespace zubrel {

class XmppBlocking : public gloox::StanzaExtension
{
public:
    enum Kind { List, Block, Unblock, Invalid };
    static constexpr int type = gloox::ExtUser + 42;
    static const char *xmlns() { return "urn:xmpp:blocking"; }

    explicit XmppBlocking(const gloox::Tag *tag = nullptr);
    XmppBlocking(Kind kind, const QStringList &jids);

    Kind kind = Invalid;
    QStringList jids;

    const std::string &filterString() const override;
    gloox::StanzaExtension *newInstance(const gloox::Tag *tag) const override { return new XmppBlocking(tag); }
    gloox::Tag *tag() const override;
    gloox::StanzaExtension *clone() const override { return new XmppBlocking(*this); }
};

} // namespace zubrel
