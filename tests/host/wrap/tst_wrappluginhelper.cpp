// The messaging helper's contract with the module: ids, completion,
// answering, freeing and the books a host checks at the end of a run.

#include <QSignalSpy>
#include <QtTest>

#include "simulatednetwork.h"
#include "wrapplugin.h"
#include "wrappluginhelper.h"

class tst_WrapPluginHelper : public QObject
{
    Q_OBJECT

private:
    WrapPluginHelper *helper = WrapPluginHelper::Instance();
    SimulatedNetwork *network() { return helper->simulatedNetwork(); }

    QPointer<Request> send(ushort a, ushort b, const QList<ProtocolArg> &args = {}, int module = -1)
    {
        Protocol protocol(ProtocolCommand(a, b));
        for (const ProtocolArg &arg : args)
            protocol.addArg(arg);
        QPointer<Request> request = helper->createRequest(protocol, nullptr);
        if (module < 0)
            helper->sendRequest(request);
        else
            helper->sendRequestToModule(request, ushort(module));
        return request;
    }

private slots:
    void init() { helper->reset(); }

    void requestIdsAreUniqueIncreasingAndCarriedByCommands()
    {
        Protocol protocol(ProtocolCommand(4, 1));
        QPointer<Request> first = helper->createRequest(protocol, nullptr);
        QCOMPARE(protocol.command().transactionId(), first->id());
        QPointer<Request> second = helper->createRequest(protocol, nullptr);
        QVERIFY(second->id() > first->id());
        const uint incoming = network()->inject(4, 0xF0A1, {});
        QVERIFY(incoming > second->id());
    }

    void sentRequestsAreRecordedWithTheirLayout()
    {
        const QList<ProtocolArg> args{ProtocolArg(6, 9, QStringLiteral("2001")), ProtocolArg(32, 0, QByteArray("hi"))};
        Protocol protocol(ProtocolCommand(4, 0x000C));
        protocol.command().setApplicationServerId(7);
        for (const ProtocolArg &arg : args)
            protocol.addArg(arg);
        QPointer<Request> request = helper->createRequest(protocol, nullptr);
        helper->sendRequest(request);
        send(0xF000, 0xF0C6, {}, 0xF000);

        QCOMPARE(network()->sent().size(), 2);
        const SentRequest first = network()->sent().at(0);
        QCOMPARE(first.id, request->id());
        QCOMPARE(first.command.a(), ushort(4));
        QCOMPARE(first.command.b(), ushort(0x000C));
        QCOMPARE(first.command.applicationServerId(), ushort(7));
        QCOMPARE(first.module, -1);
        QCOMPARE(first.args, args);
        QCOMPARE(network()->sent().at(1).module, 0xF000);
        QCOMPARE(network()->lastSent(4, 0x000C).id, request->id());
        QCOMPARE(network()->lastSent(9, 9).id, 0u);
    }

    void completionEmitsExactlyOneOutcome_data()
    {
        QTest::addColumn<bool>("success");
        QTest::newRow("success") << true;
        QTest::newRow("failure") << false;
    }

    void completionEmitsExactlyOneOutcome()
    {
        QFETCH(bool, success);
        QPointer<Request> request = send(1, 2);
        QSignalSpy succeeded(request.data(), &Request::onSuccess);
        QSignalSpy failed(request.data(), &Request::onFailed);
        const QList<ProtocolArg> answer{ProtocolArg(6, 0, 42u)};
        QVERIFY(success ? network()->succeed(request->id(), answer, 3) : network()->fail(request->id()));
        // A second completion, of either kind, is refused.
        QVERIFY(!network()->succeed(request->id()));
        QVERIFY(!network()->fail(request->id()));
        QCOMPARE(succeeded.size(), success ? 1 : 0);
        QCOMPARE(failed.size(), success ? 0 : 1);
        if (success) {
            QCOMPARE(request->response()->command().transactionId(), request->id());
            QCOMPARE(request->response()->command().applicationServerId(), ushort(3));
            QCOMPARE(request->response()->arg(0).variant().toUInt(), 42u);
        }
    }

    void unsentOrUnknownRequestsCannotComplete()
    {
        Protocol protocol(ProtocolCommand(1, 2));
        QPointer<Request> request = helper->createRequest(protocol, nullptr);
        QVERIFY(!network()->succeed(request->id()));
        QVERIFY(!network()->succeed(999999));
    }

    void booksListUnfreedAndUnansweredRequests()
    {
        QPointer<Request> kept = send(1, 2);
        QPointer<Request> freed = send(1, 0x29);
        network()->succeed(freed->id());
        helper->freeRequest(freed);
        helper->freeRequest(freed); // twice is harmless
        QCOMPARE(helper->unfreedRequests(), QList<uint>{kept->id()});

        QList<Request *> delivered;
        QPointer<RequestHandler> handler = helper->setOnCommand(4, 0xF0A1, nullptr);
        connect(handler, &RequestHandler::onFunction, this,
                [&](RequestHandler *, Request *request) { delivered.append(request); });
        const uint answered = network()->inject(4, 0xF0A1, {ProtocolArg(6, 0, QStringLiteral("2001"))});
        const uint ignored = network()->inject(4, 0xF0A1, {});
        const uint unhandled = network()->inject(4, 0x7777, {});
        QCOMPARE(delivered.size(), 2);
        QCOMPARE(delivered.at(0)->protocol()->arg(0).variant().toString(), QStringLiteral("2001"));
        QSignalSpy answers(helper, &WrapPluginHelper::incomingAnswered);
        helper->requestSucceeded(delivered.at(0), nullptr);
        helper->requestSucceeded(delivered.at(0), nullptr); // a second answer is not counted
        QCOMPARE(answers.size(), 1);
        QCOMPARE(helper->unansweredRequests(), (QList<uint>{ignored, unhandled}));
        Q_UNUSED(answered);
    }

    void freedRequestIsDeletedLaterAndNotSentAgain()
    {
        QPointer<Request> request = send(1, 2);
        network()->succeed(request->id());
        helper->freeRequest(request);
        helper->sendRequest(request);
        QCOMPARE(network()->sent().size(), 1);
        QTRY_VERIFY(request.isNull());
    }

    void handlersAreRegisteredInOrder()
    {
        QSignalSpy registered(helper, &WrapPluginHelper::handlerRegistered);
        helper->setOnCommand(4, 0xF0A1, nullptr);
        helper->setOnCommand(4, 0x8003, nullptr);
        QCOMPARE(registered.size(), 2);
        QCOMPARE(helper->registeredCommands(),
                 (QList<QPair<ushort, ushort>>{{4, 0xF0A1}, {4, 0x8003}}));
    }

    void argumentsPastTheEndAreInvalid()
    {
        Protocol protocol;
        protocol.addArg(ProtocolArg(4, 1, 1));
        QVERIFY(protocol.hasArg(0));
        QVERIFY(!protocol.hasArg(1));
        QVERIFY(!protocol.arg(1).variant().isValid());
        QVERIFY(!protocol.arg(-1).variant().isValid());
    }

    void fireAndForgetSendIsFreedOnCompletion()
    {
        class Plugin : public WrapPlugin
        {
        public:
            QString version() override { return {}; }
            QString name() override { return {}; }
            void start() override {}
            void stop() override {}
            ushort moduleId() override { return 9; }
            QVariant forwardToHelper(const QString &, const QVariantList &) override { return {}; }
        } plugin;
        Protocol protocol(ProtocolCommand(4, 2));
        plugin.send(protocol);
        const uint id = network()->lastSent().id;
        QCOMPARE(helper->unfreedRequests(), QList<uint>{id});
        network()->fail(id);
        QVERIFY(helper->unfreedRequests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_WrapPluginHelper)
#include "tst_wrappluginhelper.moc"
