// Private sessions: both partners of a one-to-one chat agree that nothing is
// written to the chat log while the session lasts. Either side proposes
// (or proposes to end it); the other answers with the state both then hold.

#include "chat.h"

#include "chatargs.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zmessagebox.h"
#include "zplatform.h"

namespace zubrel {

namespace {

constexpr DataField partnerField = 9;
constexpr DataField stateField = 631;

QString title()
{
    return Chat::tr("Private Session");
}

// The state travels as a bool; a number 0 or 1 is taken as one, text is not.
bool readState(const Protocol &protocol, int index, bool *state)
{
    if (!protocol.hasArg(index))
        return false;
    const QVariant value = protocol.arg(index).variant();
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        *state = value.toBool();
        return true;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        if (value.toLongLong() != 0 && value.toLongLong() != 1)
            return false;
        *state = value.toLongLong() == 1;
        return true;
    default:
        return false;
    }
}

QString shownName(const ZContactCard *card, const QString &id)
{
    return card && !card->alias().isEmpty() ? card->alias() : id;
}

} // namespace

void Chat::sendPrivateSessionState(const QString &partner, bool active)
{
    Protocol protocol(ProtocolCommand(4, 0x0005));
    protocol.addArg(ProtocolArg(6, partnerField, partner));
    protocol.addArg(ProtocolArg(2, stateField, active));
    sendFireAndForget(protocol);
}

void Chat::proposePrivateSession(ZChat *window, ZChatTab *tab)
{
    if (tab->multichat || tab->randomChat)
        return; // only two people can agree on it
    const ZContactCard *partner = partnerCard(tab);
    if (!partner)
        return;
    if (partner->status() == Zr::Offline) {
        ZMessageBox::information(window, title(), tr("A private session is only possible with online contacts."));
        return;
    }
    const QString id = partner->zubrelId();
    // The question runs an event loop in which the chat may close.
    QPointer<ZChatTab> guard(tab);
    const QString question = tab->noLog
        ? tr("Would you like to cancel the private session?")
        : tr("All participants must agree before taking part in a private chat session.\n"
             "Only then, will none of the chat sessions be logged.\n\n"
             "Would you like to send a request to all participants?");
    if (ZMessageBox::question(window, title(), question) != QMessageBox::Yes || !guard)
        return;

    Protocol protocol(ProtocolCommand(4, 0x0004));
    protocol.addArg(ProtocolArg(6, partnerField, id));
    QPointer<Request> request = helper()->createRequest(protocol, nullptr);
    if (!request)
        return;
    noLogProposals.removeAll(QPointer<ZChatTab>()); // tabs closed meanwhile
    noLogProposals.append(guard);
    connect(request, &Request::onSuccess, this, &Chat::slotMsgSuccess);
    // A proposal that never reached the partner is no longer outstanding.
    connect(request, &Request::onFailed, this, [this, guard](Request *failed) {
        noLogProposals.removeAll(guard);
        slotMsgFailed(failed);
    });
    helper()->sendRequest(request);
}

void Chat::slotNoLogRequest(RequestHandler *, Request *request)
{
    QString id;
    const bool usable = Internal::readContactId(*request->protocol(), 0, &id);
    answer(request);
    if (!usable)
        return;

    newChat(id);
    ZChat *window = chatWindow(id);
    QPointer<ZChatTab> tab = firstTab(window);
    if (!tab)
        return;
    window->showNormal();
    ZPlatform::instance()->raiseAndActivate(window);

    const QString name = shownName(partnerCard(tab), id);
    const bool wasOn = tab->noLog;
    const QString question = wasOn
        ? tr("%1 would like to cancel the private chat with you.\n\nWould you like to accept?").arg(name)
        : tr("%1 would like to have a private chat with you, without saving the chat log.\n\n"
             "Would you like to accept?")
              .arg(name);
    const bool yes = ZMessageBox::question(window, title(), question) == QMessageBox::Yes;
    bool active = wasOn ? !yes : yes;
    // Closed while asking: nothing is left that could keep the session.
    if (tab)
        tab->setPrivateSession(active);
    else
        active = false;
    noLogProposals.removeAll(tab);
    sendPrivateSessionState(id, active);
}

void Chat::slotNoLogResponse(RequestHandler *, Request *request)
{
    QString id;
    bool state = false;
    const bool usable = Internal::readContactId(*request->protocol(), 0, &id)
                        && readState(*request->protocol(), 1, &state);
    answer(request);
    if (!usable)
        return;
    ZChat *window = chatWindow(id);
    QPointer<ZChatTab> tab = firstTab(window);
    if (!tab)
        return; // no chat with this contact: nothing to switch

    const bool wasOn = tab->noLog;
    QString text;
    if (wasOn)
        text = state ? tr("Your private session was not canceled.") : tr("Your private session has been canceled.");
    else
        text = state ? tr("Your private session has been created.") : tr("Your private session was not established.");
    // Logging stops only when this tab asked for it: a state nobody here
    // proposed must not silently end the log.
    const bool proposed = noLogProposals.contains(tab);
    noLogProposals.removeAll(tab);
    ZMessageBox::information(window, title(), text);
    if (tab && (!state || wasOn || proposed))
        tab->setPrivateSession(state);
}

} // namespace zubrel
