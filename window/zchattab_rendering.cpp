// What the tab shows in its view: messages, notices and push-message links,
// with the sounds that go with them; and the routing of push-message links.
#include "zchattab.h"
#include "zchattab_p.h"

#include "messagetemplates.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdir.h"
#include "zsafepath.h"
#include "zinputdialog.h"
#include "zmessageview.h"
#include "zsound.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QHash>
#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>

namespace zubrel {

void ZChatTab::playSound(const QString &baseName)
{
    ZSound::instance()->play(QStringLiteral("%1/sounds/standard/%2").arg(ZDir::applicationPath(), baseName));
}

bool ZChatTab::isInActiveWindow() const
{
    return window() && window()->isActiveWindow();
}

void ZChatTab::appendNotice(int kind, const QString &text)
{
    view->appendNotice(MessageTemplates::Kind(kind), text, QDateTime::currentDateTime());
}

void ZChatTab::appendSystemMessage(const QString &text) { appendNotice(MessageTemplates::System, text); }
void ZChatTab::appendNotifyMessage(const QString &text) { appendNotice(MessageTemplates::Notify, text); }
void ZChatTab::appendErrorMessage(const QString &text) { appendNotice(MessageTemplates::Error, text); }
void ZChatTab::appendBlockedMessage(const QString &text) { appendNotice(MessageTemplates::Blocked, text); }

void ZChatTab::afterIncoming(const QString &html, const QString &entry, const QString &beepAlias)
{
    if (hooks().placeViewEmoticons)
        hooks().placeViewEmoticons(this, entry);
    if (isInActiveWindow())
        emit activated();
    if (!m_sound)
        return;
    playSound(QStringLiteral("zubrel_contact_chatmessage_in.wav"));
    if (hooks().playEmoticonSounds)
        hooks().playEmoticonSounds(this, html);
    // An empty alias would be "contained" in every message.
    if (!beepAlias.isEmpty() && html.contains(beepAlias))
        QApplication::beep();
}

void ZChatTab::appendIncomingMessage(const QString &html, const QDateTime &sendTime, bool offline, bool mobile)
{
    ZContactCard *card = cardList->currentCard();
    const QString alias = card ? card->alias() : QString();
    const QString id = card ? card->zubrelId() : QString();
    const QString entry = view->appendIncoming(html, alias, id, sendTime, offline, mobile);
    if (offline)
        appendSystemMessage(tr("This message was sent to you while you were offline."));
    afterIncoming(html, entry, alias);
}

void ZChatTab::renderMultiChat(const QString &html, const QString &alias, const QString &id, bool mobile)
{
    const QString entry = view->appendMultiChat(html, alias, id, mobile, QDateTime::currentDateTime());
    afterIncoming(html, entry, QString());
}

void ZChatTab::appendMultiChatMessage(const QString &html, const QString &alias, const QString &id, bool mobile)
{
    renderMultiChat(html, alias, id, mobile);
}

void ZChatTab::renderOwn(const QString &html, bool groupWithoutTimeLimit)
{
    const QString entry = view->appendOwn(html, ownCard->alias(), ownCard->zubrelId(),
                                          QDateTime::currentDateTime(), groupWithoutTimeLimit);
    if (hooks().placeViewEmoticons)
        hooks().placeViewEmoticons(this, entry);
    if (m_sound && hooks().playEmoticonSounds)
        hooks().playEmoticonSounds(this, html);
}

QString ZChatTab::appendReceivedPushMessage(const QString &fileName, const QString &alias, const QString &id)
{
    const QString entry = MessageTemplates::pushMessageEntry(fileName, tr("Play again"), tr("Save as..."));
    m_pushClips.insert(fileName);
    if (!alias.isEmpty() || !id.isEmpty())
        renderMultiChat(entry, alias, id, false);
    else
        appendIncomingMessage(entry, QDateTime::currentDateTime(), false, false);
    if (m_sound)
        ZSound::instance()->play(fileName);
    return entry;
}

QString ZChatTab::appendOwnPushMessage(const QString &fileName)
{
    const QString entry = MessageTemplates::pushMessageEntry(fileName, tr("Play again"), tr("Save as..."));
    m_pushClips.insert(fileName);
    renderOwn(entry, true);
    if (m_sound)
        ZSound::instance()->play(fileName);
    return entry;
}

void ZChatTab::appendLogMessage(const QString &html, const QString &alias, const QString &id, const QDateTime &time)
{
    const QString entry = view->appendLog(html, alias, id, time);
    if (hooks().placeViewEmoticons)
        hooks().placeViewEmoticons(this, entry);
}

void ZChatTab::clearView()
{
    view->clearView();
    if (hooks().viewCleared)
        hooks().viewCleared(this);
}

QString ZChatTab::clipPath(const QUrl &url)
{
    return url.toString(QUrl::RemoveScheme);
}

void ZChatTab::slotPushMessagePlay(const QUrl &url)
{
    ZSound::instance()->play(clipPath(url));
}

void ZChatTab::slotPushMessageSave(const QUrl &url)
{
    const QString path = clipPath(url);
    const QString baseName = QFileInfo(path).completeBaseName();
    bool ok = false;
    QString name = ZInputDialog::getText(this, tr("Save push message"),
                                         tr("Please enter a name for this push message:"),
                                         QLineEdit::Normal, baseName, &ok);
    if (!ok)
        return;
    // The typed name becomes a file name inside the push-message folder and
    // nowhere else: no folders, no "..", no hidden files.
    name = name.trimmed().replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    if (name.isEmpty())
        name = baseName;
    const QString target = ZSafePath::childPath(ZDir::pushMessagesPath(true), name + QStringLiteral(".wav"));
    if (!target.isEmpty())
        QFile::copy(path, target); // an existing favourite of that name is kept
}

namespace Internal {

QString statusIconName(int status, bool exwayName)
{
    switch (status) {
    case 0: return QStringLiteral(":/offline-32");
    case 1: return QStringLiteral(":/online-32");
    case 2: return QStringLiteral(":/away-32");
    case 3: return exwayName ? QStringLiteral(":/exway-32") : QStringLiteral(":/exaway-32");
    case 4: return QStringLiteral(":/busy-32");
    case 5: return QStringLiteral(":/dnd-32");
    case 6:
    case 7: return QStringLiteral(":/invis-32");
    default: return QString();
    }
}

void connectCardNotifications(ZContactCard *card, ZChatTab *tab)
{
    // Only card classes that announce these changes get connected; the
    // window and the controller can still call the tab's slots directly.
    const QMetaObject *cardMeta = card->metaObject();
    const QMetaObject *tabMeta = tab->metaObject();
    // The methods are looked up by name once per pair of classes, not for
    // each of the hundreds of cards a busy multi chat adds.
    using Methods = QList<std::pair<QMetaMethod, QMetaMethod>>;
    static QHash<std::pair<const QMetaObject *, const QMetaObject *>, Methods> known;
    auto found = known.find({cardMeta, tabMeta});
    if (found == known.end()) {
        const std::pair<const char *, const char *> pairs[] = {
            {"aliasChanged(QString)", "slotCardAliasChanged(QString)"},
            {"isTyping(bool)", "slotCardIsTyping(bool)"},
            {"statusChanged(Zr::ContactStatus)", "slotCardStatusChanged(Zr::ContactStatus)"},
        };
        Methods methods;
        for (const auto &[signal, slot] : pairs) {
            const int s = cardMeta->indexOfSignal(signal);
            const int r = tabMeta->indexOfSlot(slot);
            if (s >= 0 && r >= 0)
                methods.append({cardMeta->method(s), tabMeta->method(r)});
        }
        found = known.insert({cardMeta, tabMeta}, methods);
    }
    for (const auto &[signal, slot] : std::as_const(*found))
        QObject::connect(card, signal, tab, slot, Qt::UniqueConnection);
}

PushLinkRouter *PushLinkRouter::instance()
{
    static QPointer<PushLinkRouter> router;
    if (!router)
        router = new PushLinkRouter;
    return router;
}

PushLinkRouter::PushLinkRouter()
    : QObject(QCoreApplication::instance())
{
    QDesktopServices::setUrlHandler(QStringLiteral("pushplay"), this, "handlePlay");
    QDesktopServices::setUrlHandler(QStringLiteral("pushsave"), this, "handleSave");
}

PushLinkRouter::~PushLinkRouter()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("pushplay"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("pushsave"));
}

void PushLinkRouter::add(ZChatTab *tab)
{
    m_tabs.removeAll(nullptr);
    m_tabs.append(tab);
}

ZChatTab *PushLinkRouter::tabFor(const QUrl &url) const
{
    const QString path = ZChatTab::clipPath(url);
    for (auto it = m_tabs.crbegin(); it != m_tabs.crend(); ++it) {
        if (*it && (*it)->holdsPushClip(path))
            return *it;
    }
    return nullptr;
}

void PushLinkRouter::dispatch(ZChatTab *tab, const QUrl &url)
{
    // One click reaches us twice (the view's signal and the desktop
    // services); whichever comes first handles it.
    if (url == m_justHandled)
        return;
    m_justHandled = url;
    QMetaObject::invokeMethod(this, [this] { m_justHandled.clear(); }, Qt::QueuedConnection);
    if (!tab || !tab->holdsPushClip(ZChatTab::clipPath(url)))
        return;
    QPointer<ZChatTab> guard(tab);
    if (url.scheme() == QLatin1String("pushplay"))
        tab->slotPushMessagePlay(url);
    else if (url.scheme() == QLatin1String("pushsave") && guard)
        tab->slotPushMessageSave(url);
}

void PushLinkRouter::activatedIn(ZChatTab *tab, const QUrl &url)
{
    if (url.scheme() == QLatin1String("pushplay") || url.scheme() == QLatin1String("pushsave"))
        dispatch(tab, url);
}

void PushLinkRouter::handlePlay(const QUrl &url)
{
    dispatch(tabFor(url), url);
}

void PushLinkRouter::handleSave(const QUrl &url)
{
    dispatch(tabFor(url), url);
}

} // namespace Internal
} // namespace zubrel
