#include "zmessageviewaccessible.h"

#include "messageentryaccessible.h"
#include "zmessageview.h"

#include <QCoreApplication>
#include <QHash>

namespace zubrel {

namespace {
// The interfaces alive now, so the view's hooks can reach its interface
// without creating one when nobody asked for it.
QHash<const ZMessageView *, ZMessageViewAccessible *> &live()
{
    static QHash<const ZMessageView *, ZMessageViewAccessible *> interfaces;
    return interfaces;
}

QAccessibleInterface *factory(const QString &className, QObject *object)
{
    if (className != QLatin1String("zubrel::ZMessageView") || !object || !object->isWidgetType())
        return nullptr;
    return new ZMessageViewAccessible(static_cast<ZMessageView *>(object));
}

// Entries from someone else and the program's notices are spoken as they
// arrive; the user's own and history records are not news.
bool isNews(MessageTemplates::Kind kind)
{
    return kind != MessageTemplates::Own && kind != MessageTemplates::Log;
}
} // namespace

ZMessageViewAccessible::ZMessageViewAccessible(ZMessageView *view)
    : QAccessibleWidget(view, QAccessible::List)
    , m_key(view)
{
    live().insert(view, this);
    m_prepended = QObject::connect(view, &ZMessageView::entriesPrepended, view, [this](int count) {
        shiftEntries(count);
        QAccessibleEvent reorder(this->view(), QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&reorder);
    });
}

ZMessageViewAccessible::~ZMessageViewAccessible()
{
    QObject::disconnect(m_prepended);
    live().remove(m_key);
    dropEntries();
}

void ZMessageViewAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

ZMessageView *ZMessageViewAccessible::view() const
{
    return static_cast<ZMessageView *>(widget());
}

void ZMessageViewAccessible::entryAppended(ZMessageView *view, int index)
{
    // Without assistive technology listening, and nobody having asked for
    // the view, no interface is made.
    ZMessageViewAccessible *self = live().value(view);
    if (!self && QAccessible::isActive())
        self = dynamic_cast<ZMessageViewAccessible *>(QAccessible::queryAccessibleInterface(view));
    if (!self)
        return;
    auto *item = static_cast<MessageEntryAccessible *>(self->entryItem(index));
    QAccessibleEvent created(item, QAccessible::ObjectCreated);
    QAccessible::updateAccessibility(&created);
    if (!isNews(view->entryData(index).kind))
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent announcement(view, item->announcement());
    QAccessible::updateAccessibility(&announcement);
#else
    // Qt of this age has no announcement event; an alert on the new item is
    // what bridges forward to readers as "something arrived".
    QAccessibleEvent alert(view, QAccessible::Alert);
    alert.setChild(index);
    QAccessible::updateAccessibility(&alert);
#endif
}

void ZMessageViewAccessible::cleared(ZMessageView *view)
{
    ZMessageViewAccessible *self = live().value(view);
    if (!self)
        return;
    self->dropEntries();
    QAccessibleEvent reorder(view, QAccessible::ObjectReorder);
    QAccessible::updateAccessibility(&reorder);
}

QAccessible::Role ZMessageViewAccessible::role() const
{
    return QAccessible::List;
}

QString ZMessageViewAccessible::text(QAccessible::Text t) const
{
    QString text = QAccessibleWidget::text(t);
    if (t == QAccessible::Name && text.isEmpty())
        text = QCoreApplication::translate("zubrel::ZMessageViewAccessible", "Conversation");
    return text;
}

QWidgetList ZMessageViewAccessible::extraChildren() const
{
    // Widgets laid over the conversation (the find bar); not the viewport
    // and the scroll bars, which readers do not need.
    QWidgetList out;
    const QWidget *viewport = view()->viewport();
    for (QObject *child : view()->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (w && w != viewport && !w->isWindow() && !w->isHidden()
            && !w->objectName().startsWith(QLatin1String("qt_scrollarea")))
            out << w;
    }
    return out;
}

int ZMessageViewAccessible::childCount() const
{
    return view()->entryCount() + int(extraChildren().size());
}

QAccessibleInterface *ZMessageViewAccessible::child(int index) const
{
    const int entries = view()->entryCount();
    if (index < 0)
        return nullptr;
    if (index < entries)
        return entryItem(index);
    const QWidgetList extras = extraChildren();
    return index - entries < extras.size() ? QAccessible::queryAccessibleInterface(extras.at(index - entries))
                                           : nullptr;
}

int ZMessageViewAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    if (!child)
        return -1;
    if (auto *item = dynamic_cast<const MessageEntryAccessible *>(child)) {
        const auto found = m_entries.find(item->index());
        const bool ours = found != m_entries.end()
                          && QAccessible::accessibleInterface(found->second) == child;
        return ours && item->isValid() ? item->index() : -1;
    }
    const int at = int(extraChildren().indexOf(qobject_cast<QWidget *>(child->object())));
    return at < 0 ? -1 : view()->entryCount() + at;
}

QAccessibleInterface *ZMessageViewAccessible::childAt(int x, int y) const
{
    const QPoint global(x, y);
    for (QWidget *extra : extraChildren()) {
        if (extra->rect().contains(extra->mapFromGlobal(global)))
            return QAccessible::queryAccessibleInterface(extra);
    }
    const QPoint local = view()->viewport()->mapFromGlobal(global);
    if (!view()->viewport()->rect().contains(local))
        return nullptr;
    const int index = view()->entryAt(local);
    return index < 0 ? nullptr : entryItem(index);
}

QAccessibleInterface *ZMessageViewAccessible::entryItem(int index) const
{
    if (index < 0 || index >= view()->entryCount())
        return nullptr;
    const auto found = m_entries.find(index);
    if (found != m_entries.end()) {
        if (QAccessibleInterface *known = QAccessible::accessibleInterface(found->second))
            return known;
        m_entries.erase(found);
    }
    auto *item = new MessageEntryAccessible(view(), index); // owned by Qt's cache
    m_entries.emplace(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

void ZMessageViewAccessible::shiftEntries(int by)
{
    std::map<int, QAccessible::Id> moved;
    for (const auto &[index, id] : m_entries) {
        if (auto *item = static_cast<MessageEntryAccessible *>(QAccessible::accessibleInterface(id))) {
            item->setIndex(index + by);
            moved.emplace(index + by, id);
        }
    }
    m_entries.swap(moved);
}

void ZMessageViewAccessible::dropEntries()
{
    const std::map<int, QAccessible::Id> entries = std::exchange(m_entries, {});
    for (const auto &entry : entries)
        QAccessible::deleteAccessibleInterface(entry.second);
}

} // namespace zubrel
