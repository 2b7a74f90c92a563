#include "xmpppayload.h"

#include <gloox/tag.h>

namespace zubrel {

const char *XmppPayload::xmlns()
{
    return "urn:zubrel:chat:1";
}

XmppPayload::XmppPayload(const gloox::Tag *tag)
    : gloox::StanzaExtension(type)
{
    if (!tag || tag->name() != "zubrel" || tag->xmlns() != xmlns())
        return;
    qsizetype total = 0;
    for (const gloox::Tag *child : tag->children()) {
        const std::string &cdata = child->cdata();
        total += qsizetype(cdata.size());
        if (total > maxBytes)
            return; // oversized: treated as absent
        if (child->name() == "html") {
            html = QString::fromUtf8(cdata.data(), qsizetype(cdata.size()));
        } else if (child->name() == "picture") {
            if (pictures.size() >= maxPictures)
                return;
            // Anything but base64 is a malformed payload, not a picture.
            auto decoded = QByteArray::fromBase64Encoding(QByteArray::fromStdString(cdata),
                                                          QByteArray::AbortOnBase64DecodingErrors);
            if (!decoded)
                return;
            pictures.append(*decoded);
        } else if (child->name() == "random") {
            randomAction = QString::fromStdString(child->findAttribute("action")).left(16);
            randomChat = QString::fromStdString(child->findAttribute("chat")).left(32);
            randomAlias = QString::fromUtf8(child->findAttribute("alias").c_str()).left(256);
        } else if (child->name() == "nolog") {
            bool ok = false;
            noLogState = QString::fromStdString(child->findAttribute("state")).toInt(&ok);
            if (!ok || noLogState < 0 || noLogState > noLogRequest)
                return;
        }
    }
    valid = true;
}

const std::string &XmppPayload::filterString() const
{
    static const std::string filter = std::string("/message/zubrel[@xmlns='") + xmlns() + "']";
    return filter;
}

gloox::Tag *XmppPayload::tag() const
{
    auto *root = new gloox::Tag("zubrel");
    root->setXmlns(xmlns());
    if (!html.isEmpty() || !pictures.isEmpty())
        new gloox::Tag(root, "html", html.toStdString());
    for (const QByteArray &picture : pictures)
        new gloox::Tag(root, "picture", picture.toBase64().toStdString());
    if (!randomAction.isEmpty()) {
        auto *random = new gloox::Tag(root, "random", "action", randomAction.toStdString());
        random->addAttribute("chat", randomChat.toStdString());
        if (!randomAlias.isEmpty())
            random->addAttribute("alias", randomAlias.toStdString());
    }
    if (noLogState >= 0)
        new gloox::Tag(root, "nolog", "state", std::to_string(noLogState));
    return root;
}

} // namespace zubrel
