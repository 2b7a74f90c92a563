// The demo's host side: requests to the messenger listed with their
// arguments, the block list sent back on every change, the slideshow
// module's answer, the side-channel bots and going offline.

#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>

#include "contactlistwindow.h"
#include "czubuddy_administrator.h"
#include "demoblocklist.h"
#include "demobots.h"
#include "demonetwork.h"
#include "demoslideshow.h"
#include "hostrequestlog.h"
#include "hostrequestwindow.h"
#include "request.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"

using namespace zubrel;

Q_DECLARE_METATYPE(QList<ProtocolArg>)

namespace {

using Args = QList<ProtocolArg>;

ProtocolArg id(DataField field, uint contact)
{
    return ProtocolArg(DataTypes::Identifier, field, QString::number(contact));
}

} // namespace

class tst_DemoHost : public QObject
{
    Q_OBJECT

private:
    QList<QPair<ProtocolCommand, Args>> m_incoming;
    QMetaObject::Connection m_watch;

    Request *send(ushort a, ushort b, const Args &args, int module = -1)
    {
        Protocol protocol{ProtocolCommand(a, b)};
        protocol.setArgs(args);
        Request *request = WrapPluginHelper::Instance()->createRequest(protocol, nullptr);
        if (module < 0)
            WrapPluginHelper::Instance()->sendRequest(request);
        else
            WrapPluginHelper::Instance()->sendRequestToModule(request, ushort(module));
        return request;
    }
    Args incoming(ushort a, ushort b, int index = 0) const
    {
        for (const auto &entry : m_incoming) {
            if (entry.first.isCommand(a, b) && index-- == 0)
                return entry.second;
        }
        return {};
    }

private slots:
    void init()
    {
        WrapPluginHelper::Instance()->reset();
        QString error;
        const QString demo = qEnvironmentVariable("ZUBREL_SOURCE_DIR") + QLatin1String("/app/demo/contacts.json");
        QVERIFY2(CZuBuddy_Administrator::Instance()->loadJsonFile(demo, &error), qPrintable(error));
        m_incoming.clear();
        m_watch = connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingDelivered, this,
                          [this](Request *request) {
                              m_incoming.append({request->protocol()->command(), request->protocol()->args()});
                          });
    }
    void cleanup() { disconnect(m_watch); }

    void describesHostRequests_data()
    {
        QTest::addColumn<int>("b");
        QTest::addColumn<Args>("args");
        QTest::addColumn<QString>("summary");
        const ProtocolArg echo = id(1, DemoNetwork::echoBot);
        QTest::newRow("profile") << 0xF00D << Args{echo} << "Show profile: contact Echo (2001)";
        QTest::newRow("history") << 0xF186 << Args{echo} << "Show history: contact Echo (2001)";
        QTest::newRow("file transfer, files to choose")
            << 0x0015 << Args{echo, ProtocolArg(DataTypes::Identifier, 126, 0)}
            << "File transfer: contact Echo (2001), files to be chosen";
        QTest::newRow("file transfer, dropped files")
            << 0x0015
            << Args{echo, ProtocolArg(DataTypes::Identifier, 126, 2), ProtocolArg(DataTypes::Text, 128, "\\tmp\\a.png"),
                    ProtocolArg(DataTypes::Text, 128, "\\tmp\\b.txt")}
            << "File transfer: contact Echo (2001), files \\tmp\\a.png, \\tmp\\b.txt";
        QTest::newRow("voice call") << 0xF100 << Args{ProtocolArg(DataTypes::Text, 1, "2001")}
                                    << "Voice call: contact Echo (2001)";
        QTest::newRow("sip link") << 0xF100 << Args{ProtocolArg(DataTypes::Text, 1, "sip:anna@example.org")}
                                  << "SIP link: sip:anna@example.org";
        QTest::newRow("web folder") << 0xF101 << Args{echo} << "Open web folder: contact Echo (2001)";
        QTest::newRow("authorisation") << 0xF180 << Args{id(1, 3001), ProtocolArg(DataTypes::Text, 0, "Stranger")}
                                       << "Authorisation request: contact 3001, alias \"Stranger\"";
        QTest::newRow("block") << 0x0021 << Args{echo} << "Block: contact Echo (2001)";
        QTest::newRow("unblock") << 0x0020 << Args{echo} << "Unblock: contact Echo (2001)";
    }
    void describesHostRequests()
    {
        QFETCH(int, b);
        QFETCH(Args, args);
        QFETCH(QString, summary);
        SentRequest request;
        request.command = ProtocolCommand(1, ushort(b));
        request.args = args;
        const auto entry = HostRequestLog::describe(request);
        QVERIFY(entry);
        QCOMPARE(entry->summary(), summary);
        // The same second number under the module's own first number is no host request.
        request.command = ProtocolCommand(4, ushort(b));
        QVERIFY(!HostRequestLog::describe(request));
    }

    void logWindowAndStatusLineShowEachRequest()
    {
        DemoNetwork network(0);
        network.attach();
        HostRequestLog log;
        connect(&network, &DemoNetwork::sent, &log, &HostRequestLog::record);
        ContactListWindow list(&network);
        list.setHostRequestLog(&log);
        HostRequestWindow window(&log);
        send(1, 0xF186, {id(1, DemoNetwork::echoBot)});
        send(4, 0x0001, {id(9, DemoNetwork::echoBot), ProtocolArg(DataTypes::Text, 10, "hi")});
        QCOMPARE(log.entries().size(), 1);
        QCOMPARE(window.list()->topLevelItemCount(), 1);
        QCOMPARE(window.list()->topLevelItem(0)->text(2), QStringLiteral("contact Echo (2001)"));
        QCOMPARE(list.statusBar()->currentMessage(), QStringLiteral("Host request: Show history: contact Echo (2001)"));
    }

    void blockListFollowsBlockAndUnblock()
    {
        DemoNetwork network(0);
        network.attach();
        DemoBlockList blockList(&network);
        send(1, 0x0021, {id(1, 2006)});
        send(1, 0x0021, {id(1, 2007)});
        send(1, 0x0021, {id(1, 2007)}); // twice blocked is listed once
        send(1, 0x0020, {id(1, 2006)});
        send(1, 0x0020, {}); // no contact: nothing changes, nothing sent
        QTRY_VERIFY(!incoming(1, 0xF102, 3).isEmpty());
        const auto list = [](QList<int> ids) {
            Args args{ProtocolArg(DataTypes::Count, 0, int(ids.size()))};
            for (int i = 0; i < ids.size(); ++i)
                args.append(ProtocolArg(DataTypes::Text, DataField(i + 1), QString::number(ids.at(i))));
            return args;
        };
        QCOMPARE(incoming(1, 0xF102, 0), list({2006}));
        QCOMPARE(incoming(1, 0xF102, 1), list({2006, 2007}));
        QCOMPARE(incoming(1, 0xF102, 2), list({2006, 2007}));
        QCOMPARE(incoming(1, 0xF102, 3), list({2007}));
        QTest::qWait(20);
        QVERIFY(incoming(1, 0xF102, 4).isEmpty());
    }

    void slideshowModuleAnswersWithItsWindow()
    {
        DemoNetwork network(0);
        network.attach();
        DemoSlideshow slideshow(&network);
        Request *request = send(40, 0xF160,
                                {ProtocolArg(DataTypes::Count, 652, 2), id(653, DemoNetwork::selfId),
                                 id(653, DemoNetwork::echoBot)},
                                DemoSlideshow::module);
        QSignalSpy done(request, &Request::onSuccess);
        QTRY_COMPARE(done.size(), 1);
        QVERIFY(slideshow.window() && slideshow.window()->isVisible());
        const Args answer = request->response()->args();
        QCOMPARE(answer.size(), 5);
        QCOMPARE(answer.at(0).variant().toInt(), 2);
        QCOMPARE(answer.at(1).variant().toString(), QStringLiteral("1000"));
        QCOMPARE(answer.at(2).variant().toString(), QStringLiteral("2001"));
        QCOMPARE(answer.at(3).type(), DataType(DataTypes::WindowHandle));
        QCOMPARE(QWidget::find(WId(answer.at(3).variant().toLongLong())), slideshow.window());
        QCOMPARE(answer.at(4).variant().toBool(), false);
        // A message is none of the slideshow module's business.
        QVERIFY(!slideshow.handle(SentRequest{0, ProtocolCommand(4, 0x0001), -1, {}}));
    }

    void privateSessionBots()
    {
        DemoNetwork network(0);
        network.attach();
        DemoBots bots(&network);
        // Judy accepts, then refuses to end the session; Privy always agrees.
        send(4, 0x0004, {id(9, DemoBots::judy)});
        QTRY_VERIFY(!incoming(4, 0x8005, 0).isEmpty());
        send(4, 0x0004, {id(9, DemoBots::judy)});
        QTRY_VERIFY(!incoming(4, 0x8005, 1).isEmpty());
        const auto state = [](uint bot, bool on) {
            return Args{ProtocolArg(DataTypes::Text, 0, QString::number(bot)), ProtocolArg(DataTypes::Flag, 1, on)};
        };
        QCOMPARE(incoming(4, 0x8005, 0), state(DemoBots::judy, true));
        QCOMPARE(incoming(4, 0x8005, 1), state(DemoBots::judy, true));
        // Closing the chat ends it on the bot's side too.
        send(4, 0x0005, {id(9, DemoBots::judy), ProtocolArg(DataTypes::Flag, 631, false)});
        QVERIFY(!bots.inPrivateSession(DemoBots::judy));

        // Privy proposes when its chat comes to the front, once.
        send(4, 0xF0A3, {id(1, DemoBots::privy)});
        send(4, 0xF0A3, {id(1, DemoBots::privy)});
        QTRY_VERIFY(!incoming(4, 0x8004, 0).isEmpty());
        QCOMPARE(incoming(4, 0x8004, 0), (Args{ProtocolArg(DataTypes::Text, 0, "2008")}));
        QTest::qWait(50);
        QVERIFY(incoming(4, 0x8004, 1).isEmpty());
    }

    void shakyShakesAndChameleonChanges()
    {
        DemoNetwork network(0);
        network.attach();
        DemoBots bots(&network);
        send(4, 0x0001, {id(9, DemoBots::shaky), ProtocolArg(DataTypes::Text, 10, "hello")});
        QTRY_VERIFY(!incoming(4, 0x8015).isEmpty());
        QCOMPARE(incoming(4, 0x8015), (Args{ProtocolArg(DataTypes::Text, 0, "2010"), ProtocolArg(DataTypes::Count, 1, 1)}));

        QSignalSpy changed(CZuBuddy_Administrator::Instance(), &CZuBuddy_Administrator::OnBuddyChanged);
        const BuddyData before = *CZuBuddy_Administrator::Instance()->data(DemoBots::chameleon);
        bots.changeChameleon();
        QCOMPARE(changed.size(), 1);
        const BuddyData after = *CZuBuddy_Administrator::Instance()->data(DemoBots::chameleon);
        QVERIFY(after.nickname != before.nickname);
        QVERIFY(after.userState != before.userState);
        QVERIFY(after.picturePath != before.picturePath);
        QVERIFY(!CZuBuddy_Administrator::Instance()->picture(DemoBots::chameleon).isNull());
    }

    void goingOfflineChangesTheOwnState()
    {
        ContactListWindow window(nullptr);
        window.reload();
        ContactListWindow::setOwnStatus(0);
        QCOMPARE(CZuBuddy::CurrentUser().UserState(), 0);
        QVERIFY(window.findChild<QLabel *>()->text().contains(QLatin1String("Offline")));
        ContactListWindow::setOwnStatus(1);
        QCOMPARE(CZuBuddy::CurrentUser().UserState(), 1);
    }
};

QTEST_MAIN(tst_DemoHost)
#include "tst_demohost.moc"
