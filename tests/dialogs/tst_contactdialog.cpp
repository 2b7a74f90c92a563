// The contact picker as the "add" action uses it: what it offers, the
// filter's wildcards, groups, choosing, undo and the scripted answers.

#include <QJsonArray>
#include <QJsonObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "contactdialog.h"
#include "czubuddy_administrator.h"
#include "zhostevents.h"
#include "zmodalscript.h"
#include "zsearchfield.h"

using namespace zubrel;

class ContactDialogTest : public QObject
{
    Q_OBJECT
private:
    // The answer reported for the last picker run.
    QStringList ask(const QVariantMap &answer, const QStringList &leaveOut, QStringList *offered)
    {
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        ZModalScript::instance()->queue(QStringLiteral("dialog"), answer);
        const QStringList result = ContactDialog::getContacts(false, leaveOut, nullptr);
        *offered = events.last().value(1).toMap().value("offered").toStringList();
        return result;
    }

private slots:
    void initTestCase()
    {
        ZModalScript::instance()->setScripted(true);
        auto contact = [](int id, const char *nick, int status) {
            return QJsonObject{{"id", id}, {"nick", nick}, {"status", status}, {"firstName", "F"}, {"lastName", "L"}};
        };
        QVERIFY(CZuBuddy_Administrator::Instance()->loadJson(QJsonObject{
            {"self", QJsonObject{{"id", 1000}, {"nick", "Me"}, {"status", 1}}},
            {"contacts", QJsonArray{contact(2001, "Anna", 1), contact(2002, "Bert", 0), contact(2003, "Cleo", 1),
                                    contact(2004, "Zed[1]", 4), contact(2005, "Dora", 2)}},
            {"groups", QJsonArray{QJsonObject{{"name", "Friends"}, {"ids", QJsonArray{2001, 2002}}},
                                  QJsonObject{{"name", "Work"}, {"ids", QJsonArray{2005}}}}}}));
    }

    void filter_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("offered");
        const QStringList all = {"2001", "2003", "2005", "2004", "2002"}; // online first, offline last
        QTest::newRow("empty") << "" << all;
        QTest::newRow("star") << "*" << all;
        QTest::newRow("question mark") << "?" << all;
        QTest::newRow("nickname, any case") << "aNN" << QStringList{"2001"};
        QTest::newRow("one character") << "a?n" << QStringList{"2001"};
        QTest::newRow("id with ?") << "20?5" << QStringList{"2005"};
        QTest::newRow("unclosed bracket is literal") << "[" << QStringList{"2004"};
        QTest::newRow("class") << "[bc]e" << QStringList{"2002"};
        QTest::newRow("first name") << "F" << all;
        QTest::newRow("nothing") << "xyz" << QStringList{};
    }
    void filter()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, offered);
        QStringList shown;
        ask({{"filter", text}, {"result", 0}}, {}, &shown);
        QCOMPARE(shown, offered);
    }

    void choosing_data()
    {
        QTest::addColumn<QVariantMap>("answer");
        QTest::addColumn<QStringList>("leaveOut");
        QTest::addColumn<QStringList>("chosen");
        const QVariantList three = {"2005", "2001", "2003"};
        QTest::newRow("list order") << QVariantMap{{"choose", three}, {"result", 1}} << QStringList() << QStringList{"2005", "2001", "2003"};
        QTest::newRow("undo takes the last") << QVariantMap{{"choose", three}, {"undo", 2}, {"result", 1}} << QStringList() << QStringList{"2005"};
        QTest::newRow("undo after remove") << QVariantMap{{"choose", three}, {"remove", QVariantList{"2003"}}, {"undo", 1}, {"result", 1}} << QStringList() << QStringList{"2005"};
        QTest::newRow("clear") << QVariantMap{{"choose", three}, {"clear", true}, {"result", 1}} << QStringList() << QStringList{};
        QTest::newRow("cancel") << QVariantMap{{"choose", three}, {"result", 0}} << QStringList() << QStringList{};
        QTest::newRow("left out") << QVariantMap{{"choose", QVariantList{"2001", "2003"}}, {"result", 1}} << QStringList{"2001"} << QStringList{"2003"};
        QTest::newRow("offline hidden") << QVariantMap{{"offline", false}, {"choose", QVariantList{"2002"}}, {"result", 1}} << QStringList() << QStringList{};
        QTest::newRow("filtered out") << QVariantMap{{"filter", "Cleo"}, {"choose", QVariantList{"2001", "2003"}}, {"result", 1}} << QStringList() << QStringList{"2003"};
        QTest::newRow("group rows") << QVariantMap{{"groups", true}, {"choose", QVariantList{"Friends", "main", "2005"}}, {"result", "ok"}} << QStringList() << QStringList{"2005"};
        QTest::newRow("twice") << QVariantMap{{"choose", QVariantList{"2001", "2001"}}, {"result", true}} << QStringList() << QStringList{"2001"};
    }
    void choosing()
    {
        QFETCH(QVariantMap, answer);
        QFETCH(QStringList, leaveOut);
        QFETCH(QStringList, chosen);
        QStringList offered;
        QCOMPARE(ask(answer, leaveOut, &offered), chosen);
        for (const QString &id : leaveOut)
            QVERIFY(!offered.contains(id));
    }

    void groupsAndDetails()
    {
        ContactDialog dialog;
        dialog.setLeaveOut({"2003"});
        dialog.fillTree();
        dialog.applyAnswer({{"groups", true}, {"choose", QVariantList{"2001"}}, {"details", true}});
        QStringList titles;
        for (int i = 0; i < dialog.contactTree()->topLevelItemCount(); ++i)
            titles.append(dialog.contactTree()->topLevelItem(i)->text(0));
        titles.sort();
        QCOMPARE(titles, (QStringList{"Friends (1/2)", "Main Group (1/1)", "Work (1/1)"}));
        QCOMPARE(dialog.chosenList()->topLevelItem(0)->text(0), QStringLiteral("Anna - F L (2001)"));
        QVERIFY(dialog.contactTree()->findItems("2001", Qt::MatchExactly | Qt::MatchRecursive, 1).first()->isHidden());
        // Back to the flat list: the chosen contact stays chosen and hidden.
        dialog.applyAnswer({{"groups", false}, {"details", false}});
        QCOMPARE(dialog.chosenList()->topLevelItem(0)->text(0), QStringLiteral("Anna (2001)"));
        QCOMPARE(dialog.offeredIds(), (QStringList{"2005", "2004", "2002"}));
        // A filter hides groups that have nothing left to offer.
        dialog.applyAnswer({{"groups", true}, {"filter", "dora"}});
        QCOMPARE(dialog.offeredIds(), QStringList{"2005"});
    }

    // A contact changing presence while the user picks keeps its row: the
    // click meant for one contact never lands on another.
    void presenceChangeKeepsRows()
    {
        ContactDialog dialog;
        dialog.fillTree();
        const QStringList before = dialog.offeredIds();
        BuddyData bert;
        bert.id = 2002;
        bert.nickname = "Bert";
        bert.firstName = "F";
        bert.lastName = "L";
        bert.userState = 1;
        CZuBuddy_Administrator::Instance()->updateBuddy(bert);
        QCOMPARE(dialog.offeredIds(), before);
        bert.userState = 0;
        CZuBuddy_Administrator::Instance()->updateBuddy(bert);
    }

    void buttonsAndEscape()
    {
        ContactDialog dialog;
        dialog.fillTree();
        dialog.show();
        QVERIFY(!dialog.undoButton()->isEnabled());
        dialog.contactTree()->findItems("2003", Qt::MatchExactly, 1).first()->setSelected(true);
        QTRY_VERIFY(dialog.addButton()->isEnabled());
        dialog.addButton()->click();
        QTRY_COMPARE(dialog.chosenIds(), QStringList{"2003"});
        QVERIFY(dialog.undoButton()->isEnabled() && dialog.clearButton()->isEnabled());
        dialog.undoButton()->click();
        QTRY_VERIFY(dialog.chosenIds().isEmpty());
        // Escape first empties the filter, and only then closes the dialog.
        dialog.filterField()->setFocus();
        QTest::keyClicks(dialog.filterField(), "zz");
        QCOMPARE(dialog.offeredIds(), QStringList{});
        QTest::keyClick(dialog.filterField(), Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.offeredIds().size(), 5);
        QTest::keyClick(dialog.filterField(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(ContactDialogTest)
#include "tst_contactdialog.moc"
