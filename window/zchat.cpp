// The chat window's construction, menus, toolbar and the wiring to its
// current tab.
#include "zchat.h"

#include "zchatmessagemenu.h"
#include "zchattab.h"
#include "qtbuttonnames.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zdesktop.h"
#include "zmessageview.h"
#include "zplatform.h"
#include "zsettings.h"
#include "zshakewidget.h"
#include "zstatusbar.h"
#include "ztabwidget.h"
#include "ztextedit.h"
#include "zresourceicon.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zubrel {

namespace {
const QString zchatGroup = QStringLiteral("zchat");
// The maker's web site; help and FAQ are pages below it.
const QString makerSite = QStringLiteral("https://www.zubrel.example");

bool plainSetting()
{
    return ZSettings::instance()->get(QStringLiteral("plain"), false, zchatGroup).toBool();
}
} // namespace

ZChat::ZChat(QWidget *parent)
    : ZWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);

    m_screenshotMenu = new QMenu(tr("Make a Screenshot"), this);
    connect(m_screenshotMenu->addAction(tr("Now")), &QAction::triggered, this, &ZChat::slotScreenshot1Timer);
    connect(m_screenshotMenu->addAction(tr("With Countdown")), &QAction::triggered, this,
            &ZChat::slotScreenshot2Timer);
    connect(m_screenshotMenu->addAction(tr("With Countdown and Screen Selection")), &QAction::triggered, this,
            &ZChat::slotScreenshot3Timer);

    buildMenus();
    buildToolBar();
    layout->addWidget(m_toolBar);

    m_tabWidget = new ZTabWidget(central);
    m_tabWidget->enableTabBar(ZSettings::instance()->get(QStringLiteral("use_tabs"), false, zchatGroup).toBool());
    connect(m_tabWidget, &QTabWidget::currentChanged, this, &ZChat::slotChanged);
    layout->addWidget(m_tabWidget);

    statusBar();
    nameQtButtons(this);
    resize(580, 420);
    ZDesktop::setCentered(this);
}

ZChat::~ZChat() = default;

void ZChat::buildMenus()
{
    m_chatMenu = menuBar()->addMenu(tr("&Chat"));
    rebuildChatMenu(true, true, true);

    m_editMenu = menuBar()->addMenu(tr("&Edit"));
    connect(m_editMenu, &QMenu::aboutToShow, this, &ZChat::slotShowEdit);
    auto edit = [this](const QString &text, QKeySequence::StandardKey key) {
        QAction *action = m_editMenu->addAction(text);
        if (key != QKeySequence::UnknownKey)
            action->setShortcut(key);
        action->setEnabled(false);
        return action;
    };
    m_undo = edit(tr("&Undo"), QKeySequence::Undo);
    m_redo = edit(tr("&Redo"), QKeySequence::Redo);
    m_editMenu->addSeparator();
    m_cut = edit(tr("Cu&t"), QKeySequence::Cut);
    m_copyInput = edit(tr("&Copy"), QKeySequence::Copy);
    m_copyView = edit(tr("&Copy"), QKeySequence::Copy);
    m_paste = edit(tr("&Paste"), QKeySequence::Paste);
    m_paste->setEnabled(true);
    m_delete = edit(tr("&Delete"), QKeySequence::Delete);
    m_editMenu->addSeparator();
    // The input and the view select all on Ctrl+A themselves, so the two
    // entries only list the key, for users who look for it in the menu.
    const QString selectAll = ZChatMessageMenu::withKey(tr("&Select All"), QKeySequence::SelectAll);
    m_selectAllInput = edit(selectAll, QKeySequence::UnknownKey);
    m_selectAllView = edit(selectAll, QKeySequence::UnknownKey);
    // The input and the view both offer Copy; only the one belonging to the
    // focused widget is visible, so only that shortcut is live.
    m_copyView->setVisible(false);
    m_selectAllView->setVisible(false);

    m_viewMenu = menuBar()->addMenu(tr("&View"));
    connect(m_viewMenu, &QMenu::aboutToShow, this, &ZChat::slotView);
    m_toolbarEntry = m_viewMenu->addAction(tr("Hide &Toolbar"));
    connect(m_toolbarEntry, &QAction::triggered, this, &ZChat::slotToolbarTimer);
    m_viewMenu->addSeparator();
    m_userListEntry = m_viewMenu->addAction(tr("Hide &User List"));
    connect(m_userListEntry, &QAction::triggered, this, &ZChat::slotUserlistTimer);
    m_ownUserEntry = m_viewMenu->addAction(tr("Hide &Own User"));
    connect(m_ownUserEntry, &QAction::triggered, this, &ZChat::slotOwnUserTimer);

    menuBar()->addMenu(new ZChatMessageMenu(this));

    m_helpMenu = menuBar()->addMenu(tr("&Help"));
    QAction *help = m_helpMenu->addAction(tr("&Help Functions"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this, &ZChat::slotHelpTimer);
    connect(m_helpMenu->addAction(tr("&Frequently Asked Questions (FAQ)")), &QAction::triggered, this,
            &ZChat::slotFaqTimer);
}

QAction *ZChat::addFormatEntry(QMenu *menu)
{
    QAction *entry = menu->addAction(plainSetting() ? tr("Enable Text Styles") : tr("Disable Text Styles"));
    connect(entry, &QAction::triggered, this, &ZChat::slotFormatTimer);
    m_formatEntry = entry;
    return entry;
}

void ZChat::rebuildChatMenu(bool withAdd, bool withPrivateAndShake, bool withSlideshow)
{
    m_chatMenu->clear();
    if (withAdd) {
        connect(m_chatMenu->addAction(tr("Add Contact(s)")), &QAction::triggered, this, &ZChat::slotAddTimer);
        m_chatMenu->addSeparator();
    }
    connect(m_chatMenu->addAction(tr("View Chat History")), &QAction::triggered, this, &ZChat::slotHistoryTimer);
    addFormatEntry(m_chatMenu);
    if (withPrivateAndShake) {
        connect(m_chatMenu->addAction(tr("Start Private Session")), &QAction::triggered, this,
                &ZChat::slotHistoryLogTimer);
        connect(m_chatMenu->addAction(tr("Shake Other Chat Window")), &QAction::triggered, this,
                &ZChat::slotShakeTimer);
    }
    m_chatMenu->addSeparator();
    if (withSlideshow) {
        connect(m_chatMenu->addAction(tr("Show Slideshow")), &QAction::triggered, this,
                &ZChat::slotSlideshowTimer);
        m_chatMenu->addMenu(m_screenshotMenu);
        m_chatMenu->addSeparator();
    }
    QAction *close = m_chatMenu->addAction(tr("C&lose"));
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &ZChat::slotCloseTimer);
}

void ZChat::buildToolBar()
{
    m_toolBar = new QToolBar(tr("zubrel message toolbar"), this);
    m_toolBar->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_toolBar->setContextMenuPolicy(Qt::CustomContextMenu);
    m_toolBar->setIconSize(QSize(32, 32));
    m_toolBar->setMovable(false);
    auto add = [this](const QString &icon, const QString &text, void (ZChat::*slot)()) {
        QAction *action = m_toolBar->addAction(ZResourceIcon::get(icon), text);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    m_addAction = add(QStringLiteral(":/addmulti-32"), tr("Add contact(s)"), &ZChat::slotAddTimer);
    m_closeAction = add(QStringLiteral(":/exit-32"), tr("Close"), &ZChat::slotCloseTimer);
    m_historyAction = add(QStringLiteral(":/infocenter-32"), tr("View chat history"), &ZChat::slotHistoryTimer);
    m_formatAction = add(QStringLiteral(":/format_disabled-32"), tr("Disable text styles"), &ZChat::slotFormatTimer);
    if (plainSetting()) {
        m_formatAction->setText(tr("Enable Text Styles"));
        m_formatAction->setIcon(ZResourceIcon::get(QStringLiteral(":/format_enabled-32")));
    }
    m_privateAction = add(QStringLiteral(":/log_on-32"), tr("Start private session"), &ZChat::slotHistoryLogTimer);
    m_shakeAction = add(QStringLiteral(":/earthquake-32"), tr("Shake other chat window"), &ZChat::slotShakeTimer);
    m_slideshowAction = add(QStringLiteral(":/slideshow-32"), tr("Show slideshow"), &ZChat::slotSlideshowTimer);

    m_screenshotButton = new QToolButton(m_toolBar);
    m_screenshotButton->setToolTip(tr("Make a screenshot"));
    m_screenshotButton->setAccessibleName(m_screenshotButton->toolTip());
    m_screenshotButton->setIcon(ZResourceIcon::get(QStringLiteral(":/screenshot-32")));
    m_screenshotButton->setMenu(m_screenshotMenu);
    m_screenshotButton->setPopupMode(QToolButton::InstantPopup);
    m_screenshotButton->setFocusPolicy(Qt::NoFocus);
    m_screenshotButtonAction = m_toolBar->addWidget(m_screenshotButton);
    m_screenshotButtonAction->setText(tr("Make a screenshot"));
}

ZChatTab *ZChat::currentTab() const
{
    return m_current >= 0 && m_current < m_tabs.size() ? m_tabs.at(m_current).data() : nullptr;
}

QList<ZChatTab *> ZChat::tabs() const
{
    QList<ZChatTab *> result;
    for (const auto &tab : m_tabs) {
        if (tab)
            result.append(tab);
    }
    return result;
}

void ZChat::addTab(ZChatTab *tab)
{
    if (!tab)
        return;
    const int index = m_tabWidget->addTab(tab, tab->windowIcon(), tab->windowTitle());
    // Guarded: a tab may close itself; no destroyed() hook here, since that
    // would also fire while this window is half destroyed.
    m_tabs.append(tab);
    slotChanged(index);
    nameQtButtons(this);
}

void ZChat::slotChanged(int index)
{
    m_current = index;
    ZChatTab *tab = currentTab();
    // Bindings to the tab that was current before are released first, so
    // the entries act on the current tab only.
    for (const auto &binding : std::as_const(m_tabBindings))
        disconnect(binding);
    m_tabBindings.clear();
    if (!tab)
        return;
    bindEditEntries(tab);
    bindTabSignals(tab);
    setWindowIcon(tab->windowIcon());
    ZContactCard *card = tab->cardList->currentCard();
    setWindowTitle(QStringLiteral("%1 - %2").arg(tab->windowTitle(), card ? card->statusName() : QString()));
}

void ZChat::bindEditEntries(ZChatTab *tab)
{
    ZTextEdit *input = tab->input;
    ZMessageView *view = tab->view;
    QTextDocument *doc = input->document();
    auto bind = [this](auto... args) { m_tabBindings.append(connect(args...)); };
    bind(m_undo, &QAction::triggered, doc, [doc] { doc->undo(); });
    bind(m_redo, &QAction::triggered, doc, [doc] { doc->redo(); });
    bind(doc, &QTextDocument::undoAvailable, m_undo, &QAction::setEnabled);
    bind(doc, &QTextDocument::redoAvailable, m_redo, &QAction::setEnabled);
    bind(m_cut, &QAction::triggered, input, &QTextEdit::cut);
    bind(m_copyInput, &QAction::triggered, input, &QTextEdit::copy);
    bind(m_delete, &QAction::triggered, input, &QTextEdit::cut);
    bind(m_paste, &QAction::triggered, input, &QTextEdit::paste);
    bind(m_selectAllInput, &QAction::triggered, input, &QTextEdit::selectAll);
    for (QAction *entry : {m_cut, m_copyInput, m_delete})
        bind(input, &QTextEdit::copyAvailable, entry, &QAction::setEnabled);
    bind(m_copyView, &QAction::triggered, view, [view] { view->copy(); });
    bind(view, &QTextEdit::copyAvailable, m_copyView, &QAction::setEnabled);
    bind(m_selectAllView, &QAction::triggered, view, [view] { view->selectAll(); });
    bind(tab, &ZChatTab::selectAll, m_selectAllInput, &QAction::setEnabled);
    bind(tab, &ZChatTab::selectAllBrowser, m_selectAllView, &QAction::setEnabled);
    m_undo->setEnabled(doc->isUndoAvailable());
    m_redo->setEnabled(doc->isRedoAvailable());
    const bool inputSelection = input->textCursor().hasSelection();
    for (QAction *entry : {m_cut, m_copyInput, m_delete})
        entry->setEnabled(inputSelection);
    m_copyView->setEnabled(view->hasSelection());
    m_selectAllInput->setEnabled(!input->document()->isEmpty());
    m_selectAllView->setEnabled(view->entryCount() > 0);
}

void ZChat::bindTabSignals(ZChatTab *tab)
{
    m_tabBindings.append(connect(tab, &ZChatTab::addContact, this, &ZChat::slotAddTimer));
    m_tabBindings.append(connect(tab, &ZChatTab::aliasChanged, this, &ZChat::slotCardAliasChanged));
    m_tabBindings.append(connect(tab, &ZChatTab::isTyping, this, &ZChat::slotCardIsTyping));
    m_tabBindings.append(connect(tab, &ZChatTab::logHistory, this, &ZChat::slotCardLogHistory));
    m_tabBindings.append(connect(tab, &ZChatTab::statusChanged, this, &ZChat::slotCardStatusChanged));
}

void ZChat::slotCardAliasChanged(const QString &alias)
{
    ZChatTab *tab = currentTab();
    ZContactCard *card = tab ? tab->cardList->currentCard() : nullptr;
    setWindowTitle(QStringLiteral("%1 - %2").arg(alias, card ? card->statusName() : QString()));
    m_tabWidget->setTabText(m_current, alias);
}

void ZChat::slotCardIsTyping(bool typing)
{
    ZChatTab *tab = currentTab();
    ZContactCard *card = tab ? tab->cardList->currentCard() : nullptr;
    if (!typing || !card) {
        statusBar()->clearMessage();
        statusBar()->setMessage(QString());
    } else
        statusBar()->setMessage(tr("%1 is typing...").arg(card->alias()));
}

void ZChat::slotCardStatusChanged(Zr::ContactStatus)
{
    ZChatTab *tab = currentTab();
    if (!tab)
        return;
    ZContactCard *card = tab->cardList->currentCard();
    setWindowIcon(tab->windowIcon());
    if (card)
        setWindowTitle(QStringLiteral("%1 - %2").arg(card->alias(), card->statusName()));
    m_tabWidget->setTabIcon(m_current, tab->windowIcon());
}

void ZChat::slotCardLogHistory(bool logHistory)
{
    m_privateAction->setIcon(ZResourceIcon::get(logHistory ? QStringLiteral(":/log_off-32") : QStringLiteral(":/log_on-32")));
    m_privateAction->setToolTip(logHistory ? tr("End Private Session") : tr("Start Private Session"));
}

void ZChat::slotShowEdit()
{
    ZChatTab *tab = currentTab();
    const bool viewFocus = tab && tab->view->hasFocus();
    m_copyView->setVisible(viewFocus);
    m_selectAllView->setVisible(viewFocus);
    for (QAction *entry : {m_undo, m_redo, m_cut, m_copyInput, m_paste, m_delete, m_selectAllInput})
        entry->setVisible(!viewFocus);
}

void ZChat::slotView()
{
    ZChatTab *tab = currentTab();
    if (!tab)
        return;
    m_userListEntry->setText(tab->cardList->isVisibleTo(tab) ? tr("Hide &User List") : tr("Show &User List"));
    m_ownUserEntry->setText(tab->ownCard->isVisibleTo(tab) ? tr("Hide &Own User") : tr("Show &Own User"));
}

void ZChat::setupMultiChatMenu()
{
    rebuildChatMenu(true, false, true);
    m_privateAction->setVisible(false);
    m_shakeAction->setVisible(false);
}

void ZChat::setupRandomChatMenu()
{
    setWindowTitle(tr("Random Chat"));
    setWindowIcon(ZResourceIcon::get(QStringLiteral(":/chat-32")));
    setupReducedMenu();
}

void ZChat::setupReducedMenu()
{
    m_chatMenu->clear();
    connect(m_chatMenu->addAction(tr("View Chat History")), &QAction::triggered, this, &ZChat::slotHistoryTimer);
    addFormatEntry(m_chatMenu);
    m_chatMenu->addSeparator();
    QAction *close = m_chatMenu->addAction(tr("C&lose"));
    close->setShortcut(QKeySequence::Close);
    connect(close, &QAction::triggered, this, &ZChat::slotCloseTimer);
    hideToolBarEntriesForReducedChat();
}

void ZChat::hideToolBarEntriesForReducedChat()
{
    for (QAction *action : {m_addAction, m_privateAction, m_shakeAction, m_slideshowAction, m_screenshotButtonAction})
        action->setVisible(false);
}

} // namespace zubrel
