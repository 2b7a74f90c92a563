// Multi chats the user drives: starting one from a one-to-one chat (the
// picker, the topic, the waiting window, the create answer and the
// invitations that follow it), inviting more people, leaving and kicking.

#include "chat.h"

#include <QIcon>
#include <QPointer>
#include <QTextDocument>

#include "contactdialog.h"
#include "multichatopen.h"
#include "multichatwire.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "historypager.h"
#include "zchatlogger.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zmessagebox.h"
#include "ztextedit.h"
#include "zresourceicon.h"

namespace zubrel {

using namespace Internal;

QString Chat::pendingMultichatKey;
QStringList Chat::pendingInvitees;

namespace {

QStringList participantIds(const ZChatTab *tab)
{
    QStringList ids;
    for (int i = 0; i < tab->cardList->size(); ++i)
        ids.append(tab->cardList->card(i)->zubrelId());
    return ids;
}

ZChat *windowOf(ZChatTab *tab)
{
    return qobject_cast<ZChat *>(tab->window());
}

} // namespace

void Chat::abandonPendingCreation()
{
    if (!pendingMultichatKey.isEmpty())
        multichats.remove(pendingMultichatKey);
    pendingMultichatKey.clear();
    pendingInvitees.clear();
    m_pendingCreate = 0;
}

void Chat::startMultichat(ZChatTab *tab)
{
    if (!tab)
        return;
    if (tab->multichat) {
        inviteMore(tab);
        return;
    }
    // One creation at a time: a second one would overwrite the first's key
    // and hand its invitees to the wrong chat.
    if (!pendingMultichatKey.isEmpty()) {
        if (multichatWindow(pendingMultichatKey)) {
            tab->appendSystemMessage(tr("Another Multi Chat is still being opened. Please try again when it is ready."));
            return;
        }
        abandonPendingCreation(); // its window is gone
    }
    QPointer<ZChatTab> guard = tab;
    QPointer<ZChat> window = windowOf(tab);
    const QStringList present = participantIds(tab);
    const QStringList chosen = ContactDialog::getContacts(false, present, window);
    if (chosen.isEmpty() || !guard || !window)
        return;
    const QString topicHtml = MultichatOpen::topic(window);
    if (topicHtml.isEmpty() || !guard || !window || tab->multichat || !pendingMultichatKey.isEmpty())
        return;
    QTextDocument document;
    document.setHtml(topicHtml);
    const QString topic = document.toPlainText();

    pendingInvitees = participantIds(tab) + chosen;
    const QString partner = partnerId(tab);
    while (ZContactCard *card = tab->cardList->card(0)) {
        cards.removeIf([card](const auto &entry) { return entry.value() == card; });
        tab->cardList->removeCard(card);
    }
    tab->setMultiChat(true);
    tab->setMultiChatOwner(true);
    tab->clearView();
    tab->appendSystemMessage(tr("Waiting for other contact(s) to join."));
    tab->input->setReadOnly(true);
    window->setupMultiChatMenu();
    window->setWindowIcon(ZResourceIcon::get(QStringLiteral(":/multichat-32")));
    window->setWindowTitle(tr("Waiting for other contact(s) to join."));
    window->setProperty("zubrelMultichatTopic", topic);

    if (chats.value(partner) == window)
        chats.remove(partner);
    multichats.insert(partner, window);
    pendingMultichatKey = partner;
    // Closing the waiting window ends the creation: its answer is ignored.
    // (Connected before the registry clean-up, which would hide the match.)
    const QPointer<ZChat> waiting = window;
    connect(window, &ZChat::hid, this, [this, waiting] {
        if (!pendingMultichatKey.isEmpty() && multichats.value(pendingMultichatKey) == waiting)
            abandonPendingCreation();
    });
    forgetMultichatOnClose(window);

    Protocol create(ProtocolCommand(4, 0x0006));
    create.addArg(ProtocolArg(0x20, topicField, topic));
    create.addArg(ProtocolArg(2, createFlagField, 1));
    QPointer<Request> request = helper()->createRequest(create, nullptr);
    if (!request)
        return;
    m_pendingCreate = request->id();
    connect(request, &Request::onSuccess, this, &Chat::slotMultichat);
    connect(request, &Request::onFailed, this, &Chat::slotMsgFailed);
    helper()->sendRequest(request);
}

void Chat::slotMultichat(Request *request)
{
    const bool ours = m_pendingCreate != 0 && request->id() == m_pendingCreate;
    ZChat *window = ours ? multichatWindow(pendingMultichatKey) : nullptr;
    ZChatTab *tab = firstTab(window);
    QString key;
    quint32 id = 0;
    const Protocol &response = *request->response();
    // Answers for a window closed meanwhile, or without a usable id, open
    // nothing and invite nobody.
    if (!tab || !readMultichatId(response, 0, &id, &key)
        || (multichatWindow(key) && multichatWindow(key) != window)) {
        if (ours && !tab)
            abandonPendingCreation();
        helper()->freeRequest(request);
        return;
    }
    QString session;
    readText(response, 1, &session);
    const ushort server = response.command().applicationServerId();

    multichats.remove(pendingMultichatKey);
    pendingMultichatKey.clear();
    m_pendingCreate = 0;
    multichats.insert(key, window);
    if (ZChatLogger *logger = createLogger(QStringLiteral("0"), tab, MultiChatLog)) {
        multichatLoggers.insert(tab, logger);
        (new HistoryPager(tab, logger))->startAfterLogged();
    }
    tab->multichatId = id;
    multichatInfo.insert(key, {key, session, QString::number(server)});

    const QStringList invitees = pendingInvitees;
    pendingInvitees.clear();
    for (const QString &invitee : invitees)
        sendInvitation(invitee, key, server);
    helper()->freeRequest(request);
}

void Chat::sendInvitation(const QString &invitee, const QVariant &idValue, ushort server)
{
    ProtocolCommand command(4, 0x000B);
    command.setApplicationServerId(server);
    Protocol invite(command);
    invite.addArg(ProtocolArg(6, inviteeField, invitee));
    invite.addArg(ProtocolArg(6, multichatIdField, idValue));
    sendFireAndForget(invite);
}

void Chat::inviteMore(ZChatTab *tab)
{
    QString key;
    ushort server = 0;
    if (!pendingMultichatKey.isEmpty() && multichatWindow(pendingMultichatKey) == windowOf(tab)) {
        tab->appendSystemMessage(tr("Another Multi Chat is still being opened. Please try again when it is ready."));
        return;
    }
    if (!sessionOf(tab, &key, &server))
        return; // closed, or ended by going offline: nobody can be invited
    QPointer<ZChatTab> guard = tab;
    const QStringList chosen = ContactDialog::getContacts(false, participantIds(tab), windowOf(tab));
    // The session may have ended while the picker was open.
    if (!guard || !sessionOf(tab, &key, &server))
        return;
    for (const QString &invitee : chosen)
        sendInvitation(invitee, int(tab->multichatId), server);
}

void Chat::leaveMultichat(ZChatTab *tab)
{
    QString key;
    ushort server = 0;
    if (!sessionOf(tab, &key, &server))
        return;
    ProtocolCommand command(4, tab->multiChatOwner ? 0x0009 : 0x0008);
    command.setApplicationServerId(server);
    Protocol leave(command);
    leave.addArg(ProtocolArg(6, multichatIdField, int(tab->multichatId)));
    sendFireAndForget(leave);
}

void Chat::kickFromMultichat(ZChatTab *tab, const QString &contactId)
{
    QString key;
    ushort server = 0;
    if (!sessionOf(tab, &key, &server))
        return;
    ZContactCard *card = nullptr;
    for (int i = 0; i < tab->cardList->size() && !card; ++i) {
        if (tab->cardList->card(i)->zubrelId() == contactId)
            card = tab->cardList->card(i);
    }
    if (!card)
        return;
    QPointer<ZChatTab> guard = tab;
    const QString alias = card->alias().isEmpty() ? contactId : card->alias();
    const auto answer = ZMessageBox::question(windowOf(tab), tr("Kick User"),
                                              tr("Would you like to kick %1 from your Multi Chat?").arg(escaped(alias)),
                                              QMessageBox::Yes | QMessageBox::No);
    // The question runs an event loop: the session may have ended meanwhile.
    if (answer != QMessageBox::Yes || !guard || !sessionOf(tab, &key, &server))
        return;
    ProtocolCommand command(4, 0x000A);
    command.setApplicationServerId(server);
    Protocol kick(command);
    kick.addArg(ProtocolArg(6, multichatIdField, int(tab->multichatId)));
    kick.addArg(ProtocolArg(6, kickedField, contactId));
    sendFireAndForget(kick);
}

} // namespace zubrel
