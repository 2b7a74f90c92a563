#include "zchat.h"

namespace zubrel {

ZChat::ZChat(QWidget *parent)
    : ZWindow(parent)
{
}

ZChat::~ZChat() = default;

void ZChat::addTab(ZChatTab *tab)
{
}

void ZChat::restoreChatGeometry()
{
}

void ZChat::setupMultiChatMenu()
{
}

void ZChat::setupRandomChatMenu()
{
}

void ZChat::setupReducedMenu()
{
}

ZChatTab * ZChat::currentTab() const
{
    return {};
}

QList<ZChatTab *> ZChat::tabs() const
{
    return {};
}

Zr::ClientApplication ZChat::classifyFiles(const QStringList &paths)
{
    return Zr::ClientApplication(7);
}

void ZChat::slotScreenshot1Timer()
{
}

void ZChat::slotScreenshot1()
{
}

void ZChat::slotScreenshot2Timer()
{
}

void ZChat::slotScreenshot2()
{
}

void ZChat::slotScreenshot3Timer()
{
}

void ZChat::slotScreenshot3()
{
}

void ZChat::slotShowEdit()
{
}

void ZChat::slotView()
{
}

void ZChat::slotToolbarTimer()
{
}

void ZChat::slotToolbar()
{
}

void ZChat::slotUserlistTimer()
{
}

void ZChat::slotUserlist()
{
}

void ZChat::slotOwnUserTimer()
{
}

void ZChat::slotOwnUser()
{
}

void ZChat::slotHelpTimer()
{
}

void ZChat::slotHelp()
{
}

void ZChat::slotFaqTimer()
{
}

void ZChat::slotFaq()
{
}

void ZChat::slotAddTimer()
{
}

void ZChat::slotAdd()
{
}

void ZChat::slotCloseTimer()
{
}

void ZChat::slotClose()
{
}

void ZChat::slotFileTimer()
{
}

void ZChat::slotFile()
{
}

void ZChat::slotVoipTimer()
{
}

void ZChat::slotVoip()
{
}

void ZChat::slotHistoryTimer()
{
}

void ZChat::slotHistory()
{
}

void ZChat::slotShakeTimer()
{
}

void ZChat::slotShake()
{
}

void ZChat::slotFormatTimer()
{
}

void ZChat::slotFormat()
{
}

void ZChat::slotHistoryLogTimer()
{
}

void ZChat::slotHistoryLog()
{
}

void ZChat::slotSlideshowTimer()
{
}

void ZChat::slotSlideshow()
{
}

void ZChat::slotChanged(int index)
{
}

void ZChat::slotCardAliasChanged(const QString &alias)
{
}

void ZChat::slotCardIsTyping(bool typing)
{
}

void ZChat::slotCardLogHistory(bool logHistory)
{
}

void ZChat::slotCardStatusChanged(Zr::ContactStatus status)
{
}

void ZChat::keyPressEvent(QKeyEvent *event)
{
}

void ZChat::changeEvent(QEvent *event)
{
}

void ZChat::closeEvent(QCloseEvent *event)
{
}

void ZChat::hideEvent(QHideEvent *event)
{
}

void ZChat::dragEnterEvent(QDragEnterEvent *event)
{
}

void ZChat::dropEvent(QDropEvent *event)
{
}

void ZChat::buildMenus()
{
}

void ZChat::buildToolBar()
{
}

void ZChat::rebuildChatMenu(bool withAdd, bool withPrivateAndShake, bool withSlideshow)
{
}

QAction * ZChat::addFormatEntry(QMenu *menu)
{
    return {};
}

void ZChat::hideToolBarEntriesForReducedChat()
{
}

void ZChat::bindEditEntries(ZChatTab *tab)
{
}

void ZChat::bindTabSignals(ZChatTab *tab)
{
}

void ZChat::updateTitle(const QString &alias)
{
}

void ZChat::storeChatGeometry()
{
}

QString ZChat::contactKey() const
{
    return {};
}

void ZChat::handleDrop(const QMimeData *mime)
{
}

} // namespace zubrel
