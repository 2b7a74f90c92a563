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

QList<QAccessible::Event> eventsFor(QAccessible::Event type, int *child = nullptr)
{
    QList<QAccessible::Event> out;
    for (QAccessibleEvent *event : QTestAccessibility::events()) {
        if (event->type() == type) {
            out << type;
            if (child)
                *child = event->child();
        }
    }
    return out;
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
    void init() { QTestAccessibility::clearEvents(); }

    // The accessible tree of a chat with three entries: roles, names,
    // texts, order, and the way back from each item to its list.
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
        QVERIFY(list);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Conversation"));
        QCOMPARE(list->childCount(), 3);
        const QStringList names{QStringLiteral("Anna <A>, 14:05"), QStringLiteral("Me, 14:06"),
                                QStringLiteral("Error, 14:07")};
        const QStringList texts{QStringLiteral("Hello there"), QStringLiteral("Hi Anna"),
                                QStringLiteral("Anna is offline")};
        for (int i = 0; i < 3; ++i) {
            QAccessibleInterface *item = list->child(i);
            QVERIFY(item && item->isValid());
            QCOMPARE(item->role(), QAccessible::ListItem);
            QCOMPARE(item->text(QAccessible::Name), names.at(i));
            QCOMPARE(item->text(QAccessible::Description), texts.at(i));
            QCOMPARE(item->text(QAccessible::Value), texts.at(i));
            QCOMPARE(item->textInterface()->text(0, item->textInterface()->characterCount()), texts.at(i));
            QCOMPARE(list->indexOfChild(item), i);
            QCOMPARE(item->parent(), list);
            QCOMPARE(list->child(i), item); // asked again: the same item
            QVERIFY(item->state().selectable && !item->state().selected && !item->state().offscreen);
            QVERIFY(list->rect().contains(item->rect()));
            QCOMPARE(list->childAt(item->rect().center().x(), item->rect().center().y()), item);
        }
        QVERIFY(!list->child(3));
        QVERIFY(!list->child(-1));

        view.selectAll();
        QVERIFY(list->child(1)->state().selected);
        view.clearSelection();
        QVERIFY(!list->child(1)->state().selected);
    }

    // Entries out of sight say so; the find bar over the view is part of
    // the tree after the entries while it is shown.
    void offscreenAndOverlays()
    {
        ZMessageView view;
        view.resize(300, 120);
        view.show();
        for (int i = 0; i < 30; ++i)
            view.appendIncoming(QStringLiteral("line %1").arg(i), QStringLiteral("Bo"), QString::number(i % 2),
                                t0.addSecs(i), false, false);
        view.scrollToBottom();
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(list->child(0)->state().offscreen);
        QVERIFY(!list->child(29)->state().offscreen);

        QWidget bar(&view);
        bar.setAccessibleName(QStringLiteral("bar"));
        bar.show();
        QCOMPARE(list->childCount(), 31);
        QCOMPARE(list->child(30)->text(QAccessible::Name), QStringLiteral("bar"));
        QCOMPARE(list->indexOfChild(list->child(30)), 30);
        bar.hide();
        QCOMPARE(list->childCount(), 30);
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
        view.appendLog(QStringLiteral("old"), QStringLiteral("Anna"), QStringLiteral("a"), t0);
        view.appendOwn(QStringLiteral("mine"), QStringLiteral("Me"), QStringLiteral("me"), t0);
        QCOMPARE(eventsFor(QAccessible::ObjectCreated).size(), 2);
        QVERIFY(eventsFor(QAccessible::Alert).isEmpty());

        QTestAccessibility::clearEvents();
        view.appendIncoming(QStringLiteral("news"), QStringLiteral("Anna"), QStringLiteral("a"), t0, false, false);
        int child = -1;
        QCOMPARE(eventsFor(QAccessible::Alert, &child).size(), 1);
        QCOMPARE(child, 2);
        QAccessibleEvent *created = QTestAccessibility::events().first();
        QCOMPARE(created->type(), QAccessible::ObjectCreated);
        QCOMPARE(created->accessibleInterface(), list->child(2));
        QCOMPARE(list->child(2)->text(QAccessible::Description), QStringLiteral("news"));

        QTestAccessibility::clearEvents();
        view.appendNotice(MessageTemplates::System, QStringLiteral("Anna left"), t0);
        QCOMPARE(eventsFor(QAccessible::Alert, &child).size(), 1);
        QCOMPARE(child, 3);
    }

    // Items keep following their entries when older history is placed
    // above, and vanish when the view is emptied or destroyed.
    void itemsFollowAndVanish()
    {
        auto view = std::make_unique<ZMessageView>();
        view->show();
        view->appendIncoming(QStringLiteral("first"), QStringLiteral("Anna"), QStringLiteral("a"), t0, false, false);
        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(view.get());
        const QAccessible::Id first = QAccessible::uniqueId(list->child(0));

        view->prependLog({{QStringLiteral("older 1"), QStringLiteral("Bo"), QStringLiteral("b"), t0.addDays(-1)},
                          {QStringLiteral("older 2"), QStringLiteral("Bo"), QStringLiteral("b"), t0.addDays(-1)}});
        QCOMPARE(list->childCount(), 3);
        QCOMPARE(QAccessible::uniqueId(list->child(2)), first);
        QCOMPARE(list->indexOfChild(list->child(2)), 2);
        QCOMPARE(list->child(2)->text(QAccessible::Description), QStringLiteral("first"));
        QCOMPARE(list->child(0)->text(QAccessible::Description), QStringLiteral("older 1"));
        QVERIFY(QAccessible::uniqueId(list->child(0)) != first);

        const QAccessible::Id older = QAccessible::uniqueId(list->child(0));
        view->clearView();
        QVERIFY(!QAccessible::accessibleInterface(first));
        QVERIFY(!QAccessible::accessibleInterface(older));
        QCOMPARE(list->childCount(), 0);

        view->appendOwn(QStringLiteral("again"), QStringLiteral("Me"), QStringLiteral("me"), t0);
        const QAccessible::Id again = QAccessible::uniqueId(list->child(0));
        const QAccessible::Id listId = QAccessible::uniqueId(list);
        view.reset();
        QVERIFY(!QAccessible::accessibleInterface(again));
        QVERIFY(!QAccessible::accessibleInterface(listId));
    }

private:
    bool m_bus = false;
};

QTEST_MAIN(tst_ViewAccessibility)
#include "tst_viewaccessibility.moc"
