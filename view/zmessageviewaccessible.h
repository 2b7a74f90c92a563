#pragma once
// What a screen reader sees of the message view. The view paints its
// entries by hand, so Qt's own text-edit interface would offer an empty
// document; this one offers a list with one item per entry (sender and time
// as its name, the plain text as its description and value), followed by
// the view's own child widgets such as the find bar.
//
// Entry items are created on demand and kept in Qt's accessible cache under
// their entry number; they follow the entries when older history is placed
// above, and are dropped when the view is emptied or goes away, so nobody is
// left holding an item of a vanished entry.

#include <QAccessible>
#include <QAccessibleWidget>
#include <QMetaObject>
#include <QPointer>

#include <map>

namespace zubrel {

class ZMessageView;

class ZMessageViewAccessible : public QAccessibleWidget
{
public:
    explicit ZMessageViewAccessible(ZMessageView *view);
    ~ZMessageViewAccessible() override;

    // Registers the interface factory with Qt (once per process).
    static void install();
    // The view's hooks. Each does nothing until an interface exists.
    static void entryAppended(ZMessageView *view, int index);
    static void cleared(ZMessageView *view);

    QAccessible::Role role() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    // The item of one entry, created when first asked for.
    QAccessibleInterface *entryItem(int index) const;

private:
    ZMessageView *view() const;
    QWidgetList extraChildren() const;
    void shiftEntries(int by);
    void dropEntries();

    mutable std::map<int, QAccessible::Id> m_entries;
    QMetaObject::Connection m_prepended;
    const ZMessageView *m_key; // the view, also while it is being destroyed
};

} // namespace zubrel
