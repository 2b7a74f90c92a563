// The two action dispatchers: the chat window's commands (menus, toolbar,
// closing) and the contact cards' menu entries, each turned into a local
// effect, a question or one command to the host. Multi chat and random chat
// branches hand over to their own files.

#include "chat.h"

#include "wrappluginhelper.h"
#include "zchat.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zplatform.h"

namespace zubrel {

namespace {

constexpr ushort slideshowModule = 40;

// Argument fields of the host commands.
constexpr DataField contactField = 1;
constexpr DataField partnerField = 9;
constexpr DataField fileCountField = 126;
constexpr DataField shakeCodeField = 673;
constexpr DataField peopleField = 652;
constexpr DataField memberField = 653;
constexpr DataField screenshotField = 720;
constexpr DataField screenshotModeField = 657;
// Type 0x20 is text the host reads as a display string: the voice-call
// request takes the id in that form, unlike every other host command.
constexpr DataType textType = 0x20;

bool isModuleAction(const QString &id)
{
    return id == QLatin1String("slideshow") || id == QLatin1String("screennow")
           || id == QLatin1String("screentimer") || id == QLatin1String("screenselect");
}

// Host requests about one contact: (a, b) with the id, and for a file
// transfer an empty file list.
struct ContactCommand
{
    const char *id;
    ushort a;
    ushort b;
    DataType idType;
    bool withEmptyFileList;
};

const ContactCommand windowCommands[] = {
    {"filetransfer", 1, 0x0015, 6, true},
    {"webfolder", 1, 0xF101, 6, false},
    {"voip", 1, 0xF100, textType, false},
    {"history", 1, 0xF186, 6, false},
};

const ContactCommand cardCommands[] = {
    {"profile", 1, 0xF00D, 6, false},
    {"block", 1, 0x0021, 6, false},
    {"unblock", 1, 0x0020, 6, false},
    {"voip", 1, 0xF100, textType, false},
    {"filetransfer", 1, 0x0015, 6, true},
    {"webfolder", 1, 0xF101, 6, false},
};

template<std::size_t N>
const ContactCommand *findCommand(const ContactCommand (&table)[N], const QString &id)
{
    for (const ContactCommand &command : table) {
        if (id == QLatin1String(command.id))
            return &command;
    }
    return nullptr;
}

void buildContactCommand(Protocol &protocol, const ContactCommand &command, const QString &contact)
{
    protocol.setCommand(ProtocolCommand(command.a, command.b));
    protocol.addArg(ProtocolArg(command.idType, contactField, contact));
    if (command.withEmptyFileList)
        protocol.addArg(ProtocolArg(6, fileCountField, 0));
}

} // namespace

void Chat::addMemberBlock(Protocol &protocol, const ZChatTab *tab)
{
    const int others = tab->cardList->size();
    protocol.addArg(ProtocolArg(4, peopleField, others + 1));
    protocol.addArg(ProtocolArg(6, memberField, tab->ownCard->zubrelId()));
    for (int i = 0; i < others; ++i) {
        if (const ZContactCard *card = tab->cardList->card(i))
            protocol.addArg(ProtocolArg(6, memberField, card->zubrelId()));
    }
}

ZChatTab *Chat::owningTab(const QObject *card)
{
    for (QObject *parent = card ? card->parent() : nullptr; parent; parent = parent->parent()) {
        if (auto *tab = qobject_cast<ZChatTab *>(parent))
            return tab;
    }
    return nullptr;
}

void Chat::sendChatAction(const QString &id, Protocol &protocol)
{
    QPointer<Request> request = helper()->createRequest(protocol, nullptr);
    if (!request)
        return;
    if (id == QLatin1String("slideshow"))
        connect(request, &Request::onSuccess, this, qOverload<Request *>(&Chat::slotSlideshow));
    else
        connect(request, &Request::onSuccess, this, &Chat::slotMsgSuccess);
    // A failed slideshow or screenshot request places no window: forget the
    // chat it was meant for.
    if (isModuleAction(id))
        connect(request, &Request::onFailed, this, &Chat::slotSlideshowFailed);
    else
        connect(request, &Request::onFailed, this, &Chat::slotMsgFailed);
    if (isModuleAction(id))
        helper()->sendRequestToModule(request, slideshowModule);
    else
        helper()->sendRequest(request);
}

void Chat::slotChatAction(QString id)
{
    auto *window = qobject_cast<ZChat *>(sender());
    ZChatTab *tab = firstTab(window);
    if (!tab)
        return;
    const QString partner = tab->cardList->size() > 0 ? partnerId(tab) : QString();

    if (id == QLatin1String("add")) {
        startMultichat(tab);
        return;
    }
    if (id == QLatin1String("exit")) {
        window->close(); // a close already under way is not repeated
        return;
    }
    if (id == QLatin1String("exitmc")) {
        leaveMultichat(tab);
        return;
    }
    if (id == QLatin1String("exitrc")) {
        quitRandomChat(tab);
        return;
    }
    if (id == QLatin1String("log")) {
        proposePrivateSession(window, tab);
        return;
    }

    if (id == QLatin1String("exitnolog")) {
        // The window is closing during a private session: tell the partner
        // it ends, without asking.
        if (!partner.isEmpty())
            sendPrivateSessionState(partner, false);
        return;
    }

    Protocol protocol;
    if (id == QLatin1String("shake")) {
        if (partner.isEmpty())
            return;
        protocol.setCommand(ProtocolCommand(4, 0x0015));
        protocol.addArg(ProtocolArg(6, partnerField, partner));
        protocol.addArg(ProtocolArg(6, shakeCodeField, 1));
    } else if (isModuleAction(id)) {
        const bool slideshow = id == QLatin1String("slideshow");
        protocol.setCommand(ProtocolCommand(slideshowModule, slideshow ? 0xF160 : 0xF165));
        addMemberBlock(protocol, tab);
        if (!slideshow) {
            const int mode = id == QLatin1String("screennow") ? 0 : id == QLatin1String("screentimer") ? 1 : 2;
            protocol.addArg(ProtocolArg(2, screenshotField, 0));
            protocol.addArg(ProtocolArg(2, screenshotModeField, mode));
        }
        slideshowWindow = window;
    } else if (const ContactCommand *command = findCommand(windowCommands, id)) {
        if (partner.isEmpty())
            return; // a host request about nobody
        buildContactCommand(protocol, *command, partner);
    } else {
        return; // not a window command
    }
    sendChatAction(id, protocol);
}

void Chat::slotCardAction(QString id)
{
    QPointer<ZContactCard> card = qobject_cast<ZContactCard *>(sender());
    if (!card)
        return;
    const QString contact = card->zubrelId();
    if (contact.isEmpty())
        return;

    if (id == QLatin1String("exit")) {
        // The tab that shows the card decides: a multi chat kicks the
        // participant, a one-to-one chat closes, whatever else is open.
        ZChatTab *tab = owningTab(card);
        if (!tab)
            return;
        if (tab->multichat)
            kickFromMultichat(tab, contact);
        else if (QWidget *window = tab->window(); window && window != tab)
            window->close();
        return;
    }
    if (id == QLatin1String("chat")) {
        newChat(contact);
        if (ZChat *window = chatWindow(contact)) {
            window->showNormal();
            ZPlatform::instance()->raiseAndActivate(window);
        }
        return;
    }

    Protocol protocol;
    if (id == QLatin1String("auth")) {
        protocol.setCommand(ProtocolCommand(1, 0xF180));
        protocol.addArg(ProtocolArg(6, contactField, contact));
        protocol.addArg(ProtocolArg(textType, 0, card->alias()));
    } else if (const ContactCommand *command = findCommand(cardCommands, id)) {
        buildContactCommand(protocol, *command, contact);
    } else {
        return; // an entry the host added for itself
    }
    sendFireAndForget(protocol);
}

} // namespace zubrel
