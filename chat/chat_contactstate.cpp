// Keeps the cards on screen in step with the contact directory and the
// host's privacy lists: block, hide and invisible lists, a contact's alias,
// picture, status and client, the user going offline (which ends multi and
// random chats), the large picture behind a card's avatar, and files or a
// new own picture dropped on the user's own card.

#include "chat.h"

#include <QGuiApplication>
#include <QScreen>

#include "chatargs.h"
#include "wrappluginhelper.h"
#include "zavatar.h"
#include "zchat.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zfaderwidget.h"
#include "ztextedit.h"

namespace zubrel {

namespace {

constexpr DataField contactField = 1;
constexpr DataField fileCountField = 126;
constexpr DataField pathField = 128;
// The large picture opens a little below and right of the card's corner.
const QPoint avatarOffset(10, 11);
constexpr int avatarFlipShift = 48;

// Reads "count, id 1 .. id N". A count beyond the ids present reads only
// those present; an id that is no user number is skipped. False when the
// count itself is missing or not a number.
bool readIdList(const Protocol &protocol, QStringList *ids)
{
    const QVariant count = protocol.hasArg(0) ? protocol.arg(0).variant() : QVariant();
    if (Internal::isTextual(count) || count.metaType().id() == QMetaType::Bool)
        return false;
    int n = 0;
    if (!Internal::readInt(protocol, 0, &n) || n < 0)
        return false;
    n = qMin(n, protocol.argCount() - 1);
    ids->clear();
    for (int i = 1; i <= n; ++i) {
        QString id;
        if (Internal::readContactId(protocol, i, &id))
            ids->append(id);
    }
    return true;
}

QString backslashed(QString path)
{
    return path.replace(u'/', u'\\');
}

// Keeps the popup inside the right and bottom edges of the screen that
// holds it (any monitor, not just one starting at 0).
QPoint avatarPosition(QPoint position, const QSize &size, const QRect &screen)
{
    if (position.x() + size.width() > screen.right() + 1)
        position.rx() += -(size.width() - 1) + avatarFlipShift;
    if (position.y() + size.height() > screen.bottom() + 1)
        position.ry() += -(size.height() - 1) + avatarFlipShift;
    position.setX(qMax(screen.left(), qMin(position.x(), screen.right() + 1 - size.width())));
    position.setY(qMax(screen.top(), qMin(position.y(), screen.bottom() + 1 - size.height())));
    return position;
}

} // namespace

// ---------------------------------------------------------------------------
// Privacy lists

void Chat::applyPrivacyList(Request *request, QStringList *list, void (Chat::*notify)(const QString &id))
{
    QStringList ids;
    if (readIdList(*request->protocol(), &ids)) {
        *list = ids;
        for (const QString &id : std::as_const(ids))
            (this->*notify)(id);
    }
    answer(request);
}

void Chat::noteBlocked(const QString &id)
{
    for (const QPointer<ZContactCard> &card : cards.values(id)) {
        if (card)
            card->setBlocked(true);
    }
    if (ZChatTab *tab = firstTab(chatWindow(id)))
        tab->appendBlockedMessage(tr("This contact is blocked and will not be able to send you further messages."));
}

void Chat::noteInvisible(const QString &id)
{
    if (ZChatTab *tab = firstTab(chatWindow(id)))
        tab->appendNotifyMessage(tr("This contact will not be able to see your status. You are invisible for him."));
}

void Chat::noteHidden(const QString &id)
{
    if (ZChatTab *tab = firstTab(chatWindow(id)))
        tab->appendNotifyMessage(tr("This contact is on your hide list and will not be able to see your status."));
}

void Chat::slotBlocklist(RequestHandler *, Request *request)
{
    QStringList probe;
    if (readIdList(*request->protocol(), &probe)) {
        for (const QPointer<ZContactCard> &card : std::as_const(cards)) {
            if (card)
                card->setBlocked(false);
        }
    }
    applyPrivacyList(request, &blockList, &Chat::noteBlocked);
}

void Chat::slotInvisiblelist(RequestHandler *, Request *request)
{
    applyPrivacyList(request, &invisibleList, &Chat::noteInvisible);
}

void Chat::slotHidelist(RequestHandler *, Request *request)
{
    applyPrivacyList(request, &hideList, &Chat::noteHidden);
}

// ---------------------------------------------------------------------------
// Contact changes

void Chat::slotContactChanged(CZuBuddy buddy)
{
    const QString key = QString::number(buddy.Id());
    const bool validState = buddy.IsUserStateValid();
    const int state = buddy.UserState();
    const bool mobile = isMobileClient(key);
    for (const QPointer<ZContactCard> &card : cards.values(key)) {
        if (!card)
            continue;
        card->setAlias(buddy.IsNicknameValid() ? buddy.Nickname() : QString());
        card->setAvatar(buddy.Picture(true), false);
        if (validState && state >= 0 && state <= 7)
            card->setStatus(state);
        card->setMobile(mobile);
    }

    if (buddy.Id() == CZuBuddy::CurrentUser().Id() && validState && state == Zr::Offline) {
        endChatsOnGoingOffline(&randomChats, &randomChatInfo, false);
        endChatsOnGoingOffline(&multichats, &multichatInfo, true);
    }
}

void Chat::endChatsOnGoingOffline(QHash<QString, QPointer<ZChat>> *windows, QHash<QString, QStringList> *info,
                                  bool multi)
{
    // The windows stay so the user can read them; the conversation is over.
    const auto open = *windows;
    for (const QPointer<ZChat> &window : open) {
        ZChatTab *tab = firstTab(window);
        if (!tab)
            continue;
        QList<ZContactCard *> shown{tab->ownCard};
        for (int i = 0; i < tab->cardList->size(); ++i)
            shown.append(tab->cardList->card(i));
        cards.removeIf([&shown](const auto &entry) {
            return entry.value().isNull() || shown.contains(entry.value().data());
        });
        quint32 &id = multi ? tab->multichatId : tab->randomChatId;
        const QString key = QStringLiteral("%1").arg(id);
        windows->remove(key);
        info->remove(key);
        tab->input->setReadOnly(true);
        id = ZChatTab::noId;
    }
    windows->clear();
    info->clear();
}

// ---------------------------------------------------------------------------
// Avatars

void Chat::slotAvatarClicked()
{
    auto *card = qobject_cast<ZContactCard *>(sender());
    if (!card)
        return;
    const QPixmap picture = CZuBuddy(card->zubrelId().toUInt()).Picture(false);
    const QPoint corner = card->mapToGlobal(QPoint(0, 0)) + avatarOffset;
    auto *avatar = new ZAvatar(picture, card); // closes and deletes itself
    QScreen *screen = QGuiApplication::screenAt(corner);
    if (!screen)
        screen = card->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(corner, avatar->size());
    avatar->move(avatarPosition(corner, avatar->size(), area));
    (new ZFaderWidget(avatar))->fadeIn();
    avatar->show();
}

void Chat::slotNewAvatar(QStringList fileNames)
{
    auto *card = qobject_cast<ZContactCard *>(sender());
    if (!card)
        return;
    if (fileNames.size() > 1) {
        // Several files on the own card: a file transfer to the partner,
        // whose id the card keeps as its internal id (unsigned on the wire).
        Protocol protocol(ProtocolCommand(1, 0x0015));
        protocol.addArg(ProtocolArg(6, contactField, QString::number(quint32(card->internalId()))));
        protocol.addArg(ProtocolArg(6, fileCountField, int(fileNames.size())));
        for (const QString &file : std::as_const(fileNames))
            protocol.addArg(ProtocolArg(32, pathField, backslashed(file)));
        sendFireAndForget(protocol);
        return;
    }
    Protocol protocol(ProtocolCommand(1, 0xF0B0));
    if (!fileNames.isEmpty())
        protocol.addArg(ProtocolArg(32, pathField, fileNames.first()));
    sendFireAndForget(protocol);
    const CZuBuddy owner(card->zubrelId().toUInt());
    for (const QPointer<ZContactCard> &shown : cards.values(card->zubrelId())) {
        if (shown)
            shown->setAvatar(owner.Picture(true), false);
    }
}

} // namespace zubrel
