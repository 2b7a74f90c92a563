#pragma once
// What a message carries besides its plain body, in a namespace of our own
// that other XMPP clients ignore: the HTML the module produced (with its
// numbered picture references) and the pictures themselves, base64. Also a
// private-session state when the message is one of those notices.

#include <QByteArray>
#include <QList>
#include <QString>
#include <gloox/stanzaextension.h>

namespace zubrel {

class XmppPayload : public gloox::StanzaExtension
{
public:
    static constexpr int type = gloox::ExtUser + 41;
    static const char *xmlns();
    // Bounds on what is read from the network: larger payloads are ignored.
    static constexpr int maxPictures = 32;
    static constexpr qsizetype maxBytes = 256 * 1024;

    explicit XmppPayload(const gloox::Tag *tag = nullptr);

    QString html;
    QList<QByteArray> pictures;
    // Private sessions: 0 off, 1 on, noLogRequest a proposal to start or
    // end one; -1: not a private-session notice.
    static constexpr int noLogRequest = 2;
    int noLogState = -1;
    // Random chats, between a user and the matchmaker: what happens
    // ("search", "waiting", "matched", "message", "typing", "quit"), in
    // which random chat, and the alias the other side goes by.
    QString randomAction;
    QString randomChat;
    QString randomAlias;
    bool valid = false;  // false: absent or malformed on receipt

    const std::string &filterString() const override;
    gloox::StanzaExtension *newInstance(const gloox::Tag *tag) const override { return new XmppPayload(tag); }
    gloox::Tag *tag() const override;
    gloox::StanzaExtension *clone() const override { return new XmppPayload(*this); }
};

} // namespace zubrel
