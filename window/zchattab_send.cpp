// Typing, enabling the send button and sending from the tab's input.
#include "zchattab.h"

#include "zmessageview.h"
#include "zsettings.h"
#include "ztextedit.h"

#include <QImage>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QToolBar>

namespace zubrel {

namespace {
// The part of the input's HTML between the end of the first paragraph start
// tag and the last "</p>": the message body without document boilerplate.
QString bodyOfInputHtml(const QString &html)
{
    const int p = html.indexOf(QLatin1String("<p"));
    const int start = p < 0 ? -1 : html.indexOf(QLatin1Char('>'), p);
    const int end = html.lastIndexOf(QLatin1String("</p>"));
    if (start < 0 || end <= start)
        return html;
    return html.mid(start + 1, end - start - 1);
}
} // namespace

void ZChatTab::slotEnableSendTimer() { QTimer::singleShot(20, this, &ZChatTab::slotEnableSend); }
void ZChatTab::slotSendTimer() { QTimer::singleShot(20, this, &ZChatTab::slotSend); }
void ZChatTab::slotHistoryChangedTimer() { QTimer::singleShot(20, this, &ZChatTab::slotHistoryChanged); }
void ZChatTab::slotMoveOutputWidgetsTimer()
{
    // Every message moves the view (twice when it follows the bottom): one
    // pending placement covers them all instead of a timer object for each.
    if (!m_moveOutputTimer.isActive())
        m_moveOutputTimer.start(20, this);
}
void ZChatTab::slotMoveWidgetsTimer() { QTimer::singleShot(20, this, &ZChatTab::slotMoveWidgets); }

void ZChatTab::slotEnableSend()
{
    const QString text = input->toPlainText();
    const bool hasText = !text.isEmpty();
    emit selectAll(hasText);
    m_sendButton->setEnabled(hasText);
    if (!hasText)
        return;
    // At most one typing notice per interval, however fast the user types.
    if (!m_typingTimer.isActive()) {
        m_typingTimer.start(m_typingInterval);
        emit typing();
    }
    if (m_fontToolBar && m_fontToolBar->isVisible() && !m_fontClosing)
        hideSlidingToolBar(m_fontToolBar);
    if (text.back().isSpace() && !otherNetwork && hooks().replaceWhileTyping)
        hooks().replaceWhileTyping(this);
}

void ZChatTab::slotIsTypingStop()
{
    m_typingTimer.stop();
}

void ZChatTab::slotSend()
{
    // A read-only input belongs to a conversation that has ended.
    if (input->isReadOnly() || input->toPlainText().trimmed().isEmpty())
        return;
    const QString html = hooks().convertForSend ? hooks().convertForSend(this)
                                                : bodyOfInputHtml(input->toHtml());
    renderOwn(html, false);
    if (m_sound)
        playSound(QStringLiteral("zubrel_contact_chatmessage_out.wav"));
    input->setPlainText(QString());
    input->setFocus();
    m_typingTimer.stop();
    emit sendHtml(html);
}

void ZChatTab::slotContentChange(int pos, int removed, int added)
{
    if (removed > 0)
        applyToolbarFormat();
    if (added > 0 && !input->document()->isEmpty() && m_sound && m_typingSoundAllowed)
        playSound(QStringLiteral("zubrel_typewriter.wav"));
    if (removed > 0) {
        if (hooks().inputRangeRemoved)
            hooks().inputRangeRemoved(this, pos, removed);
        QTimer::singleShot(40, this, &ZChatTab::slotMoveWidgets);
    }
}

void ZChatTab::slotMoveWidgets()
{
    if (hooks().moveInputWidgets)
        hooks().moveInputWidgets(this);
}

void ZChatTab::slotMoveOutputWidgets()
{
    if (hooks().moveViewWidgets)
        hooks().moveViewWidgets(this);
}

void ZChatTab::slotHistoryChanged()
{
    emit selectAllBrowser(view->entryCount() > 0);
    slotScrollDown();
}

void ZChatTab::slotScrollDown()
{
    view->scrollToBottom();
}

void ZChatTab::insertImage(const QString &fileName)
{
    if (input->isReadOnly() || QImage(fileName).isNull())
        return;
    QTextImageFormat image;
    image.setName(fileName);
    // A new drop of the same temporary file must not show a cached picture.
    input->document()->addResource(QTextDocument::ImageResource, QUrl(fileName), QImage(fileName));
    QTextCursor cursor = input->textCursor();
    cursor.insertImage(image);
    input->setFocus();
}

void ZChatTab::addSmiley()
{
    emit smileyAddRequested();
}

void ZChatTab::slotInsertSmiley(const QString &picture)
{
    if (input->isReadOnly())
        return;
    if (hooks().insertSmiley) {
        hooks().insertSmiley(this, picture);
        return;
    }
    // Without the emoticon machinery the picture goes in as a plain image,
    // quietly: inserting is not typing.
    m_typingSoundAllowed = false;
    QTextCursor cursor = input->textCursor();
    cursor.beginEditBlock();
    cursor.insertHtml(QStringLiteral("<img src=\"%1\" />").arg(picture.toHtmlEscaped()));
    cursor.insertText(QStringLiteral(" "));
    cursor.endEditBlock();
    m_typingSoundAllowed = true;
}

} // namespace zubrel
