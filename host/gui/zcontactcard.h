#pragma once
// A contact as the chat shows it: picture, alias, status (icon and name) and
// small marks for typing, blocked and mobile. Its context menu turns user
// commands into short ids emitted through actionId(); the user's own card
// also takes picture files dropped onto its avatar.
//
// A card made to wait (WaitUntilSeen) keeps only its state until its list
// scrolls it into view and calls buildParts(): a busy multi chat holds
// hundreds of cards, and labels for those nobody sees made every join slow.

#include <QList>
#include <QPair>
#include <QPixmap>
#include <QRect>
#include <QPointer>
#include <QWidget>

#include <memory>

#include <QLabel>

#include "zr.h"

class QMenu;
class QMimeData;

namespace zubrel {

class ZContactCard : public QWidget
{
    Q_OBJECT
public:
    // Status values as the messaging service sends them.
    enum Status { Offline = 0, Online = 1, Away = 2, Busy = 3, DoNotDisturb = 4, Invisible = 5 };

    enum Parts { BuildNow, WaitUntilSeen };

    explicit ZContactCard(QWidget *parent = nullptr, Parts parts = BuildNow);
    ~ZContactCard() override;

    void setZubrelId(const QString &id);
    QString zubrelId() const { return m_zubrelId; }
    // A null alias shows the id instead.
    void setAlias(const QString &alias);
    QString alias() const { return m_alias; }
    // An empty pixmap shows the skin's default picture; fade blends the new
    // picture in.
    void setAvatar(const QPixmap &pixmap, bool fade);
    QPixmap avatar() const { return m_avatarPixmap; }
    void setStatus(int status);
    int status() const { return m_status; }
    QString statusName() const;
    // What the card is used for (plain contact, other network, multi chat
    // participant, random partner ...); selects the menu entries.
    void setGeneralApp(int app);
    int generalApp() const { return m_generalApp; }
    void setMobile(bool mobile);
    bool isMobile() const { return m_mobile; }
    void setOwn(bool own);
    bool isOwn() const { return m_own; }
    void setInternalId(int id);
    int internalId() const { return m_internalId; }
    void setBlocked(bool blocked);
    bool isBlocked() const { return m_blocked; }
    void setTyping(bool typing);
    bool isTyping() const { return m_typing; }
    void setBig(bool big);
    bool isBig() const { return m_big; }

    // Extra menu entries a host adds; triggering one emits its id. Adding an
    // id again replaces its text.
    void addAction(const QString &id, const QString &text);
    void removeAction(const QString &id);

    // The ids the menu offers right now, in menu order.
    QStringList actionIds() const;
    // The context menu for the card's current state. Each action carries its
    // id as data. The caller owns the menu.
    std::unique_ptr<QMenu> createContextMenu();

    // Makes the picture, text and mark labels; does nothing once they exist.
    void buildParts();
    bool hasParts() const { return m_avatarLabel != nullptr; }

    // File types accepted as a new own picture.
    static bool isPictureFile(const QString &fileName);

signals:
    void actionId(const QString &id);
    void avatarClicked();
    void newAvatar(const QStringList &fileNames);
    // Changes of what the card shows, for the chat that titles itself after
    // its partner; emitted only when the value really changes.
    void aliasChanged(const QString &alias);
    void isTyping(bool typing);
    void statusChanged(Zr::ContactStatus status);

public:
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct PartRects
    {
        QRect avatar;
        QRect alias;
        QRect statusIcon;
        QRect statusName;
        QList<QRect> marks; // the shown ones, in order
        int textWidth = 0;  // what the text column asks for
        int height = 0;
    };
    PartRects partRects(int width, bool withTextWidth) const;
    QFont aliasFont() const;
    void placeParts();
    QList<QPair<QString, QString>> menuEntries() const;
    QStringList droppedPictures(const QMimeData *mime) const;
    void updateAlias();
    void updateStatus();
    void showStatusText();
    void updateMarks();
    void updateAvatar();
    void updateAccessibleText();

    QString m_zubrelId;
    QString m_alias;
    QPixmap m_avatarPixmap;
    int m_status = Offline;
    int m_generalApp = 1;
    int m_internalId = 0;
    bool m_mobile = false;
    bool m_own = false;
    bool m_blocked = false;
    bool m_typing = false;
    bool m_big = false;
    QList<QPair<QString, QString>> m_customActions;

    QPointer<QLabel> m_avatarLabel;
    QPointer<QLabel> m_aliasLabel;
    QPointer<QLabel> m_statusIcon;
    QPointer<QLabel> m_statusLabel;
    QPointer<QLabel> m_typingMark;
    QPointer<QLabel> m_typingText;
    QPointer<QLabel> m_blockedMark;
    QPointer<QLabel> m_mobileMark;
};

} // namespace zubrel
