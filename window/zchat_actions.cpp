// The chat window's commands, keys, close handling, geometry and drops.
#include "zchat.h"

#include "guardedtextdocument.h"
#include "zchattab.h"
#include "zdir.h"
#include "zcontactcard.h"
#include "zcontactcardlist.h"
#include "zmessagebox.h"
#include "zplatform.h"
#include "zsettings.h"
#include "zshakewidget.h"
#include "zstatusbar.h"
#include "ztextedit.h"
#include "zresourceicon.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImage>
#include <QImageReader>
#include <QMimeData>
#include <QTemporaryFile>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>

namespace zubrel {

namespace {
const QString zchatGroup = QStringLiteral("zchat");
const QString makerSite = QStringLiteral("https://www.zubrel.example");
const QString tabMimeType = QStringLiteral("binary/zubrel-tab");
} // namespace

// Every menu entry and toolbar button lands on a ...Timer slot that defers
// the work by 20 ms, so the menu or button finishes its own processing first.
void ZChat::slotScreenshot1Timer() { QTimer::singleShot(20, this, &ZChat::slotScreenshot1); }
void ZChat::slotScreenshot2Timer() { QTimer::singleShot(20, this, &ZChat::slotScreenshot2); }
void ZChat::slotScreenshot3Timer() { QTimer::singleShot(20, this, &ZChat::slotScreenshot3); }
void ZChat::slotToolbarTimer() { QTimer::singleShot(20, this, &ZChat::slotToolbar); }
void ZChat::slotUserlistTimer() { QTimer::singleShot(20, this, &ZChat::slotUserlist); }
void ZChat::slotOwnUserTimer() { QTimer::singleShot(20, this, &ZChat::slotOwnUser); }
void ZChat::slotHelpTimer() { QTimer::singleShot(20, this, &ZChat::slotHelp); }
void ZChat::slotFaqTimer() { QTimer::singleShot(20, this, &ZChat::slotFaq); }
void ZChat::slotAddTimer() { QTimer::singleShot(20, this, &ZChat::slotAdd); }
void ZChat::slotCloseTimer() { QTimer::singleShot(20, this, &ZChat::slotClose); }
void ZChat::slotFileTimer() { QTimer::singleShot(20, this, &ZChat::slotFile); }
void ZChat::slotVoipTimer() { QTimer::singleShot(20, this, &ZChat::slotVoip); }
void ZChat::slotHistoryTimer() { QTimer::singleShot(20, this, &ZChat::slotHistory); }
void ZChat::slotShakeTimer() { QTimer::singleShot(20, this, &ZChat::slotShake); }
void ZChat::slotFormatTimer() { QTimer::singleShot(20, this, &ZChat::slotFormat); }
void ZChat::slotHistoryLogTimer() { QTimer::singleShot(20, this, &ZChat::slotHistoryLog); }
void ZChat::slotSlideshowTimer() { QTimer::singleShot(20, this, &ZChat::slotSlideshow); }

void ZChat::slotScreenshot1() { emit action(QStringLiteral("screennow")); }
void ZChat::slotScreenshot2() { emit action(QStringLiteral("screentimer")); }
void ZChat::slotScreenshot3() { emit action(QStringLiteral("screenselect")); }
void ZChat::slotAdd() { emit action(QStringLiteral("add")); }
void ZChat::slotClose() { emit action(QStringLiteral("exit")); }
void ZChat::slotFile() { emit action(QStringLiteral("filetransfer")); }
void ZChat::slotVoip() { emit action(QStringLiteral("voip")); }
void ZChat::slotHistory() { emit action(QStringLiteral("history")); }
void ZChat::slotHistoryLog() { emit action(QStringLiteral("log")); }
void ZChat::slotSlideshow() { emit action(QStringLiteral("slideshow")); }

void ZChat::slotShake()
{
    // Shake this window too, so the user sees what the partner will see.
    (new ZShakeWidget(this))->shakeWidget();
    emit action(QStringLiteral("shake"));
}

void ZChat::slotToolbar()
{
    const bool show = m_toolBar->isHidden();
    m_toolBar->setVisible(show);
    m_toolbarEntry->setText(show ? tr("Hide &Toolbar") : tr("Show &Toolbar"));
}

void ZChat::slotUserlist()
{
    if (ZChatTab *tab = currentTab())
        QTimer::singleShot(20, tab, &ZChatTab::slotHideOtherAvatar2Timer);
}

void ZChat::slotOwnUser()
{
    if (ZChatTab *tab = currentTab())
        QTimer::singleShot(20, tab, &ZChatTab::slotHideOwnAvatar2Timer);
}

void ZChat::slotHelp()
{
    openHelpPage(QUrl(makerSite + QStringLiteral("/?go=help")));
}

void ZChat::slotFaq()
{
    openHelpPage(QUrl(makerSite + QStringLiteral("/?go=faq")));
}

void ZChat::openHelpPage(const QUrl &url)
{
    // Without a browser the entry would otherwise do nothing at all.
    if (!ZPlatform::instance()->openUrl(url))
        ZMessageBox::information(this, tr("Help"),
                                 tr("No web browser could be started. The page is at %1").arg(url.toString()));
}

void ZChat::slotFormat()
{
    ZChatTab *tab = currentTab();
    if (!tab)
        return;
    const bool wasPlain = tab->isPlain();
    tab->setPlain(!wasPlain);
    const QString text = wasPlain ? tr("Disable Text Styles") : tr("Enable Text Styles");
    if (m_formatEntry)
        m_formatEntry->setText(text);
    m_formatAction->setText(text);
    m_formatAction->setIcon(
        ZResourceIcon::get(wasPlain ? QStringLiteral(":/format_disabled-32") : QStringLiteral(":/format_enabled-32")));
}

void ZChat::keyPressEvent(QKeyEvent *event)
{
    ZChatTab *tab = currentTab();
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_F6:
        if (tab)
            tab->input->setFocus();
        return;
    case Qt::Key_F9:
        if (tab)
            tab->addSmiley();
        return;
    default:
        ZWindow::keyPressEvent(event);
    }
}

void ZChat::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        return;
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        emit activated();
    ZWindow::changeEvent(event);
}

QString ZChat::contactKey() const
{
    ZChatTab *tab = currentTab();
    ZContactCard *card = tab ? tab->cardList->currentCard() : nullptr;
    return card ? card->zubrelId() : QString();
}

void ZChat::restoreChatGeometry()
{
    ZChatTab *tab = currentTab();
    if (!tab || tab->multichat || tab->randomChat)
        return;
    const QString id = contactKey();
    if (id.isEmpty())
        return;
    auto *settings = ZSettings::instance();
    auto value = [&](const char *key) {
        return settings->get(QString::fromLatin1(key).arg(id, 0, QLatin1Char(' ')), -1, zchatGroup).toInt();
    };
    const int x = value("chat_x_%1");
    const int y = value("chat_y_%1");
    const int w = value("chat_w_%1");
    const int h = value("chat_h_%1");
    // The platform places the outer frame; the stored size is the inside.
    const QSize decoration = frameGeometry().size() - geometry().size();
    QRect rect = frameGeometry();
    if (x >= 0 || y >= 0)
        rect.moveTo(x, y);
    else
        rect.moveTo(cascadePosition(rect.topLeft()));
    if (w >= 0 || h >= 0)
        rect.setSize(QSize(w, h) + decoration);
    const bool stored = x >= 0 || y >= 0 || w >= 0 || h >= 0;
    if (stored || rect != frameGeometry())
        ZPlatform::instance()->setWindowGeometry(this, rect);
}

QPoint ZChat::cascadePosition(const QPoint &start) const
{
    // Without a saved place every new window would open exactly on top of
    // the last one, hiding it; step down and right past each one there.
    constexpr int step = 28;
    QList<QPoint> taken;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget != this && widget->isVisible() && qobject_cast<ZChat *>(widget))
            taken.append(widget->pos());
    }
    QPoint position = start;
    const QScreen *screen = this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    for (int i = 0; i < 32 && taken.contains(position); ++i) {
        position += QPoint(step, step);
        if (available.isValid() && !available.contains(position + QPoint(width() / 2, height() / 2)))
            position = available.topLeft() + QPoint(step * (i + 1), 0); // back to the top, a little right
    }
    return position;
}

void ZChat::storeChatGeometry()
{
    ZChatTab *tab = currentTab();
    if (!tab || tab->multichat || tab->randomChat)
        return;
    const QString id = contactKey();
    if (id.isEmpty())
        return;
    // Where the outer frame sits (placing the window moves the frame) and how
    // big the inside is (the frame's size is unknown before the window is
    // first shown): a chat reopens exactly where it was and as big, instead
    // of creeping down by its title bar or growing by its frame every time.
    const QRect rect(frameGeometry().topLeft(), geometry().size());
    auto *settings = ZSettings::instance();
    settings->set(QStringLiteral("chat_x_%1").arg(id), rect.x(), zchatGroup);
    settings->set(QStringLiteral("chat_y_%1").arg(id), rect.y(), zchatGroup);
    settings->set(QStringLiteral("chat_w_%1").arg(id), rect.right() - rect.left() + 1, zchatGroup);
    settings->set(QStringLiteral("chat_h_%1").arg(id), rect.bottom() - rect.top() + 1, zchatGroup);
}

void ZChat::hideEvent(QHideEvent *event)
{
    // Minimising hides spontaneously, also while a window opened minimised
    // is still being placed: its place then is no place to reopen at.
    if (!event->spontaneous())
        storeChatGeometry();
    ZWindow::hideEvent(event);
}

void ZChat::closeEvent(QCloseEvent *event)
{
    ZChatTab *tab = currentTab();
    if (m_hidEmitted || !tab) {
        // A second close of a window already on its way out, or one without
        // a conversation: nothing to ask, nothing to report twice.
        if (!m_hidEmitted) {
            m_hidEmitted = true;
            emit hid();
        }
        ZWindow::closeEvent(event);
        return;
    }
    const int cards = tab->cardList->size();
    if (tab->multichat) {
        if (cards > 0 && tab->multichatId != ZChatTab::noId) {
            const QString text = tab->multiChatOwner ? tr("Do you really want to quit the Multi Chat?")
                                                     : tr("Do you really want to leave the Multi Chat?");
            if (ZMessageBox::question(this, tr("Close Multi Chat"), text) != QMessageBox::Yes) {
                event->ignore();
                return;
            }
            emit action(QStringLiteral("exitmc"));
        } else {
            emit action(QStringLiteral("exit"));
        }
    } else if (tab->randomChat) {
        if (tab->randomChatId != ZChatTab::noId) {
            // Once the partner has left there is nothing to lose and no
            // question, but the server still hears that the user quit.
            if (cards > 0
                && ZMessageBox::question(this, tr("Close Random Chat"),
                                         tr("Do you really want to quit the Random Chat?"))
                       != QMessageBox::Yes) {
                event->ignore();
                return;
            }
            emit action(QStringLiteral("exitrc"));
        } else {
            emit action(QStringLiteral("exit"));
        }
    } else {
        storeChatGeometry();
        if (tab->noLog)
            emit action(QStringLiteral("exitnolog"));
    }
    m_hidEmitted = true;
    emit hid();
    ZWindow::closeEvent(event);
}

// Drag and drop ---------------------------------------------------------------

Zr::ClientApplication ZChat::classifyFiles(const QStringList &paths)
{
    auto all = [&paths](auto predicate) {
        return !paths.isEmpty() && std::all_of(paths.cbegin(), paths.cend(), predicate);
    };
    if (all([](const QString &p) { return p.toLower().endsWith(QLatin1String(".mp3")); }))
        return Zr::ClientApplication(14);
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    auto isImage = [&formats](const QString &p) {
        const QString lower = p.toLower();
        return std::any_of(formats.cbegin(), formats.cend(), [&lower](const QByteArray &f) {
            return lower.endsWith(QLatin1Char('.') + QString::fromLatin1(f).toLower());
        });
    };
    if (all(isImage))
        return Zr::ClientApplication(16);
    return Zr::ClientApplication(7);
}

void ZChat::dragEnterEvent(QDragEnterEvent *event)
{
    // A chat tab being dragged is not something to drop into a chat.
    if (event->mimeData()->hasFormat(tabMimeType)) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void ZChat::dropEvent(QDropEvent *event)
{
    handleDrop(event->mimeData());
    event->acceptProposedAction();
}

void ZChat::handleDrop(const QMimeData *mime)
{
    ZChatTab *tab = currentTab();
    if (mime->hasHtml()) {
        if (!tab)
            return;
        // Another program's HTML: parsing loads background pictures, so only
        // through the rule messages follow (no /dev/zero, no local files).
        GuardedTextDocument doc;
        doc.setHtml(mime->html());
        tab->input->textCursor().insertText(doc.toPlainText().simplified());
        tab->input->setFocus();
        return;
    }
    if (mime->hasImage()) {
        const QImage image = qvariant_cast<QImage>(mime->imageData());
        // A file of its own in the user's folder: the message reads it only
        // when sent, so a shared name let the next drop (in any window, or
        // another instance) replace the picture, and the system's temporary
        // folder is open to everyone's files and links.
        QTemporaryFile file(ZDir::tempPath(true) + QStringLiteral("/dropped-XXXXXX.jpg"));
        file.setAutoRemove(false);
        if (image.isNull() || !file.open() || !image.save(&file, "JPEG", 100)) {
            file.remove();
            return; // nothing usable to hand on
        }
        const QString path = file.fileName();
        file.close();
        if (tab && image.width() <= inlineImageLimit && image.height() <= inlineImageLimit)
            tab->insertImage(path);
        else
            emit droppedFiles({path}, Zr::ClientApplication(16));
        return;
    }
    QStringList paths;
    if (mime->hasText() && !mime->hasUrls()) {
        paths = mime->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (QString &p : paths)
            p = p.trimmed();
        paths.removeAll(QString());
    } else if (mime->hasUrls()) {
        for (const QUrl &url : mime->urls()) {
            if (url.isLocalFile())
                paths.append(url.toLocalFile());
        }
    }
    if (!paths.isEmpty())
        emit droppedFiles(paths, classifyFiles(paths));
}

} // namespace zubrel
