#pragma once
// Helpers of the chat tab that nothing outside the window folder uses.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

namespace zubrel {

class ZChatTab;
class ZContactCard;

namespace Internal {

// The status icon of a card: 0 offline, 1 online, 2 away, 3 extended away,
// 4 busy, 5 do not disturb, 6 and 7 invisible; "" outside 0..7. The
// status-change path of the tab names status 3 ":/exway-32".
QString statusIconName(int status, bool exwayName);

// Connects a card's aliasChanged/isTyping/statusChanged notifications to the
// tab, for card classes that have them.
void connectCardNotifications(ZContactCard *card, ZChatTab *tab);

// "pushplay:" and "pushsave:" links are registered with the desktop services
// once for the whole process. This router takes them and hands each to the
// tab whose view holds that link; a link whose tab has gone does nothing.
class PushLinkRouter : public QObject
{
    Q_OBJECT
public:
    static PushLinkRouter *instance();
    ~PushLinkRouter() override;
    void add(ZChatTab *tab);
    // The view of `tab` reported a click on `url`: handle it there. The
    // desktop-services call that follows for the same click is ignored.
    void activatedIn(ZChatTab *tab, const QUrl &url);
    // The tab holding the link, newest first; nullptr when none does.
    ZChatTab *tabFor(const QUrl &url) const;

public slots:
    // Entry points for QDesktopServices::setUrlHandler.
    void handlePlay(const QUrl &url);
    void handleSave(const QUrl &url);

private:
    PushLinkRouter();
    void dispatch(ZChatTab *tab, const QUrl &url);
    QList<QPointer<ZChatTab>> m_tabs;
    QUrl m_justHandled;
};

} // namespace Internal
} // namespace zubrel
