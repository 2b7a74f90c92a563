#pragma once
// The top-level chat window: menus, the chat-action toolbar, the tabs and a
// status bar for the typing notice. It does no network work: every command
// about the conversation leaves as a short id through action(), which the
// controller carries out. One-to-one windows remember their place per
// contact; multi and random chat windows ask before they close.

#include "zr.h"
#include "zwindow.h"

#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QStringList>

class QAction;
class QMenu;
class QMimeData;
class QToolBar;
class QToolButton;

namespace zubrel {

class ZChatTab;
class ZTabWidget;

class ZChat : public ZWindow
{
    Q_OBJECT

public:
    explicit ZChat(QWidget *parent = nullptr);
    ~ZChat() override;

    void addTab(ZChatTab *tab);
    void restoreChatGeometry();
    void setupMultiChatMenu();
    void setupRandomChatMenu();
    void setupReducedMenu();

    ZChatTab *currentTab() const;
    QList<ZChatTab *> tabs() const;
    int currentIndex() const { return m_current; }
    QToolBar *toolBar() const { return m_toolBar; }
    ZTabWidget *tabWidget() const { return m_tabWidget; }
    QMenu *chatMenu() const { return m_chatMenu; }
    QMenu *editMenu() const { return m_editMenu; }
    QMenu *viewMenu() const { return m_viewMenu; }
    QMenu *screenshotMenu() const { return m_screenshotMenu; }
    QToolButton *screenshotButton() const { return m_screenshotButton; }

    // Which application a set of dropped paths is for: 14 all ".mp3",
    // 16 all readable picture formats, 7 anything else.
    static Zr::ClientApplication classifyFiles(const QStringList &paths);

    // The image drop: pictures up to this size go inline into the input.
    static constexpr int inlineImageLimit = 100;

signals:
    void action(const QString &id);
    void activated();
    void droppedFiles(const QStringList &files, Zr::ClientApplication application);
    void hid();

private slots:
    void slotScreenshot1Timer();
    void slotScreenshot1();
    void slotScreenshot2Timer();
    void slotScreenshot2();
    void slotScreenshot3Timer();
    void slotScreenshot3();
    void slotShowEdit();
    void slotView();
    void slotToolbarTimer();
    void slotToolbar();
    void slotUserlistTimer();
    void slotUserlist();
    void slotOwnUserTimer();
    void slotOwnUser();
    void slotHelpTimer();
    void slotHelp();
    void slotFaqTimer();
    void slotFaq();
    void slotAddTimer();
    void slotAdd();
    void slotCloseTimer();
    void slotClose();
    void slotFileTimer();
    void slotFile();
    void slotVoipTimer();
    void slotVoip();
    void slotHistoryTimer();
    void slotHistory();
    void slotShakeTimer();
    void slotShake();
    void slotFormatTimer();
    void slotFormat();
    void slotHistoryLogTimer();
    void slotHistoryLog();
    void slotSlideshowTimer();
    void slotSlideshow();
    void slotChanged(int index);
    void slotCardAliasChanged(const QString &alias);
    void slotCardIsTyping(bool typing);
    void slotCardLogHistory(bool logHistory);
    void slotCardStatusChanged(Zr::ContactStatus status);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void rebuildChatMenu(bool withAdd, bool withPrivateAndShake, bool withSlideshow);
    QAction *addFormatEntry(QMenu *menu);
    void hideToolBarEntriesForReducedChat();
    void bindEditEntries(ZChatTab *tab);
    void bindTabSignals(ZChatTab *tab);
    void updateTitle(const QString &alias);
    void storeChatGeometry();
    QPoint cascadePosition(const QPoint &start) const;
    void openHelpPage(const QUrl &url);
    QString contactKey() const;
    void handleDrop(const QMimeData *mime);

    QList<QPointer<ZChatTab>> m_tabs;
    int m_current = 0;
    ZTabWidget *m_tabWidget = nullptr;
    QToolBar *m_toolBar = nullptr;
    QMenu *m_chatMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_viewMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QMenu *m_screenshotMenu = nullptr;
    QToolButton *m_screenshotButton = nullptr;
    QAction *m_screenshotButtonAction = nullptr;

    // Edit entries, bound to the current tab at every tab change.
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_cut = nullptr;
    QAction *m_copyInput = nullptr;
    QAction *m_copyView = nullptr;
    QAction *m_paste = nullptr;
    QAction *m_delete = nullptr;
    QAction *m_selectAllInput = nullptr;
    QAction *m_selectAllView = nullptr;
    QList<QMetaObject::Connection> m_tabBindings;

    QAction *m_toolbarEntry = nullptr;
    QAction *m_userListEntry = nullptr;
    QAction *m_ownUserEntry = nullptr;
    QAction *m_formatEntry = nullptr; // the Chat menu's text-style entry

    QAction *m_addAction = nullptr;
    QAction *m_closeAction = nullptr;
    QAction *m_historyAction = nullptr;
    QAction *m_formatAction = nullptr;
    QAction *m_privateAction = nullptr;
    QAction *m_shakeAction = nullptr;
    QAction *m_slideshowAction = nullptr;

    bool m_hidEmitted = false;
};

} // namespace zubrel
