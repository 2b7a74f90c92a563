// Things outside the message stream: sip and ftp links clicked anywhere in
// the application, files dropped on a chat window (file transfer or
// slideshow), the slideshow module's offers and answers with the placing
// of its window beside the chat, and the partner's shake.

#include "chat.h"

#include <QDesktopServices>
#include <QScreen>

#include "chatargs.h"
#include "czubuddy.h"
#include "wrappluginhelper.h"
#include "zchat.h"
#include "zchattab.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zplatform.h"
#include "zshakewidget.h"

namespace zubrel {

QPointer<ZChat> Chat::slideshowWindow;

namespace {

constexpr ushort slideshowModule = 40;
constexpr DataField contactField = 1;
constexpr DataField fileCountField = 126;
constexpr DataField pathField = 128;
constexpr DataField peopleField = 652;
constexpr DataField memberField = 653;
constexpr int shakeCode = 1;

QString backslashed(QString path)
{
    return path.replace(u'/', u'\\');
}

// Participants "N, id 1 .. id N" starting at argument `first`, reading no
// further than `end` (exclusive). False when N is missing or not a number.
bool readParticipants(const Protocol &protocol, int first, int end, QStringList *ids)
{
    const QVariant count = protocol.hasArg(first) ? protocol.arg(first).variant() : QVariant();
    int n = 0;
    if (Internal::isTextual(count) || count.metaType().id() == QMetaType::Bool
        || !Internal::readInt(protocol, first, &n) || n < 0)
        return false;
    n = qMin(n, end - first - 1);
    for (int i = first + 1; i <= first + n; ++i) {
        QString id;
        if (Internal::readContactId(protocol, i, &id))
            ids->append(id);
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------------------
// Links

void Chat::slotSip(const QUrl &url)
{
    Protocol protocol(ProtocolCommand(1, 0xF100));
    protocol.addArg(ProtocolArg(32, 1, url.toString()));
    sendFireAndForget(protocol);
}

void Chat::slotFtp(const QUrl &url)
{
    // Handed on whole: without its scheme "ftp://host/f" would read as the
    // network share "//host/f". The desktop would hand the link straight
    // back to this handler, so it steps aside while the link is opened.
    const QString scheme = url.scheme().toLower();
    QDesktopServices::unsetUrlHandler(scheme);
    ZPlatform::instance()->openUrl(url);
    QDesktopServices::setUrlHandler(scheme, this, "slotFtp");
}

// ---------------------------------------------------------------------------
// Dropped files

void Chat::slotDroppedFiles(QStringList files, Zr::ClientApplication application)
{
    ZChatTab *tab = firstTab(qobject_cast<ZChat *>(sender()));
    if (!tab || files.isEmpty())
        return;
    Protocol protocol;
    if (application == 7 || application == 14) {
        const QString partner = tab->cardList->size() > 0 ? partnerId(tab) : QString();
        if (partner.isEmpty())
            return; // a transfer to nobody
        protocol.setCommand(ProtocolCommand(1, 0x0015));
        protocol.addArg(ProtocolArg(6, contactField, partner));
        protocol.addArg(ProtocolArg(6, fileCountField, int(files.size())));
    } else if (application == 16) {
        protocol.setCommand(ProtocolCommand(slideshowModule, 0xF163));
        addMemberBlock(protocol, tab);
        protocol.addArg(ProtocolArg(4, fileCountField, int(files.size())));
    } else {
        return;
    }
    for (const QString &file : std::as_const(files))
        protocol.addArg(ProtocolArg(32, pathField, backslashed(file)));
    sendFireAndForget(protocol, application == 16 ? slideshowModule : -1);
}

// ---------------------------------------------------------------------------
// Slideshows

void Chat::slotSlideshow(RequestHandler *, Request *request)
{
    const Protocol &offer = *request->protocol();
    QStringList participants;
    const bool usable = readParticipants(offer, 0, offer.argCount(), &participants) && !participants.isEmpty();
    answer(request);
    if (!usable)
        return;
    Protocol protocol(ProtocolCommand(slideshowModule, 0xF160));
    protocol.addArg(ProtocolArg(4, peopleField, int(participants.size())));
    for (const QString &id : std::as_const(participants))
        protocol.addArg(ProtocolArg(6, memberField, id));
    QPointer<Request> outgoing = helper()->createRequest(protocol, nullptr);
    if (!outgoing)
        return;
    connect(outgoing, &Request::onSuccess, this, qOverload<Request *>(&Chat::slotSlideshow));
    connect(outgoing, &Request::onFailed, this, &Chat::slotSlideshowFailed);
    helper()->sendRequestToModule(outgoing, slideshowModule);
}

void Chat::slotSlideshow(Request *request)
{
    // Participants first, then the slideshow window's handle and a flag
    // that leaves the window where the module put it.
    const Protocol &response = *request->response();
    const int count = response.argCount();
    QStringList participants;
    bool keepPlace = false;
    qint64 handle = 0;
    bool handleOk = false;
    if (count >= 3 && readParticipants(response, 0, count - 2, &participants)
        && Internal::readBool(response, count - 1, &keepPlace)) {
        const QVariant value = response.arg(count - 2).variant();
        if (!Internal::isTextual(value))
            handle = value.toLongLong(&handleOk);
    }
    if (handleOk && handle != 0) {
        ZChat *chat = slideshowWindow ? slideshowWindow.data() : findSlideshowChat(participants);
        if (chat) {
            if (!keepPlace)
                placeSlideshow(chat, quint64(handle));
            ZPlatform::instance()->raiseNativeWindow(quint64(handle));
            chat->activateWindow();
        }
    }
    slideshowWindow.clear();
    helper()->freeRequest(request);
}

void Chat::slotSlideshowFailed(Request *request)
{
    slideshowWindow.clear();
    slotMsgFailed(request);
}

ZChat *Chat::findSlideshowChat(QStringList participants)
{
    participants.removeAll(QString::number(CZuBuddy::CurrentUser().Id()));
    if (participants.size() > 1) {
        for (const QPointer<ZChat> &window : std::as_const(multichats)) {
            const ZChatTab *tab = firstTab(window);
            if (!tab || tab->cardList->size() != participants.size())
                continue;
            bool all = true;
            for (int i = 0; i < tab->cardList->size() && all; ++i)
                all = tab->cardList->card(i) && participants.contains(tab->cardList->card(i)->zubrelId());
            if (all)
                return window;
        }
        return nullptr;
    }
    if (participants.size() == 1) {
        newChat(participants.first());
        if (ZChat *window = chatWindow(participants.first())) {
            window->show();
            return window;
        }
    }
    return nullptr;
}

void Chat::placeSlideshow(ZChat *chat, quint64 handle)
{
    // A square as tall as the chat, at its top edge, on the side of the
    // chat's screen with more room.
    const QRect frame = chat->frameGeometry();
    const QScreen *screen = chat->screen();
    const QRect area = screen ? screen->availableGeometry() : frame;
    const int side = frame.height();
    const int roomRight = area.right() + 1 - (frame.x() + frame.width());
    const int roomLeft = frame.x() - area.left();
    const int x = roomRight > roomLeft ? frame.x() + frame.width() : frame.x() - side;
    ZPlatform::instance()->setNativeWindowGeometry(handle, QRect(x, frame.y(), side, side));
}

// ---------------------------------------------------------------------------
// Partner actions

void Chat::slotAction(RequestHandler *, Request *request)
{
    QString id;
    int code = 0;
    if (Internal::readContactId(*request->protocol(), 0, &id) && Internal::readInt(*request->protocol(), 1, &code)
        && code == shakeCode) {
        if (ZChat *window = chatWindow(id))
            (new ZShakeWidget(window))->shakeWidget(); // a child of the window, deletes itself
    }
    answer(request);
}

} // namespace zubrel
