// The demo network without the module: what it answers, what its bots
// send back, the offline bot's pending messages and the failing send the
// menu asks for.

#include <QSignalSpy>
#include <QTest>

#include "czubuddy_administrator.h"
#include "demonetwork.h"
#include "request.h"
#include "simulatednetwork.h"
#include "wrappluginhelper.h"

using namespace zubrel;

class tst_DemoNetwork : public QObject
{
    Q_OBJECT

private:
    QList<QPointer<Request>> m_requests;

    // Sends a request as the module would and keeps it for inspection.
    Request *send(ushort a, ushort b, const QList<ProtocolArg> &args, int module = -1)
    {
        Protocol protocol{ProtocolCommand(a, b)};
        protocol.setArgs(args);
        QPointer<Request> request = WrapPluginHelper::Instance()->createRequest(protocol, nullptr);
        m_requests.append(request);
        if (module < 0)
            WrapPluginHelper::Instance()->sendRequest(request);
        else
            WrapPluginHelper::Instance()->sendRequestToModule(request, ushort(module));
        return request;
    }
    static QList<ProtocolArg> message(uint to, const QByteArray &text)
    {
        return {ProtocolArg(DataTypes::Identifier, 9, QString::number(to)), ProtocolArg(DataTypes::Text, 10, text)};
    }

private slots:
    void init()
    {
        WrapPluginHelper::Instance()->reset();
        BuddyData offline;
        offline.id = DemoNetwork::offlineBot;
        offline.nickname = QStringLiteral("Sleepy");
        offline.userState = 0;
        CZuBuddy_Administrator::Instance()->clear();
        CZuBuddy_Administrator::Instance()->setBuddy(offline);
    }

    void readsPartnerAndText()
    {
        SentRequest native;
        native.args = message(2001, "h\xc3\xa9llo");
        QCOMPARE(DemoNetwork::partnerOf(native), 2001u);
        QCOMPARE(DemoNetwork::messageOf(native), QStringLiteral("h\u00e9llo"));
        SentRequest bridged;
        bridged.args = {ProtocolArg(DataTypes::Text, 1, QStringLiteral("2004")),
                        ProtocolArg(DataTypes::Text, 0, QStringLiteral("hi"))};
        QCOMPARE(DemoNetwork::partnerOf(bridged), 2004u);
        QCOMPARE(DemoNetwork::messageOf(bridged), QStringLiteral("hi"));
        QCOMPARE(DemoNetwork::partnerOf(SentRequest()), 0u);
    }

    void drawsARealPicture()
    {
        QImage image;
        QVERIFY(image.loadFromData(DemoNetwork::drawnPicture(1), "PNG"));
        QVERIFY(!image.isNull());
    }

    void answersUserInformationAndMandator()
    {
        DemoNetwork network(0);
        network.attach();
        Request *user = send(1, 2, {});
        Request *mandator = send(1, 0x0029, {});
        QSignalSpy userDone(user, &Request::onSuccess);
        QSignalSpy mandatorDone(mandator, &Request::onSuccess);
        QTRY_COMPARE(userDone.size(), 1);
        QTRY_COMPARE(mandatorDone.size(), 1);
        QCOMPARE(user->response()->arg(0).variant().toUInt(), DemoNetwork::selfId);
        QCOMPARE(mandator->response()->argCount(), 1);
        QCOMPARE(mandator->response()->arg(0).variant(), QVariant(QStringLiteral("zubrel")));
    }

    void echoBotTypesThenAnswers()
    {
        DemoNetwork network(0);
        network.attach();
        QList<ProtocolCommand> incoming;
        QList<QList<ProtocolArg>> incomingArgs;
        QObject context; // the connection ends with this test function
        connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingDelivered, &context, [&](Request *request) {
            incoming.append(request->protocol()->command());
            incomingArgs.append(request->protocol()->args());
        });
        // A custom emoticon travels as a numbered attachment: the echo must
        // bring it back, or the reference shows as a broken picture.
        QList<ProtocolArg> args = message(DemoNetwork::echoBot, "ping <img src=\"%1\">");
        args << ProtocolArg(DataTypes::Count, 637, 1) << ProtocolArg(DataTypes::Text, 0, QByteArray("PNGBYTES"));
        Request *sent = send(4, 0x0001, args);
        QSignalSpy done(sent, &Request::onSuccess);
        QTRY_COMPARE(done.size(), 1);
        QTRY_COMPARE(incoming.size(), 2);
        QVERIFY(incoming.at(0).isCommand(4, 0x8003));
        QVERIFY(incoming.at(1).isCommand(4, 0xF0A1));
        const QList<ProtocolArg> echo = incomingArgs.at(1);
        QCOMPARE(echo.size(), 4);
        QCOMPARE(echo.at(0).variant().toString(), QStringLiteral("2001"));
        QCOMPARE(echo.at(1).variant().toByteArray(), QByteArray("You wrote: ping <img src=\"%1\">"));
        QCOMPARE(echo.at(2).variant().toInt(), 1);
        QCOMPARE(echo.at(3).variant().toByteArray(), QByteArray("PNGBYTES"));
    }

    void pictureBotSendsOnePicture()
    {
        DemoNetwork network(0);
        network.attach();
        QList<QList<ProtocolArg>> messages;
        QObject context; // the connection ends with this test function
        connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingDelivered, &context, [&](Request *request) {
            if (request->protocol()->command().isCommand(4, 0xF0A1))
                messages.append(request->protocol()->args());
        });
        send(4, 0x0001, message(DemoNetwork::pictureBot, "draw"));
        QTRY_COMPARE(messages.size(), 1);
        const QList<ProtocolArg> args = messages.first();
        QCOMPARE(args.size(), 4);
        QVERIFY(args.at(1).variant().toByteArray().contains("%1"));
        QCOMPARE(args.at(2).variant().toInt(), 1);
        QVERIFY(!args.at(3).variant().toByteArray().isEmpty());
    }

    void otherNetworkBotAnswersThroughItsOwnCommands()
    {
        DemoNetwork network(0);
        network.attach();
        QList<ProtocolCommand> incoming;
        QObject context; // the connection ends with this test function
        connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingDelivered, &context,
                [&](Request *request) { incoming.append(request->protocol()->command()); });
        Request *sent = send(0xF000, 0xF0C6, {ProtocolArg(DataTypes::Text, 1, QStringLiteral("2004")),
                                              ProtocolArg(DataTypes::Text, 0, QStringLiteral("hi"))}, 0xF000);
        QSignalSpy done(sent, &Request::onSuccess);
        QTRY_COMPARE(done.size(), 1);
        QTRY_COMPARE(incoming.size(), 2);
        QVERIFY(incoming.at(0).isCommand(4, 0xF0C7));
        QVERIFY(incoming.at(1).isCommand(4, 0xF0C6));
    }

    void offlineBotGetsMessagesWhenItComesOnline()
    {
        DemoNetwork network(0);
        network.attach();
        Request *sent = send(4, 0x0001, message(DemoNetwork::offlineBot, "are you there?"));
        QSignalSpy done(sent, &Request::onSuccess);
        QSignalSpy changed(CZuBuddy_Administrator::Instance(), &CZuBuddy_Administrator::OnBuddyChanged);
        QCOMPARE(network.pendingForOfflineBot(), 1);
        QTest::qWait(50);
        QCOMPARE(done.size(), 0); // still waiting for the bot
        network.setOfflineBotOnline(true);
        QCOMPARE(network.pendingForOfflineBot(), 0);
        QTRY_COMPARE(done.size(), 1);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(CZuBuddy(DemoNetwork::offlineBot).UserState(), 1);
    }

    void randomChatFindsAStranger()
    {
        DemoNetwork network(0);
        network.attach();
        QList<ProtocolCommand> incoming;
        QList<QList<ProtocolArg>> incomingArgs;
        QObject context; // the connection ends with this test function
        connect(WrapPluginHelper::Instance(), &WrapPluginHelper::incomingDelivered, &context, [&](Request *request) {
            incoming.append(request->protocol()->command());
            incomingArgs.append(request->protocol()->args());
        });
        Request *server = send(4, 0x0030, {ProtocolArg(DataTypes::Identifier, 688, 0)});
        QSignalSpy serverDone(server, &Request::onSuccess);
        QTRY_COMPARE(serverDone.size(), 1);
        QCOMPARE(server->response()->arg(0).variant().toString(), QString::number(DemoNetwork::randomChatServer));
        Request *login = send(4, 0x0031, {ProtocolArg(DataTypes::Identifier, 688, 0)});
        QSignalSpy loginDone(login, &Request::onSuccess);
        QTRY_COMPARE(loginDone.size(), 1);
        const QString id = login->response()->arg(0).variant().toString();
        QVERIFY(!id.isEmpty());
        QCOMPARE(login->response()->command().applicationServerId(), DemoNetwork::randomChatServer);
        QTRY_COMPARE(incoming.size(), 1);
        QVERIFY(incoming.first().isCommand(4, 0x8040));
        QCOMPARE(incomingArgs.first().at(0).variant().toString(), id);
        send(4, 0x0033, {ProtocolArg(DataTypes::Identifier, 706, id.toInt()), ProtocolArg(DataTypes::Text, 10, QByteArray("hi"))});
        QTRY_COMPARE(incoming.size(), 3);
        QVERIFY(incoming.at(1).isCommand(4, 0x8042));
        QVERIFY(incoming.at(2).isCommand(4, 0x8041));
        QCOMPARE(incomingArgs.at(2).at(0).variant().toString(), id);
    }

    void failNextSendFailsTheNextMessageOnly()
    {
        DemoNetwork network(0);
        network.attach();
        network.failNextSend();
        const QList<ProtocolArg> typingArgs = {ProtocolArg(DataTypes::Identifier, 9, QStringLiteral("2006"))};
        Request *typing = send(4, 0x0003, typingArgs);
        Request *first = send(4, 0x0001, message(2006, "fails"));
        Request *second = send(4, 0x0001, message(2006, "goes through"));
        QSignalSpy typingDone(typing, &Request::onSuccess);
        QSignalSpy firstFailed(first, &Request::onFailed);
        QSignalSpy secondDone(second, &Request::onSuccess);
        QTRY_COMPARE(firstFailed.size(), 1);
        QTRY_COMPARE(secondDone.size(), 1);
        QTRY_COMPARE(typingDone.size(), 1);
        QVERIFY(!network.failsNextSend());
    }
};

QTEST_MAIN(tst_DemoNetwork)
#include "tst_demonetwork.moc"
