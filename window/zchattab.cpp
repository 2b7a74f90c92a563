// Construction of a chat tab, its cards and side panels.
#include "zchattab.h"

#include "guardedtextdocument.h"
#include "zchattab_p.h"

#include "zchatpushtoolbar.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zimagebutton.h"
#include "findbar.h"
#include "steadyscrollbar.h"
#include "zmessageview.h"
#include "zsettings.h"
#include "ztextedit.h"
#include "zresourceicon.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace zubrel {

ZChatTab::Hooks &ZChatTab::hooks()
{
    static Hooks h;
    return h;
}

ZChatTab::ZChatTab(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setOpaqueResize(false);
    m_splitter->setChildrenCollapsible(false);
    layout->addWidget(m_splitter);

    auto *upper = new QWidget(m_splitter);
    buildViewRow(upper);
    m_lower = new QWidget(m_splitter);
    auto *lowerLayout = new QVBoxLayout(m_lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    buildEditToolBar();
    lowerLayout->addWidget(m_editToolBar);
    buildInputRow(m_lower);

    m_splitter->addWidget(upper);
    m_splitter->addWidget(m_lower);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setSizes({qMax(upper->sizeHint().height(), 200), 72 + m_editToolBar->sizeHint().height()});
    connect(m_splitter, &QSplitter::splitterMoved, this, &ZChatTab::slotSplitterMoved);

    buildSpellingMenu();
    buildRecorderToolBar();
    m_typingTimer.setSingleShot(true);
    connect(&m_typingTimer, &QTimer::timeout, this, &ZChatTab::slotIsTypingStop);

    m_sound = ZSettings::instance()->get(QStringLiteral("sound"), true, QStringLiteral("zchat")).toBool();
    m_soundAction->setChecked(!m_sound);
    slotSound();

    Internal::PushLinkRouter::instance()->add(this);
}

ZChatTab::~ZChatTab()
{
    // The input's document may outlive this tab's own members while the
    // child widgets go (its spelling highlighter edits it once more on the
    // way out): no more calls into a tab that is being destroyed.
    if (input)
        disconnect(input->document(), nullptr, this, nullptr);
}

void ZChatTab::buildViewRow(QWidget *upper)
{
    auto *row = new QHBoxLayout(upper);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    view = new ZMessageView(upper);
    view->setObjectName(QStringLiteral("view"));
    new FindBar(view, this); // owned by the view, Ctrl+F anywhere in the tab
    view->setProperty("styleName", QStringLiteral("inputHistory"));
    view->setMinimumSize(0, 72);
    view->setOpenExternalLinks(true);
    view->setSaveableImages(true);
    // Reached by Tab after the send button, so the conversation can be
    // read and scrolled without a mouse.
    view->setFocusPolicy(Qt::StrongFocus);
    view->setTabChangesFocus(true);
    view->setAccessibleName(tr("Conversation"));
    view->setUndoRedoEnabled(false);
    row->addWidget(view);
    connect(view, &QTextEdit::textChanged, this, &ZChatTab::slotHistoryChangedTimer);
    connect(view, &ZMessageView::entriesPrepended, this, [this] { emit selectAllBrowser(true); });
    connect(view, &ZMessageView::viewportLayoutChanged, this, &ZChatTab::slotMoveOutputWidgetsTimer);
    connect(view, &ZMessageView::linkActivated, this, [this](const QUrl &url) {
        Internal::PushLinkRouter::instance()->activatedIn(this, url);
    });

    cardList = new ZContactCardList(upper);
    cardList->setObjectName(QStringLiteral("cardList"));
    cardList->setMinimumSize(153, 72);
    cardList->setMaximumSize(153, QWIDGETSIZE_MAX);
    cardList->enableAddContact(true);
    cardList->setFocusPolicy(Qt::NoFocus);
    // Every participant joining grows the column; mostly its slider stays on
    // the same pixels and need not be painted again.
    auto *cardBar = new SteadyScrollBar(Qt::Vertical);
    cardBar->setAttribute(Qt::WA_OpaquePaintEvent);
    cardList->setVerticalScrollBar(cardBar); // the list owns it
    row->addWidget(cardList);
    connect(cardList, &ZContactCardList::addContact, this, &ZChatTab::addContact);
    connect(cardList, &ZContactCardList::added, this, &ZChatTab::slotContactAdded);
}

void ZChatTab::buildInputRow(QWidget *lower)
{
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    static_cast<QVBoxLayout *>(lower->layout())->addLayout(row);

    input = new ZTextEdit(lower);
    // Pasted message HTML names pictures too: loaded under the view's rule.
    input->setDocument(new GuardedTextDocument(input));
    input->setObjectName(QStringLiteral("input"));
    input->setProperty("styleName", QStringLiteral("inputMessage"));
    input->setMinimumSize(0, 72);
    input->setTabChangesFocus(true);
    input->setAccessibleName(tr("Message input"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(10);
    input->document()->setDefaultFont(font);
    input->setCurrentFont(font);
    input->installEventFilter(this);
    row->addWidget(input);

    auto *sendColumn = new QVBoxLayout;
    sendColumn->addStretch();
    m_sendButton = new QPushButton(tr("&Send"), lower);
    m_sendButton->setObjectName(QStringLiteral("sendButton"));
    m_sendButton->setToolTip(tr("Send your entered message"));
    m_sendButton->setFixedSize(72, 72);
    m_sendButton->setDefault(true);
    m_sendButton->setFocusPolicy(Qt::TabFocus);
    m_sendButton->setEnabled(false);
    sendColumn->addWidget(m_sendButton);
    row->addLayout(sendColumn);

    auto *ownColumn = new QVBoxLayout;
    ownColumn->addStretch();
    ownCard = new ZContactCard(lower);
    ownCard->setObjectName(QStringLiteral("ownCard"));
    ownCard->setBig(true);
    ownCard->setOwn(true);
    ownCard->setFixedSize(153, 72);
    ownColumn->addWidget(ownCard);
    row->addLayout(ownColumn);

    connect(input, &QTextEdit::currentCharFormatChanged, this, &ZChatTab::slotCurrentCharFormatChanged);
    connect(input, &QTextEdit::textChanged, this, &ZChatTab::slotEnableSendTimer);
    connect(input->document(), &QTextDocument::contentsChange, this, &ZChatTab::slotContentChange);
    connect(m_sendButton, &QPushButton::clicked, this, &ZChatTab::slotSend);
    // Writing, sending, then reading back; the cards follow.
    setTabOrder(input, m_sendButton);
    setTabOrder(m_sendButton, view);
}

bool ZChatTab::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_recorderToolBar && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        // The recorder holds the keyboard while it runs, but typing goes on
        // in the input: nothing typed is lost, and Enter still sends text.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape)
            return false;
        if (key->key() == Qt::Key_F2) {
            if (event->type() == QEvent::KeyPress)
                slotPushMessageTimer();
            return true;
        }
        QCoreApplication::sendEvent(input, event);
        return true;
    }
    if (watched == input && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // F2 reaches the input when the button's shortcut cannot take it
        // (its window is not the active one).
        if (key->key() == Qt::Key_F2 && key->modifiers() == Qt::NoModifier && m_pushAction->isVisible()) {
            slotPushMessageTimer();
            return true;
        }
        if (key->key() == Qt::Key_Escape && isRecorderShown()) {
            m_recorder->slotEmitClose();
            return true;
        }
    }
    if (watched == input && event->type() == QEvent::KeyPress) {
        // Enter sends; Shift+Enter (or Ctrl+Enter) keeps its line break.
        auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
            slotSendTimer();
            return true;
        }
    }
    if (watched == input && event->type() == QEvent::Resize)
        slotMoveWidgetsTimer();
    return QWidget::eventFilter(watched, event);
}

void ZChatTab::setMultiChat(bool on)
{
    multichat = on;
    if (!on)
        return;
    cardList->setMinimumSize(180, 72);
    cardList->setMaximumSize(180, QWIDGETSIZE_MAX);
    ownCard->setFixedSize(180, 72);
    for (int i = 0; i < cardList->size(); ++i) {
        if (auto *card = cardList->card(i))
            card->setFixedSize(180, 72);
    }
}

void ZChatTab::setMultiChatOwner(bool on)
{
    multiChatOwner = on;
}

void ZChatTab::setRandomChat(bool on)
{
    randomChat = on;
    updatePushAndSmileyEntries();
}

void ZChatTab::setOtherNetwork(bool on)
{
    otherNetwork = on;
    m_fontAction->setVisible(!on);
    setToolBarEntryVisible(m_colorAction, !on);
    setToolBarEntryVisible(m_smileyAction, !on);
    updatePushAndSmileyEntries();
}

void ZChatTab::updatePushAndSmileyEntries()
{
    // Random partners and bridged networks can neither be added as contacts
    // nor receive favourites or push messages.
    const bool reduced = randomChat || otherNetwork;
    cardList->enableAddContact(!reduced);
    m_smileyButton->setProperty("favoritesEnabled", !reduced);
    setToolBarEntryVisible(m_pushAction, !reduced);
    setToolBarEntryVisible(m_pushPickerAction, !reduced);
    emit favoritesEnabledChanged(!reduced);
}

void ZChatTab::setToolBarEntryVisible(QAction *entry, bool visible)
{
    // The toolbar's layout hides a widget entry only on its next layout
    // pass; hide the widget now so the state is right at once.
    entry->setVisible(visible);
    if (QWidget *w = m_editToolBar->widgetForAction(entry))
        w->setVisible(visible);
}

void ZChatTab::setPrivateSession(bool on)
{
    noLog = on;
    emit logHistory(on);
}

QString ZChatTab::inputText() const
{
    return input->toPlainText();
}

QString ZChatTab::viewText() const
{
    return view->plainText();
}

void ZChatTab::slotContactAdded(ZContactCard *card)
{
    if (!card)
        return;
    if (multichat)
        card->setFixedSize(180, 72);
    Internal::connectCardNotifications(card, this);
    if (cardList->size() < 2) {
        setWindowTitle(card->alias().isEmpty() ? card->zubrelId() : card->alias());
        setStatusIcon(card->status(), false);
    }
}

void ZChatTab::setStatusIcon(int status, bool exwayName)
{
    const QString name = Internal::statusIconName(status, exwayName);
    if (!name.isEmpty())
        setWindowIcon(ZResourceIcon::get(name));
}

void ZChatTab::slotCardAliasChanged(const QString &alias)
{
    if (multichat || randomChat)
        return;
    setWindowTitle(alias);
    emit aliasChanged(alias);
}

void ZChatTab::slotCardIsTyping(bool typing)
{
    if (!multichat)
        emit isTyping(typing);
}

void ZChatTab::slotCardStatusChanged(Zr::ContactStatus status)
{
    if (multichat || randomChat)
        return;
    setStatusIcon(status, true);
    emit statusChanged(status);
}

void ZChatTab::setArrow(ZImageButton *button, const QString &direction)
{
    button->setPixmap(QPixmap(QStringLiteral(":/toolbar_arrow_%1_normal").arg(direction))
                          .scaled(74, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    button->setHoverPixmap(QPixmap(QStringLiteral(":/toolbar_arrow_%1_hover").arg(direction))
                               .scaled(74, 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QWidget *ZChatTab::userListArrow() const
{
    return m_userListArrow;
}

QWidget *ZChatTab::ownUserArrow() const
{
    return m_ownArrow;
}

void ZChatTab::slotHideOtherAvatarTimer() { QTimer::singleShot(20, this, &ZChatTab::slotHideOtherAvatar); }
void ZChatTab::slotHideOtherAvatar2Timer() { QTimer::singleShot(20, this, &ZChatTab::slotHideOtherAvatar2); }
void ZChatTab::slotHideOwnAvatarTimer() { QTimer::singleShot(20, this, &ZChatTab::slotHideOwnAvatar); }
void ZChatTab::slotHideOwnAvatar2Timer() { QTimer::singleShot(20, this, &ZChatTab::slotHideOwnAvatar2); }

void ZChatTab::slotHideOtherAvatar()
{
    cardList->setVisible(cardList->isHidden());
    slotCloseToolbars();
}

void ZChatTab::slotHideOtherAvatar2()
{
    m_userListLeft = !m_userListLeft;
    setArrow(m_userListArrow, m_userListLeft ? QStringLiteral("top_left") : QStringLiteral("top_right"));
    slotHideOtherAvatar();
}

void ZChatTab::slotHideOwnAvatar()
{
    ownCard->setVisible(ownCard->isHidden());
}

void ZChatTab::slotHideOwnAvatar2()
{
    m_ownLeft = !m_ownLeft;
    setArrow(m_ownArrow, m_ownLeft ? QStringLiteral("down_left") : QStringLiteral("down_right"));
    slotHideOwnAvatar();
}

void ZChatTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // All tabs follow the last text-style choice made in any window.
    setPlain(ZSettings::instance()->get(QStringLiteral("plain"), false, QStringLiteral("zchat")).toBool());
}

void ZChatTab::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    slotCloseToolbars();
}

} // namespace zubrel
