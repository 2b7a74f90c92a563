// Multi chats end to end through the simulated network: invitations,
// creation from a one-to-one chat, members, messages, the end of a session,
// and malformed commands for every handler.

#include "chattestsupport.h"

#include <QHelpEvent>
#include <QTextEdit>
#include <QToolTip>

#include "zmessageview.h"
#include "ztextedit.h"

using namespace ChatTest;

namespace zubrel {
// The chat-action dispatcher's entry points, reached directly.
class MultichatDriver : public Chat
{
public:
    using Chat::kickFromMultichat;
    using Chat::leaveMultichat;
    using Chat::startMultichat;
};
} // namespace zubrel

namespace {

// "a,b@app t/f=value ..." of a request, for compact comparisons.
QString describe(const SentRequest &r)
{
    QStringList parts{QStringLiteral("%1,%2@%3").arg(r.command.a()).arg(r.command.b()).arg(r.command.applicationServerId())};
    for (const ProtocolArg &arg : r.args)
        parts.append(QStringLiteral("%1/%2=%3").arg(arg.type()).arg(arg.field()).arg(arg.variant().toString()));
    return parts.join(u' ');
}

QStringList sentBy(SimulatedNetwork *network, ushort a)
{
    QStringList out;
    for (const SentRequest &r : network->sent()) {
        if (r.command.a() == a || a == 0)
            out.append(describe(r));
    }
    return out;
}

} // namespace

class ChatMultichatTest : public QObject
{
    Q_OBJECT
    Fixture f;

    // Through pointers to Chat's own members: the controller is a Chat, and
    // casting it to the driver type it is not would be undefined.
    void kick(ZChatTab *tab, const QString &id) const { (f.controller.data()->*&MultichatDriver::kickFromMultichat)(tab, id); }
    void leave(ZChatTab *tab) const { (f.controller.data()->*&MultichatDriver::leaveMultichat)(tab); }
    void startOver(ZChatTab *tab) const { (f.controller.data()->*&MultichatDriver::startMultichat)(tab); }
    ZChatTab *mc(const QString &key) const
    {
        ZChat *w = qobject_cast<ZChat *>(f.controller->registry().value("multichats").toMap().value(key).value<QObject *>());
        return w ? w->tabs().value(0) : nullptr;
    }
    // Joins multi chat 77 on server 9 with Anna and Cleo.
    ZChatTab *joined()
    {
        ZModalScript::instance()->queue("dialog", "join");
        f.network()->inject(4, 0x8012, {ProtocolArg(6, 0, anna), ProtocolArg(6, 1, "77"), ProtocolArg(6, 2, "s1")}, 9);
        f.network()->succeed(f.network()->lastSent(4, 0x0007).id,
                             {ProtocolArg(32, 0, "Topic - x"), ProtocolArg(4, 1, 2), ProtocolArg(6, 2, anna), ProtocolArg(6, 3, cleo)});
        f.network()->clear();
        return mc("77");
    }

private slots:
    void initTestCase() { f.setUpProcess(); }
    void init()
    {
        f.start();
        Chat::pendingMultichatKey.clear();
        Chat::pendingInvitees.clear();
    }
    void cleanupTestCase() { f.stop(); }

    void invitation_data()
    {
        QTest::addColumn<QVariant>("answer");
        QTest::addColumn<QStringList>("sent");
        const QString raise = "1,61682@0 5/0=";
        QTest::newRow("declined") << QVariant("decline") << QStringList{raise};
        QTest::newRow("unanswered") << QVariant() << QStringList{raise};
        QTest::newRow("accepted") << QVariant(1) << QStringList{raise, "4,7@9 6/634=77 32/635=s1 6/636=0"};
    }
    void invitation()
    {
        QFETCH(QVariant, answer);
        QFETCH(QStringList, sent);
        if (answer.isValid())
            ZModalScript::instance()->queue("dialog", answer);
        f.network()->inject(4, 0x8012, {ProtocolArg(6, 0, anna), ProtocolArg(6, 1, "77"), ProtocolArg(6, 2, "s1")}, 9);
        QStringList actual = sentBy(f.network(), 0);
        actual[0] = actual[0].left(raiseLength(actual[0]));
        QCOMPARE(actual, sent);
        QCOMPARE(f.controller->multichatInfo.value("77"), (QStringList{"77", "s1", "9"}));
        QVERIFY(f.helper->unansweredRequests().isEmpty());
    }
    static int raiseLength(const QString &s) { return int(s.indexOf("5/0=") + 4); }

    void joinAndMembers()
    {
        ZChatTab *tab = joined();
        QVERIFY(tab && tab->multichat && !tab->multiChatOwner);
        ZChat *window = qobject_cast<ZChat *>(tab->window());
        QCOMPARE(window->windowTitle(), QStringLiteral("Anna, Cleo - Topic - x"));
        QCOMPARE(tab->cardList->card(1)->internalId(), 77);
        QVERIFY(!tab->input->isReadOnly());
        // A known member joins again: notice, no card, nothing for module 40.
        f.network()->inject(4, 0x800E, {ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, anna)});
        QVERIFY(sentBy(f.network(), 40).isEmpty());
        QCOMPARE(tab->cardList->size(), 2);
        // A stranger with markup for a name joins; its card is the third.
        BuddyData stranger;
        stranger.id = 3001;
        stranger.nickname = "<img src=x>";
        stranger.isContact = false;
        CZuBuddy_Administrator::Instance()->setBuddy(stranger);
        f.network()->inject(4, 0x800E, {ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, "3001")});
        QVERIFY(tab->viewText().contains("<img src=x> has joined the Multi Chat."));
        QCOMPARE(sentBy(f.network(), 40), QStringList{"40,61796@0 4/652=3 6/653=1000 6/653=2001 6/653=2005 "
                                                      "4/652=4 6/653=1000 6/653=2001 6/653=2005 6/653=3001"});
        QCOMPARE(tab->cardList->card(2)->generalApp(), 13);
        QCOMPARE(window->windowTitle(), QStringLiteral("Anna, Cleo, <img src=x> - Topic - x"));
        // A renamed participant, one who joined after and one who left show
        // in the next titles.
        stranger.nickname = "Sid";
        CZuBuddy_Administrator::Instance()->updateBuddy(stranger);
        stranger.id = 3002;
        stranger.nickname = "Eve";
        CZuBuddy_Administrator::Instance()->setBuddy(stranger);
        f.network()->inject(4, 0x800E, {ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, "3002")});
        QCOMPARE(window->windowTitle(), QStringLiteral("Anna, Cleo, Sid, Eve - Topic - x"));
        f.network()->clear();
        f.network()->inject(4, 0x800F, {ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, anna)});
        QCOMPARE(window->windowTitle(), QStringLiteral("Cleo, Sid, Eve - Topic - x"));
        QCOMPARE(sentBy(f.network(), 40), QStringList{"40,61796@0 4/652=5 6/653=1000 6/653=2001 6/653=2005 6/653=3001 "
                                                      "6/653=3002 4/652=4 6/653=1000 6/653=2005 6/653=3001 6/653=3002"});
        for (const QString &who : {cleo, QStringLiteral("3001"), QStringLiteral("3002")})
            f.network()->inject(4, 0x800F, {ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, who)});
        QCOMPARE(tab->cardList->size(), 0);
        QVERIFY(tab->input->isReadOnly());
        QCOMPARE(f.cardCount(anna), 0);
        QVERIFY(f.booksBalanced() || f.helper->unansweredRequests().isEmpty());
    }

    void busyGroupTitle()
    {
        // Past what a title bar shows: whole aliases, "…" and the member
        // count (the user included); the column's tip holds everyone.
        ZChatTab *tab = joined();
        BuddyData stranger;
        stranger.isContact = false;
        for (int i = 0; i < 12; ++i) {
            stranger.id = 3100 + i;
            stranger.nickname = i == 11 ? QStringLiteral("<i>Ivy</i>") : QStringLiteral("Participant %1").arg(i);
            CZuBuddy_Administrator::Instance()->setBuddy(stranger);
            f.network()->inject(4, 0x800E, {ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, QString::number(stranger.id))});
        }
        QCOMPARE(tab->window()->windowTitle(), QString::fromUtf8("Anna, Cleo, Participant 0, Participant 1, Participant 2, "
                                                                 "Participant 3, \u2026 (15 members) - Topic - x"));
        QHelpEvent help(QEvent::ToolTip, QPoint(1, 1), tab->cardList->mapToGlobal(QPoint(1, 1)));
        QCoreApplication::sendEvent(tab->cardList, &help);
        QVERIFY(QToolTip::text().startsWith(QStringLiteral("<p>Anna, Cleo, Participant 0, ")));
        QVERIFY(QToolTip::text().endsWith(QStringLiteral("Participant 10, &lt;i&gt;Ivy&lt;/i&gt;</p>")));
        // One alias longer than the title alone is cut.
        stranger.id = 3100;
        stranger.nickname = QString(100, u'w');
        CZuBuddy_Administrator::Instance()->updateBuddy(stranger);
        for (const QString &who : {anna, cleo})
            f.network()->inject(4, 0x800F, {ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, who)});
        QCOMPARE(tab->window()->windowTitle(), QString(80, u'w') + QString::fromUtf8(", \u2026 (13 members) - Topic - x"));
        f.network()->clear();
    }

    void messages()
    {
        ZChatTab *tab = joined();
        f.network()->inject(4, 0x8014, {ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, cleo)});
        QVERIFY(tab->cardList->card(1)->isTyping());
        QList<ProtocolArg> message{ProtocolArg(6, 0, "77"), ProtocolArg(6, 1, 0), ProtocolArg(6, 2, cleo),
                                   ProtocolArg(32, 3, QByteArray("<img src=\"%1\"><img src=\"%10\">")),
                                   ProtocolArg(4, 4, 10)};
        message.append(ProtocolArg(32, 5, QByteArray("first")));
        f.network()->inject(4, 0x8013, message); // counts 10, carries 1
        QVERIFY(!tab->cardList->card(1)->isTyping());
        const QString html = tab->view->styledStore();
        QVERIFY(html.contains("src=\"%10\"") && html.contains("zubrel-received"));
        QVERIFY(!html.contains("src=\"%1\""));
        // Sending uses the multi chat form of the message command.
        emit tab->sendHtml("hello");
        QCOMPARE(sentBy(f.network(), 4).last(), QStringLiteral("4,12@9 6/634=77 32/10=hello"));
        // Both lines are in this chat's log, under its logger's uuid.
        ZChatLogger *log = f.controller->multichatLoggers.value(tab);
        QVERIFY(log && !log->uuid().isNull());
        const auto records = log->lastMessages(10);
        QCOMPARE(records.size(), 2);
        for (const MessageStruct &record : records) {
            QCOMPARE(record.uuid, log->uuid());
            QCOMPARE(record.chatKind, 0);
        }
        QCOMPARE(records.at(0).contact == cleo ? records.at(1).contact : records.at(0).contact, self);
    }

    void endOfSession()
    {
        ZChatTab *tab = joined();
        kick(tab, cleo); // unanswered question: nothing
        ZModalScript::instance()->queue("question", "yes");
        kick(tab, cleo);
        leave(tab);
        tab->multiChatOwner = true;
        leave(tab);
        QCOMPARE(sentBy(f.network(), 4), (QStringList{"4,10@9 6/634=77 6/1=2005", "4,8@9 6/634=77", "4,9@9 6/634=77"}));
        f.network()->clear();
        f.network()->inject(4, 0x8010, {ProtocolArg(6, 0, "77")});
        QVERIFY(tab->input->isReadOnly());
        QCOMPARE(tab->multichatId, 77u);
        f.network()->inject(4, 0x8011, {ProtocolArg(6, 0, "77")});
        QCOMPARE(tab->multichatId, ZChatTab::noId);
        // A closed session takes no kick, leave or invitation any more.
        ZModalScript::instance()->queue("question", "yes");
        kick(tab, cleo);
        leave(tab);
        startOver(tab);
        QVERIFY(sentBy(f.network(), 4).isEmpty());
        // A one-to-one tab's card never kicks.
        ZModalScript::instance()->queue("question", "yes");
        kick(f.open(anna), anna);
        QVERIFY(sentBy(f.network(), 4).isEmpty());
    }

    void create()
    {
        ZChatTab *tab = f.open(anna);
        ZModalScript::instance()->queue("dialog", QVariantMap{{"choose", QVariantList{cleo}}, {"result", 1}});
        ZModalScript::instance()->queue("dialog", QVariantMap{{"topic", "Plans"}, {"result", 1}});
        startOver(tab);
        QCOMPARE(sentBy(f.network(), 4), QStringList{"4,6@0 32/632=Plans 2/633=1"});
        QCOMPARE(Chat::pendingMultichatKey, anna);
        QVERIFY(tab->multichat && tab->multiChatOwner && tab->input->isReadOnly());
        QCOMPARE(tab->cardList->size(), 0);
        QVERIFY(!f.window(anna));
        const uint create = f.network()->lastSent(4, 6).id;
        // A second creation is refused while this one waits.
        ZChatTab *other = f.open(bert);
        startOver(other);
        QVERIFY(other->viewText().contains("Another Multi Chat is still being opened."));
        f.network()->clear();
        f.network()->succeed(create, {ProtocolArg(6, 0, int(4000000000u)), ProtocolArg(32, 1, "s2")}, 5);
        QCOMPARE(sentBy(f.network(), 4), (QStringList{"4,11@5 6/9=2001 6/634=4000000000", "4,11@5 6/9=2005 6/634=4000000000"}));
        QCOMPARE(mc("4000000000"), tab);
        QCOMPARE(tab->multichatId, 4000000000u);
        QVERIFY(Chat::pendingMultichatKey.isEmpty() && Chat::pendingInvitees.isEmpty());
        // Inviting more leaves out those present.
        f.network()->inject(4, 0x800E, {ProtocolArg(6, 0, "4000000000"), ProtocolArg(6, 1, cleo)});
        QVERIFY(!tab->input->isReadOnly());
        f.network()->clear();
        ZModalScript::instance()->queue("dialog", QVariantMap{{"choose", QVariantList{cleo, bert}}, {"result", 1}});
        startOver(tab);
        QCOMPARE(sentBy(f.network(), 4), QStringList{"4,11@5 6/9=2002 6/634=-294967296"});
    }

    void closedWhileWaiting()
    {
        ZChatTab *tab = f.open(anna);
        ZModalScript::instance()->queue("dialog", QVariantMap{{"choose", QVariantList{cleo}}, {"result", 1}});
        ZModalScript::instance()->queue("dialog", QVariantMap{{"topic", "T"}, {"result", 1}});
        startOver(tab);
        const uint create = f.network()->lastSent(4, 6).id;
        tab->window()->close();
        QVERIFY(Chat::pendingMultichatKey.isEmpty() && Chat::pendingInvitees.isEmpty());
        QVERIFY(f.controller->registry().value("multichats").toMap().isEmpty());
        f.network()->clear();
        f.network()->succeed(create, {ProtocolArg(6, 0, 88), ProtocolArg(32, 1, "s")});
        QVERIFY(sentBy(f.network(), 4).isEmpty());
        QVERIFY(!mc("88"));
        QVERIFY(f.helper->unfreedRequests().isEmpty() || !f.helper->unfreedRequests().contains(create));
    }

    void malformed_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QList<ProtocolArg>>("args");
        const ProtocolArg id(6, 0, "77");
        const QList<ushort> all = {0x8012, 0x800E, 0x800F, 0x8014, 0x8013, 0x8010, 0x8011};
        for (ushort c : all) {
            QTest::addRow("%x none", c) << int(c) << QList<ProtocolArg>{};
            QTest::addRow("%x bool id", c) << int(c) << QList<ProtocolArg>{ProtocolArg(6, 0, true), ProtocolArg(6, 1, true), ProtocolArg(6, 2, true)};
            QTest::addRow("%x id none", c) << int(c) << QList<ProtocolArg>{ProtocolArg(6, 0, "4294967295"), ProtocolArg(6, 1, anna)};
            QTest::addRow("%x unknown chat", c) << int(c) << QList<ProtocolArg>{ProtocolArg(6, 0, "78"), ProtocolArg(6, 1, anna), ProtocolArg(6, 2, anna), ProtocolArg(32, 3, QByteArray("x"))};
        }
        QTest::newRow("message short") << 0x8013 << QList<ProtocolArg>{id, ProtocolArg(6, 1, 0), ProtocolArg(6, 2, cleo)};
        QTest::newRow("message count typed wrong") << 0x8013 << QList<ProtocolArg>{id, ProtocolArg(6, 1, 0), ProtocolArg(6, 2, cleo), ProtocolArg(32, 3, QByteArray("x")), ProtocolArg(4, 4, "many"), ProtocolArg(32, 5, 7)};
        QTest::newRow("message count negative") << 0x8013 << QList<ProtocolArg>{id, ProtocolArg(6, 1, 0), ProtocolArg(6, 2, cleo), ProtocolArg(32, 3, QByteArray("x")), ProtocolArg(4, 4, -5), ProtocolArg(32, 5, QByteArray("y"))};
        QTest::newRow("joined no user") << 0x800E << QList<ProtocolArg>{id};
    }
    void malformed()
    {
        QFETCH(int, command);
        QFETCH(QList<ProtocolArg>, args);
        ZChatTab *tab = joined();
        const QString before = tab->viewText();
        f.network()->inject(4, ushort(command), args);
        QVERIFY(f.helper->unansweredRequests().isEmpty());
        QCOMPARE(tab->cardList->size(), 2);
        QCOMPARE(tab->multichatId, 77u);
        QVERIFY(sentBy(f.network(), 4).isEmpty());
        if (command != 0x8013 || args.size() < 4 || args.at(0).variant() != "77")
            QCOMPARE(tab->viewText(), before);
    }
};

QTEST_MAIN(ChatMultichatTest)
#include "tst_chatmultichat.moc"
