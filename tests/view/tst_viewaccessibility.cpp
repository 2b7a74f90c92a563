// What a screen reader gets from the hand-painted message view: one list
// item per entry in order, news announced as it arrives, items that follow
// their entries when history is placed above and vanish with them.

#include "zmessageview.h"

#include <QAccessible>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTestAccessibility>

using namespace zubrel;

namespace {
const QDateTime t0(QDate(2024, 3, 7), QTime(14, 5, 0));

// "type:entry" of each creation and alert since the last dropEvents().
QStringList events(QAccessibleInterface *list)
{
    QStringList out;
    for (QAccessibleEvent *event : QTestAccessibility::events()) {
        const int entry = list->indexOfChild(event->accessibleInterface());
        if (event->type() == QAccessible::ObjectCreated || event->type() == QAccessible::Alert)
            out << QStringLiteral("%1:%2").arg(int(event->type()), 0, 16).arg(entry);
    }
    return out;
}

// QTestAccessibility::clearEvents() forgets its copies of the events
// without deleting them.
void dropEvents()
{
    qDeleteAll(QTestAccessibility::events());
    QTestAccessibility::clearEvents();
}
} // namespace

class tst_ViewAccessibility : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QTestAccessibility::initialize();
        // Events are sent only while accessibility is on, which takes a
        // bus a screen reader would listen on (tests/accessibilitybus.sh).
        m_bus = qEnvironmentVariableIsSet("ZUBREL_ACCESSIBILITY_BUS");
        if (m_bus)
            QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 60000);
    }

    // The accessible tree of a chat with three entries: roles, names,
    // texts, order, states, geometry and the way back to the list.
    void treeOfThreeEntries()
    {
        ZMessageView view;
        view.resize(400, 300);
        view.show();
        view.appendIncoming(QStringLiteral("Hello <b>there</b>"), QStringLiteral("Anna <A>"), QStringLiteral("a"),
                            t0, false, false);
        view.appendOwn(QStringLiteral("Hi&nbsp;Anna"), QStringLiteral("Me"), QStringLiteral("me"), t0.addSecs(60));
        view.appendNotice(MessageTemplates::Error, QStringLiteral("Anna is offline"), t0.addSecs(120));

        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&view);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Conversation"));
        QCOMPARE(list->childCount(), 3);
        const QStringList names{"Anna <A>, 14:05", "Me, 14:06", "Error, 14:07"};
        const QStringList texts{"Hello there", "Hi Anna", "Anna is offline"};
        for (int i = 0; i < 3; ++i) {
            QAccessibleInterface *item = list->child(i);
            QCOMPARE(item->role(), QAccessible::ListItem);
            QCOMPARE(item->text(QAccessible::Name), names.at(i));
            QCOMPARE(item->text(QAccessible::Description), texts.at(i));
            QCOMPARE(item->textInterface()->text(0, item->textInterface()->characterCount()), texts.at(i));
            QCOMPARE(list->indexOfChild(item), i);
            QCOMPARE(item->parent(), list);
            QCOMPARE(list->child(i), item); // asked again: the same item
            QVERIFY(item->state().selectable && !item->state().selected && !item->state().offscreen);
            QCOMPARE(list->childAt(item->rect().center().x(), item->rect().center().y()), item);
        }
        QVERIFY(!list->child(3));
        view.selectAll();
        QVERIFY(list->child(1)->state().selected);

        // Out of sight and overlays: the find bar follows the entries.
        for (int i = 0; i < 30; ++i)
            view.appendNotice(MessageTemplates::System, QString::number(i), t0);
        view.scrollToBottom();
        QVERIFY(list->child(0)->state().offscreen && !list->child(32)->state().offscreen);
        QWidget bar(&view);
        bar.setAccessibleName(QStringLiteral("bar"));
        bar.show();
        QCOMPARE(list->childCount(), 34);
        QCOMPARE(list->child(33)->text(QAccessible::Name), QStringLiteral("bar"));
        QCOMPARE(list->indexOfChild(list->child(33)), 33);
    }

    // Incoming entries and notices are announced as they arrive; the
    // user's own and history records only join the tree.
    void newEntriesAnnounced()
    {
        if (!m_bus)
            QSKIP("runs as tst_viewaccessibility_bus");
        ZMessageView view;
        view.show();
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&view);
        dropEvents();
        view.appendLog(QStringLiteral("old"), QStringLiteral("Anna"), QStringLiteral("a"), t0);
        view.appendOwn(QStringLiteral("mine"), QStringLiteral("Me"), QStringLiteral("me"), t0);
        view.appendIncoming(QStringLiteral("news"), QStringLiteral("Anna"), QStringLiteral("a"), t0, false, false);
        view.appendNotice(MessageTemplates::System, QStringLiteral("Anna left"), t0);
        // ObjectCreated (8000) for each, Alert (2) on the incoming and the notice.
        QCOMPARE(events(list), QStringList({"8000:0", "8000:1", "8000:2", "2:2", "8000:3", "2:3"}));
        QCOMPARE(list->child(2)->text(QAccessible::Description), QStringLiteral("news"));
    }

    // Items keep following their entries when older history is placed
    // above, and vanish when the view is emptied or destroyed.
    void itemsFollowAndVanish()
    {
        auto view = std::make_unique<ZMessageView>();
        view->appendIncoming(QStringLiteral("first"), QStringLiteral("Anna"), QStringLiteral("a"), t0, false, false);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(view.get());
        const QAccessible::Id first = QAccessible::uniqueId(list->child(0));

        view->prependLog({{QStringLiteral("older 1"), QStringLiteral("Bo"), QStringLiteral("b"), t0.addDays(-1)},
                          {QStringLiteral("older 2"), QStringLiteral("Bo"), QStringLiteral("b"), t0.addDays(-1)}});
        QCOMPARE(QAccessible::uniqueId(list->child(2)), first);
        QCOMPARE(list->indexOfChild(list->child(2)), 2);
        QCOMPARE(list->child(2)->text(QAccessible::Description), QStringLiteral("first"));
        QCOMPARE(list->child(0)->text(QAccessible::Description), QStringLiteral("older 1"));

        const QAccessible::Id older = QAccessible::uniqueId(list->child(0));
        view->clearView();
        QVERIFY(!QAccessible::accessibleInterface(first) && !QAccessible::accessibleInterface(older));
        QCOMPARE(list->childCount(), 0);

        view->appendOwn(QStringLiteral("again"), QStringLiteral("Me"), QStringLiteral("me"), t0);
        const QAccessible::Id again = QAccessible::uniqueId(list->child(0));
        const QAccessible::Id listId = QAccessible::uniqueId(list);
        view.reset();
        QVERIFY(!QAccessible::accessibleInterface(again) && !QAccessible::accessibleInterface(listId));
    }

    // Up and Down read entry by entry, Home and End go to the ends: the
    // entry is scrolled into sight, reported focused and, with a reader
    // listening, named in a focus event. Shift+Up still selects, Page Up
    // still scrolls, and older history above keeps the focus on its entry.
    void readerFocusByKeys()
    {
        ZMessageView view;
        view.resize(400, 200);
        view.show();
        for (int i = 0; i < 40; ++i)
            view.appendIncoming(QString::number(i), QStringLiteral("Anna"), QStringLiteral("a"), t0.addSecs(3600 * i),
                                false, false);
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        view.setFocus();
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&view);
        dropEvents();
        QStringList expected;
        // The first step lands on the bottom entry; the ends hold.
        for (auto [key, index] : {std::pair{Qt::Key_Up, 39}, {Qt::Key_Up, 38}, {Qt::Key_Home, 0}, {Qt::Key_Up, 0},
                                  {Qt::Key_Down, 1}, {Qt::Key_End, 39}, {Qt::Key_Down, 39}}) {
            QTest::keyClick(&view, key);
            QCOMPARE(view.readerFocus(), index);
            QVERIFY(view.viewport()->rect().contains(view.entryRect(index)));
            QVERIFY(list->child(index)->state().focused && !list->child(index ? 0 : 1)->state().focused);
            expected << QString::number(index);
        }
        QStringList named;
        for (QAccessibleEvent *event : QTestAccessibility::events()) {
            if (event->type() == QAccessible::Focus)
                named << list->child(list->indexOfChild(event->accessibleInterface()))->text(QAccessible::Description);
        }
        QCOMPARE(named, m_bus ? expected : QStringList());

        QTest::keyClick(&view, Qt::Key_Up, Qt::ShiftModifier);
        QVERIFY(view.hasSelection() && view.readerFocus() == 39);
        const int value = view.verticalScrollBar()->value();
        QTest::keyClick(&view, Qt::Key_PageUp);
        QVERIFY(view.verticalScrollBar()->value() < value);
        view.prependLog({{QStringLiteral("older"), QStringLiteral("Bo"), QStringLiteral("b"), t0.addDays(-1)}});
        QCOMPARE(view.readerFocus(), 40);
        view.clearView();
        QCOMPARE(view.readerFocus(), -1);
    }

    void cleanupTestCase() { dropEvents(); }

private:
    bool m_bus = false;
};

QTEST_MAIN(tst_ViewAccessibility)
#include "tst_viewaccessibility.moc"
