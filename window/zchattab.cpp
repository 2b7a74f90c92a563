#include "zchattab.h"

namespace zubrel {

ZChatTab::Hooks &ZChatTab::hooks()
{
    static Hooks h;
    return h;
}

ZChatTab::ZChatTab(QWidget *parent)
    : QWidget(parent)
{
}

ZChatTab::~ZChatTab() = default;

void ZChatTab::setMultiChat(bool on)
{
}

void ZChatTab::setMultiChatOwner(bool on)
{
}

void ZChatTab::setRandomChat(bool on)
{
}

void ZChatTab::setOtherNetwork(bool on)
{
}

void ZChatTab::setPrivateSession(bool on)
{
}

void ZChatTab::setEncrypted(bool on)
{
}

void ZChatTab::setPlain(bool disabled)
{
}

void ZChatTab::clearView()
{
}

void ZChatTab::appendSystemMessage(const QString &text)
{
}

void ZChatTab::appendNotifyMessage(const QString &text)
{
}

void ZChatTab::appendErrorMessage(const QString &text)
{
}

void ZChatTab::appendBlockedMessage(const QString &text)
{
}

void ZChatTab::appendIncomingMessage(const QString &html, const QDateTime &sendTime, bool offline, bool mobile)
{
}

void ZChatTab::appendMultiChatMessage(const QString &html, const QString &alias, const QString &id, bool mobile)
{
}

QString ZChatTab::appendReceivedPushMessage(const QString &fileName, const QString &alias, const QString &id)
{
    return {};
}

QString ZChatTab::appendOwnPushMessage(const QString &fileName)
{
    return {};
}

void ZChatTab::appendLogMessage(const QString &html, const QString &alias, const QString &id, const QDateTime &time)
{
}

void ZChatTab::insertImage(const QString &fileName)
{
}

void ZChatTab::addSmiley()
{
}

QString ZChatTab::inputText() const
{
    return {};
}

QString ZChatTab::viewText() const
{
    return {};
}

QWidget * ZChatTab::userListArrow() const
{
    return {};
}

QWidget * ZChatTab::ownUserArrow() const
{
    return {};
}

bool ZChatTab::isFontToolBarShown() const
{
    return {};
}

bool ZChatTab::isRecorderShown() const
{
    return {};
}

void ZChatTab::slotHideOtherAvatarTimer()
{
}

void ZChatTab::slotHideOtherAvatar2Timer()
{
}

void ZChatTab::slotHideOwnAvatarTimer()
{
}

void ZChatTab::slotHideOwnAvatar2Timer()
{
}

void ZChatTab::slotInsertSmiley(const QString &shortcut)
{
}

void ZChatTab::slotCloseToolbars()
{
}

void ZChatTab::slotPushMessagePressed()
{
}

void ZChatTab::slotPushMessageReleased()
{
}

void ZChatTab::slotCardAliasChanged(const QString &alias)
{
}

void ZChatTab::slotCardIsTyping(bool typing)
{
}

void ZChatTab::slotCardStatusChanged(Zr::ContactStatus status)
{
}

void ZChatTab::rebuildSpellingMenu()
{
}

void ZChatTab::slotPushMessagePlay(const QUrl &url)
{
}

void ZChatTab::slotPushMessageSave(const QUrl &url)
{
}

void ZChatTab::slotHistoryChangedTimer()
{
}

void ZChatTab::slotHistoryChanged()
{
}

void ZChatTab::slotContactAdded(zubrel::ZContactCard *card)
{
}

void ZChatTab::slotEnableSendTimer()
{
}

void ZChatTab::slotEnableSend()
{
}

void ZChatTab::slotSendTimer()
{
}

void ZChatTab::slotSend()
{
}

void ZChatTab::slotMoveOutputWidgetsTimer()
{
}

void ZChatTab::slotMoveOutputWidgets()
{
}

void ZChatTab::slotMoveWidgetsTimer()
{
}

void ZChatTab::slotMoveWidgets()
{
}

void ZChatTab::slotSplitterMoved(int pos, int index)
{
}

void ZChatTab::slotFontTimer()
{
}

void ZChatTab::slotFont()
{
}

void ZChatTab::slotPushMessageTimer()
{
}

void ZChatTab::slotPushMessage()
{
}

void ZChatTab::slotHideOtherAvatar()
{
}

void ZChatTab::slotHideOtherAvatar2()
{
}

void ZChatTab::slotHideOwnAvatar()
{
}

void ZChatTab::slotHideOwnAvatar2()
{
}

void ZChatTab::slotTextBold()
{
}

void ZChatTab::slotTextItalic()
{
}

void ZChatTab::slotTextUnderline()
{
}

void ZChatTab::slotTextFamily(const QString &family)
{
}

void ZChatTab::slotTextSize(const QString &size)
{
}

void ZChatTab::slotFontReset()
{
}

void ZChatTab::slotTextColor(const QColor &color)
{
}

void ZChatTab::slotSoundTimer()
{
}

void ZChatTab::slotSound()
{
}

void ZChatTab::slotCurrentCharFormatChanged(const QTextCharFormat &format)
{
}

void ZChatTab::slotFadeDone(bool fadeOut)
{
}

void ZChatTab::slotCryptoAnimation(bool encrypted)
{
}

void ZChatTab::slotAnimate()
{
}

void ZChatTab::slotEnableSpellTimer()
{
}

void ZChatTab::slotEnableSpell()
{
}

void ZChatTab::slotRegardCaseTimer()
{
}

void ZChatTab::slotRegardCase()
{
}

void ZChatTab::slotIsTypingStop()
{
}

void ZChatTab::slotScrollDown()
{
}

void ZChatTab::slotContentChange(int pos, int removed, int added)
{
}

void ZChatTab::slotLoadDictionary()
{
}

bool ZChatTab::eventFilter(QObject *watched, QEvent *event)
{
    return {};
}

void ZChatTab::showEvent(QShowEvent *event)
{
}

void ZChatTab::resizeEvent(QResizeEvent *event)
{
}

void ZChatTab::timerEvent(QTimerEvent *event)
{
}

void ZChatTab::buildViewRow(QWidget *upper)
{
}

void ZChatTab::buildEditToolBar()
{
}

void ZChatTab::buildInputRow(QWidget *lower)
{
}

void ZChatTab::buildFontToolBar()
{
}

void ZChatTab::buildRecorderToolBar()
{
}

void ZChatTab::buildSpellingMenu()
{
}

void ZChatTab::appendEntry(const QString &styled, const QString &plain)
{
}

void ZChatTab::appendNotice(int kind, const QString &text)
{
}

void ZChatTab::renderOwn(const QString &html, bool groupWithoutTimeLimit)
{
}

void ZChatTab::renderMultiChat(const QString &html, const QString &alias, const QString &id, bool mobile, bool playSounds)
{
}

void ZChatTab::afterMessage(const QString &html, bool beepOnAlias)
{
}

void ZChatTab::playSound(const QString &baseName)
{
}

bool ZChatTab::isInActiveWindow() const
{
    return {};
}

void ZChatTab::showSlidingToolBar(QToolBar *bar)
{
}

void ZChatTab::hideSlidingToolBar(QToolBar *bar)
{
}

void ZChatTab::toggleSlidingToolBar(QToolBar *bar)
{
}

void ZChatTab::placeSlidingToolBar(QToolBar *bar)
{
}

void ZChatTab::applyToolbarFormat()
{
}

void ZChatTab::setArrow(ZImageButton *button, const QString &direction)
{
}

void ZChatTab::setStatusIcon(int status, bool exwayName)
{
}

} // namespace zubrel
