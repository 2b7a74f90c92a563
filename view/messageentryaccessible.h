#pragma once
// One entry of the message view as a screen reader sees it: a list item
// named after its sender and time (or the kind of notice), whose
// description, value and text are the entry's plain text. It holds the view
// weakly and only an entry number, which the view's interface moves when
// older entries are placed above; once its entry or view is gone it reports
// itself invalid instead of reading freed memory.

#include <QAccessible>
#include <QPointer>

namespace zubrel {

class ZMessageView;

class MessageEntryAccessible : public QAccessibleInterface, public QAccessibleTextInterface
{
public:
    MessageEntryAccessible(ZMessageView *view, int index);

    int index() const { return m_index; }
    void setIndex(int index) { m_index = index; }
    // What a screen reader should say when the entry arrives.
    QString announcement() const;

    bool isValid() const override;
    QObject *object() const override;
    QWindow *window() const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // QAccessibleTextInterface over the entry's plain text; the view keeps
    // one selection, so an entry reports none of its own.
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    QString plainText() const;

    QPointer<ZMessageView> m_view;
    int m_index = 0;
};

} // namespace zubrel
