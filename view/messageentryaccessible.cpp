#include "messageentryaccessible.h"

#include "zmessageview.h"

#include <QCoreApplication>
#include <QScrollBar>
#include <QWidget>
#include <QWindow>

namespace zubrel {

namespace {
QString noticeName(MessageTemplates::Kind kind)
{
    switch (kind) {
    case MessageTemplates::Notify: return QCoreApplication::translate("zubrel::MessageEntryAccessible", "Notice");
    case MessageTemplates::Error: return QCoreApplication::translate("zubrel::MessageEntryAccessible", "Error");
    case MessageTemplates::Blocked: return QCoreApplication::translate("zubrel::MessageEntryAccessible", "Blocked message");
    default: return QCoreApplication::translate("zubrel::MessageEntryAccessible", "System message");
    }
}
} // namespace

MessageEntryAccessible::MessageEntryAccessible(ZMessageView *view, int index)
    : m_view(view)
    , m_index(index)
{
}

bool MessageEntryAccessible::isValid() const
{
    return m_view && m_index >= 0 && m_index < m_view->entryCount();
}

QObject *MessageEntryAccessible::object() const
{
    // No object of its own: the cache files the view under the view's
    // interface, which must not be replaced by an entry's.
    return nullptr;
}

QWindow *MessageEntryAccessible::window() const
{
    return m_view ? m_view->window()->windowHandle() : nullptr;
}

QAccessibleInterface *MessageEntryAccessible::childAt(int, int) const { return nullptr; }

QAccessibleInterface *MessageEntryAccessible::parent() const
{
    return m_view ? QAccessible::queryAccessibleInterface(m_view.data()) : nullptr;
}

QAccessibleInterface *MessageEntryAccessible::child(int) const { return nullptr; }
int MessageEntryAccessible::childCount() const { return 0; }
int MessageEntryAccessible::indexOfChild(const QAccessibleInterface *) const { return -1; }

QString MessageEntryAccessible::plainText() const
{
    return isValid() ? m_view->entryPlainText(m_index).trimmed() : QString();
}

QString MessageEntryAccessible::text(QAccessible::Text t) const
{
    if (!isValid())
        return {};
    const MessageEntry &entry = m_view->entryData(m_index);
    switch (t) {
    case QAccessible::Name: {
        // Continuations keep their sender and time too: a reader moving
        // item by item hears who wrote each one.
        const QString who = MessageTemplates::isNotice(entry.kind) ? noticeName(entry.kind) : entry.alias;
        if (entry.time.isEmpty())
            return who;
        return QCoreApplication::translate("zubrel::MessageEntryAccessible", "%1, %2").arg(who, entry.time);
    }
    case QAccessible::Description:
    case QAccessible::Value:
        return plainText();
    default:
        return {};
    }
}

QString MessageEntryAccessible::announcement() const
{
    if (!isValid())
        return {};
    const MessageEntry &entry = m_view->entryData(m_index);
    if (MessageTemplates::isNotice(entry.kind))
        return plainText();
    return QCoreApplication::translate("zubrel::MessageEntryAccessible", "%1: %2").arg(entry.alias, plainText());
}

void MessageEntryAccessible::setText(QAccessible::Text, const QString &) {}

QRect MessageEntryAccessible::rect() const
{
    if (!isValid())
        return {};
    const QRect local = m_view->entryRect(m_index);
    return QRect(m_view->viewport()->mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role MessageEntryAccessible::role() const
{
    return QAccessible::ListItem;
}

QAccessible::State MessageEntryAccessible::state() const
{
    QAccessible::State state;
    if (!isValid()) {
        state.invalid = true;
        return state;
    }
    state.readOnly = true;
    state.selectable = true;
    state.selectableText = true;
    state.selected = m_view->isEntrySelected(m_index);
    state.focusable = true;
    state.focused = m_view->hasFocus() && m_view->readerFocus() == m_index;
    const bool shown = m_view->isVisible() && m_view->viewport()->rect().intersects(m_view->entryRect(m_index));
    state.invisible = !m_view->isVisible();
    state.offscreen = !shown;
    return state;
}

void *MessageEntryAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return nullptr;
}

void MessageEntryAccessible::selection(int, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
}

int MessageEntryAccessible::selectionCount() const { return 0; }
void MessageEntryAccessible::addSelection(int, int) {}
void MessageEntryAccessible::removeSelection(int) {}
void MessageEntryAccessible::setSelection(int, int, int) {}
int MessageEntryAccessible::cursorPosition() const { return 0; }
void MessageEntryAccessible::setCursorPosition(int) {}

QString MessageEntryAccessible::text(int startOffset, int endOffset) const
{
    const QString all = plainText();
    if (startOffset < 0 || endOffset < startOffset || startOffset > all.size())
        return {};
    return all.mid(startOffset, endOffset - startOffset);
}

int MessageEntryAccessible::characterCount() const
{
    return int(plainText().size());
}

QRect MessageEntryAccessible::characterRect(int) const
{
    // Characters are not laid out one by one for readers; the entry's own
    // rectangle is the nearest honest answer.
    return rect();
}

int MessageEntryAccessible::offsetAtPoint(const QPoint &) const
{
    return -1;
}

void MessageEntryAccessible::scrollToSubstring(int, int)
{
    if (isValid())
        m_view->scrollToEntry(m_index);
}

QString MessageEntryAccessible::attributes(int, int *startOffset, int *endOffset) const
{
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
}

} // namespace zubrel
