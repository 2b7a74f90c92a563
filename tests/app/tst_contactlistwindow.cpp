// The demo's contact list: groups and contacts from the directory, updates
// on presence changes, and the open-chat command on activation.

#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "contactlistwindow.h"
#include "czubuddy_administrator.h"
#include "request.h"
#include "wrappluginhelper.h"

using namespace zubrel;

class tst_ContactListWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        WrapPluginHelper::Instance()->reset();
        QString error;
        const QString demo = qEnvironmentVariable("ZUBREL_SOURCE_DIR") + QLatin1String("/app/demo/contacts.json");
        QVERIFY2(CZuBuddy_Administrator::Instance()->loadJsonFile(demo, &error), qPrintable(error));
    }

    void showsGroupsAndContacts()
    {
        ContactListWindow window(nullptr);
        window.reload();
        // Without the simulated network (signed in to XMPP) none of its switches.
        for (const QAction *menu : window.menuBar()->actions())
            QVERIFY(menu->text() != QStringLiteral("&Network"));
        QTreeWidget *tree = window.tree();
        const QList<CZuBuddy_Group> groups = CZuBuddy_Administrator::Instance()->Groups();
        QCOMPARE(tree->topLevelItemCount(), int(groups.size()));
        for (int g = 0; g < groups.size(); ++g) {
            QTreeWidgetItem *group = tree->topLevelItem(g);
            QCOMPARE(group->text(0), groups.at(g).Name());
            QCOMPARE(ContactListWindow::contactOf(group), 0u);
            QCOMPARE(group->childCount(), int(groups.at(g).Buddies().size()));
            for (int c = 0; c < group->childCount(); ++c) {
                const CZuBuddy buddy = groups.at(g).Buddies().at(c);
                QCOMPARE(ContactListWindow::contactOf(group->child(c)), buddy.Id());
                QVERIFY(group->child(c)->text(0).startsWith(buddy.Nickname()));
                QVERIFY(!group->child(c)->icon(0).isNull());
            }
        }
    }

    void everyDemoContactHasItsPicture()
    {
        for (const CZuBuddy &buddy : CZuBuddy_Administrator::Instance()->Buddies()) {
            QVERIFY2(buddy.IsPictureValid(), qPrintable(buddy.Nickname()));
            QVERIFY2(!buddy.Picture(true).isNull(), qPrintable(buddy.Nickname()));
        }
    }

    void presenceChangesShowUp()
    {
        ContactListWindow window(nullptr);
        window.reload();
        QTreeWidgetItem *anna = nullptr;
        for (QTreeWidgetItem *item : window.tree()->findItems(QStringLiteral("Anna"), Qt::MatchStartsWith | Qt::MatchRecursive))
            anna = item;
        QVERIFY(anna);
        BuddyData changed = *CZuBuddy_Administrator::Instance()->data(ContactListWindow::contactOf(anna));
        changed.userState = 0;
        CZuBuddy_Administrator::Instance()->updateBuddy(changed);
        QVERIFY(anna->text(0).contains(QLatin1String("Offline")));
    }

    void activatingAContactSendsTheOpenChatCommand()
    {
        ContactListWindow window(nullptr);
        window.reload();
        QList<ProtocolCommand> commands;
        QList<QList<ProtocolArg>> arguments;
        QObject context; // the connection ends with this test function
        connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingDelivered, &context, [&](Request *request) {
            commands.append(request->protocol()->command());
            arguments.append(request->protocol()->args());
        });
        QTreeWidgetItem *contact = window.tree()->topLevelItem(0)->child(0);
        emit window.tree()->itemActivated(contact, 0);
        QCOMPARE(commands.size(), 1);
        QVERIFY(commands.first().isCommand(1, 0xF0A0));
        QCOMPARE(arguments.first().first().variant().toString(), QString::number(ContactListWindow::contactOf(contact)));
        // Group rows open nothing.
        emit window.tree()->itemActivated(window.tree()->topLevelItem(0), 0);
        QCOMPARE(commands.size(), 1);
    }
};

QTEST_MAIN(tst_ContactListWindow)
#include "tst_contactlistwindow.moc"
