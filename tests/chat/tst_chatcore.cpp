// The controller's core: what it registers and asks at construction, how the
// host's open commands build and show one-to-one chats, activation reports,
// forgetting a closed chat, and the skin chosen by the mandator answer.

#include <QFile>
#include <QResource>

#include "chattestsupport.h"
#include "zdir.h"

using namespace zubrel;
using namespace ChatTest;

class tst_ChatCore : public QObject
{
    Q_OBJECT

private:
    Fixture f;

    QList<QVariantMap> hostEvents(const QSignalSpy &spy, const QString &kind)
    {
        QList<QVariantMap> found;
        for (const QList<QVariant> &event : spy) {
            if (event.value(0).toString() == kind)
                found.append(event.value(1).toMap());
        }
        return found;
    }

private slots:
    void initTestCase() { f.setUpProcess(); }
    void init() { f.start(); }
    void cleanup()
    {
        f.succeedAll();
        QVERIFY(f.booksBalanced());
    }
    void cleanupTestCase() { f.stop(); }

    void registersTheCommandsInHostOrder()
    {
        const QList<QPair<ushort, ushort>> expected = {
            {1, 0xF0A0}, {4, 0xF187}, {1, 0xF102}, {1, 0xF104}, {1, 0xF105}, {4, 0xF0A1}, {4, 0xF162},
            {4, 0xF166}, {4, 0x8001}, {4, 0x8003}, {4, 0x8004}, {4, 0x8005}, {4, 0x8012}, {4, 0x800E},
            {4, 0x800F}, {4, 0x8014}, {4, 0x8013}, {4, 0x8010}, {4, 0x8011}, {1, 0xF0A7}, {4, 0x8040},
            {4, 0x8042}, {4, 0x8041}, {4, 0x8043}, {4, 0xF0C7}, {4, 0xF0C6}, {4, 0x8015},
        };
        QCOMPARE(f.helper->registeredCommands(), expected);
    }

    void asksForTheMandatorBeforeRegistering()
    {
        f.helper->reset();
        QList<QString> order;
        connect(f.helper, &WrapPluginHelper::requestSent, this,
                [&order](Request *request) { order.append(QStringLiteral("request %1").arg(request->protocol()->command().b())); });
        connect(f.helper, &WrapPluginHelper::handlerRegistered, this,
                [&order](ushort, ushort) { order.append(QStringLiteral("handler")); });
        Chat controller(f.helper);
        QCOMPARE(order.size(), 28);
        QCOMPARE(order.first(), QStringLiteral("request 41"));
        const SentRequest mandator = f.network()->lastSent(1, 0x0029);
        QVERIFY(mandator.id);
        QVERIFY(mandator.args.isEmpty());
        f.network()->succeed(mandator.id);
        disconnect(f.helper, nullptr, this, nullptr);
    }

    void everyPlaceholderCommandIsAnswered_data()
    {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        const QList<QPair<int, int>> later = {
            {1, 0xF102}, {1, 0xF104}, {1, 0xF105}, {4, 0xF162}, {4, 0xF166}, {4, 0x8004}, {4, 0x8005},
            {4, 0x8012}, {4, 0x800E}, {4, 0x800F}, {4, 0x8014}, {4, 0x8013}, {4, 0x8010}, {4, 0x8011},
            {1, 0xF0A7}, {4, 0x8040}, {4, 0x8042}, {4, 0x8041}, {4, 0x8043}, {4, 0x8015}};
        for (const auto &command : later)
            QTest::newRow(qPrintable(QStringLiteral("(%1, 0x%2)").arg(command.first).arg(command.second, 0, 16)))
                << command.first << command.second;
    }
    void everyPlaceholderCommandIsAnswered()
    {
        QFETCH(int, a);
        QFETCH(int, b);
        QSignalSpy answered(f.helper, &WrapPluginHelper::incomingAnswered);
        f.network()->inject(ushort(a), ushort(b), {ProtocolArg(6, 9, anna)});
        QCOMPARE(answered.size(), 1);
    }

    void openCommandBuildsTheChat()
    {
        QSignalSpy answered(f.helper, &WrapPluginHelper::incomingAnswered);
        ZChatTab *tab = f.open(anna);
        QVERIFY(tab);
        ZChat *window = f.window(anna);
        QCOMPARE(answered.size(), 1);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
        QCOMPARE(window->tabs().size(), 1);
        ZContactCard *partner = tab->cardList->currentCard();
        QVERIFY(partner);
        QCOMPARE(partner->zubrelId(), anna);
        QCOMPARE(partner->alias(), QStringLiteral("Anna"));
        QCOMPARE(partner->status(), 1);
        QCOMPARE(partner->size(), QSize(153, 72));
        QCOMPARE(partner->generalApp(), 1);
        QVERIFY(!partner->isMobile());
        QCOMPARE(tab->ownCard->zubrelId(), self);
        QCOMPARE(tab->ownCard->alias(), QStringLiteral("Me"));
        QVERIFY(tab->ownCard->isOwn());
        QCOMPARE(tab->ownCard->internalId(), anna.toInt());
        QVERIFY(tab->encrypted);
        QVERIFY(!tab->otherNetwork);
        QCOMPARE(f.cardCount(anna), 1);
        QCOMPARE(f.cardCount(self), 1);
        const QList<uint> fetched = CZuBuddy_Administrator::Instance()->pictureFetches();
        QVERIFY(fetched.contains(anna.toUInt()));
        QVERIFY(fetched.contains(self.toUInt()));
    }

    void openReplyCarriesTheWindowHandle()
    {
        QList<ProtocolArg> replyArgs;
        ProtocolCommand replyCommand;
        connect(f.helper, &WrapPluginHelper::incomingAnswered, this,
                [&](Request *, const Protocol *reply) {
                    if (reply) {
                        replyArgs = reply->args();
                        replyCommand = reply->command();
                    }
                });
        f.open(anna);
        ZChat *window = f.window(anna);
        QVERIFY(replyCommand.isCommand(4, 0x0000));
        QCOMPARE(replyArgs.size(), 1);
        QCOMPARE(replyArgs.first(), ProtocolArg(6, 0, int(window->winId())));

        // Again for the open chat: nothing new, same handle, shown normally.
        window->showMinimized();
        replyArgs.clear();
        f.open(anna);
        QCOMPARE(f.window(anna), window);
        QCOMPARE(window->tabs().size(), 1);
        QCOMPARE(replyArgs.first(), ProtocolArg(6, 0, int(window->winId())));
        QVERIFY(!window->isMinimized());
        QCOMPARE(f.cardCount(anna), 1);
        disconnect(f.helper, nullptr, this, nullptr);
    }

    void secondOpenCommandMinimisesAndFlashes_data()
    {
        QTest::addColumn<bool>("alreadyOpen");
        QTest::newRow("closed chat") << false;
        QTest::newRow("open chat") << true;
    }
    void secondOpenCommandMinimisesAndFlashes()
    {
        QFETCH(bool, alreadyOpen);
        if (alreadyOpen)
            f.open(cleo);
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QSignalSpy answered(f.helper, &WrapPluginHelper::incomingAnswered);
        f.network()->inject(4, 0xF187, {ProtocolArg(6, 0, cleo)});
        ZChat *window = f.window(cleo);
        QVERIFY(window);
        QCOMPARE(answered.size(), 1);
        QVERIFY(!answered.first().at(1).value<const Protocol *>());
        const auto platform = hostEvents(events, "platform");
        QCOMPARE(platform.size(), 1);
        QCOMPARE(platform.first().value("op").toString(), QStringLiteral("showMinimizedNoActivate"));
        QCOMPARE(platform.first().value("widget").value<QObject *>(), window);
        const auto flashes = hostEvents(events, "flash");
        QCOMPARE(flashes.size(), 1);
        QCOMPARE(flashes.first().value("widget").value<QObject *>(), window);
    }

    void openCommandWithoutUsableIdIsStillAnswered_data()
    {
        QTest::addColumn<QList<ProtocolArg>>("args");
        QTest::newRow("no argument") << QList<ProtocolArg>{};
        QTest::newRow("not a number") << QList<ProtocolArg>{ProtocolArg(6, 0, "abc")};
        QTest::newRow("zero") << QList<ProtocolArg>{ProtocolArg(6, 0, "0")};
        QTest::newRow("a list") << QList<ProtocolArg>{ProtocolArg(6, 0, QVariantList{1, 2})};
    }
    void openCommandWithoutUsableIdIsStillAnswered()
    {
        QFETCH(QList<ProtocolArg>, args);
        QSignalSpy answered(f.helper, &WrapPluginHelper::incomingAnswered);
        f.network()->inject(1, 0xF0A0, args);
        f.network()->inject(4, 0xF187, args);
        QCOMPARE(answered.size(), 2);
        QVERIFY(f.controller->registry().value("chats").toMap().isEmpty());
    }

    void noticesFollowTheListsInOrder()
    {
        Chat::blockList = {cleo};
        Chat::hideList = {cleo};
        Chat::invisibleList = {cleo};
        ZChatTab *tab = f.open(cleo);
        QVERIFY(tab->cardList->currentCard()->isBlocked());
        const QString text = tab->viewText();
        const int blocked = text.indexOf("This contact is blocked and will not be able to send you further messages.");
        const int hidden = text.indexOf("This contact is on you hide list and will not be able to see your status.");
        const int invisible = text.indexOf("This contact will not be able to see your status. You are invisible for him.");
        QVERIFY2(blocked >= 0, qPrintable(text));
        QVERIFY(hidden > blocked);
        QVERIFY(invisible > hidden);

        ZChatTab *plain = f.open(anna);
        QVERIFY(!plain->cardList->currentCard()->isBlocked());
        QVERIFY(!plain->viewText().contains("This contact"));
    }

    void invisibleUserSeesTheNoticeInEveryChat_data()
    {
        QTest::addColumn<int>("ownStatus");
        QTest::newRow("6") << 6;
        QTest::newRow("7") << 7;
    }
    void invisibleUserSeesTheNoticeInEveryChat()
    {
        QFETCH(int, ownStatus);
        f.start(ownStatus);
        for (const QString &id : {anna, cleo}) {
            ZChatTab *tab = f.open(id);
            QCOMPARE(tab->viewText().count("You are invisible for him."), 1);
            QVERIFY(!tab->viewText().contains("blocked"));
        }
    }

    void otherNetworkChatIsReduced_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("network 2") << bridged;
        QTest::newRow("network 4") << bridged4;
    }
    void otherNetworkChatIsReduced()
    {
        QFETCH(QString, id);
        ZChatTab *tab = f.open(id);
        QVERIFY(tab->otherNetwork);
        QVERIFY(!tab->encrypted);
        QCOMPARE(tab->cardList->currentCard()->generalApp(), 0);
    }

    void mobileContactsGetAMobileCard_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("0x21") << phone;
        QTest::newRow("0x22") << phone2;
    }
    void mobileContactsGetAMobileCard()
    {
        QFETCH(QString, id);
        QVERIFY(f.open(id)->cardList->currentCard()->isMobile());
    }

    void activationReportsThePartner()
    {
        ZChatTab *tab = f.open(anna);
        ZChat *window = f.window(anna);
        emit window->activated();
        SentRequest sent = f.network()->lastSent(4, 0xF0A3);
        QVERIFY(sent.id);
        QCOMPARE(sent.args, QList<ProtocolArg>{ProtocolArg(6, 1, anna)});
        f.network()->clear();
        emit tab->activated();
        sent = f.network()->lastSent(4, 0xF0A3);
        QCOMPARE(sent.args, QList<ProtocolArg>{ProtocolArg(6, 1, anna)});
        // Both notices complete and are freed, success or failure.
        f.network()->fail(sent.id);
        QVERIFY(f.helper->request(sent.id) == nullptr || f.helper->request(sent.id)->isFreed());
    }

    void activationWithAnEmptyUserListSendsAnEmptyId()
    {
        ZChatTab *tab = f.open(anna);
        tab->cardList->removeCard(tab->cardList->currentCard());
        QCOMPARE(tab->cardList->size(), 0);
        emit tab->activated();
        QCOMPARE(f.network()->lastSent(4, 0xF0A3).args, QList<ProtocolArg>{ProtocolArg(6, 1, QString())});
        f.network()->clear();
        emit f.window(anna)->activated();
        QCOMPARE(f.network()->lastSent(4, 0xF0A3).args, QList<ProtocolArg>{ProtocolArg(6, 1, QString())});
    }

    void closingOneChatKeepsTheOthersCards()
    {
        // Both chats show the user's own card under the same id.
        f.open(anna);
        f.open(cleo);
        QCOMPARE(f.cardCount(self), 2);
        QPointer<ZChat> window = f.window(anna);
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.window(anna));
        QVERIFY(f.window(cleo));
        QCOMPARE(f.cardCount(self), 1);
        QCOMPARE(f.cardCount(anna), 0);
        QCOMPARE(f.cardCount(cleo), 1);
        QCOMPARE(f.window(cleo)->tabs().first()->ownCard,
                 f.controller->cards.value(self).data());

        // Open again after closing: a new window.
        QVERIFY(f.open(anna));
        QVERIFY(f.window(anna) != window);
    }

    void chatsOpenedAndClosedLeaveNothingBehind()
    {
        for (int round = 0; round < 5; ++round) {
            ZChatTab *tab = f.open(anna);
            emit tab->sendHtml(QStringLiteral("round %1").arg(round));
            f.window(anna)->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(f.controller->chats.isEmpty());
        QVERIFY(f.controller->cards.isEmpty());
        QVERIFY(f.controller->chatLoggers.isEmpty());
        QVERIFY(f.controller->requestTabs.isEmpty());
    }

    void registryListsWindowsAndCards()
    {
        f.open(anna);
        const QVariantMap registry = f.controller->registry();
        QCOMPARE(registry.value("chats").toMap().keys(), QStringList{anna});
        QCOMPARE(registry.value("chats").toMap().value(anna).value<QObject *>(), f.window(anna));
        QVERIFY(registry.value("multichats").toMap().isEmpty());
        QVERIFY(registry.value("randomChats").toMap().isEmpty());
        QCOMPARE(registry.value("cards").toMap(), (QVariantMap{{anna, 1}, {self, 1}}));
        QCOMPARE(registry.value("requestTabs").toInt(), 0);
        // Reachable through the meta-object alone, as the replay tracer does.
        QVariantMap invoked;
        QVERIFY(QMetaObject::invokeMethod(f.controller.data(), "registry", Q_RETURN_ARG(QVariantMap, invoked)));
        QCOMPARE(invoked, registry);
    }

    void mandatorSelectsTheSkin_data()
    {
        QTest::addColumn<QList<ProtocolArg>>("answer");
        QTest::addColumn<bool>("registered");
        QTest::newRow("plain name") << QList<ProtocolArg>{ProtocolArg(32, 0, "chattest")} << true;
        QTest::newRow("no argument") << QList<ProtocolArg>{} << false;
        QTest::newRow("two arguments")
            << QList<ProtocolArg>{ProtocolArg(32, 0, "chattest"), ProtocolArg(32, 0, "x")} << false;
        QTest::newRow("empty") << QList<ProtocolArg>{ProtocolArg(32, 0, "")} << false;
        QTest::newRow("dot dot") << QList<ProtocolArg>{ProtocolArg(32, 0, "../skins/chattest")} << false;
        QTest::newRow("slash") << QList<ProtocolArg>{ProtocolArg(32, 0, "sub/chattest")} << false;
        QTest::newRow("backslash") << QList<ProtocolArg>{ProtocolArg(32, 0, "sub\\chattest")} << false;
    }
    void mandatorSelectsTheSkin()
    {
        QFETCH(QList<ProtocolArg>, answer);
        QFETCH(bool, registered);
        const QByteArray appDir = qgetenv("ZUBREL_APP_DIR");
        qputenv("ZUBREL_APP_DIR", CHAT_TEST_APP_DIR);
        const QString skin = QStringLiteral(CHAT_TEST_APP_DIR "/skins/chattest.res");
        QVERIFY(QFile::exists(skin));
        QVERIFY(!QFile::exists(":/chattest/marker.txt"));

        Chat controller(f.helper);
        const SentRequest mandator = f.network()->lastSent(1, 0x0029);
        f.network()->succeed(mandator.id, answer);
        const bool found = QFile::exists(":/chattest/marker.txt");
        QResource::unregisterResource(skin);
        qputenv("ZUBREL_APP_DIR", appDir);
        QCOMPARE(found, registered);
        QVERIFY(f.helper->request(mandator.id) == nullptr || f.helper->request(mandator.id)->isFreed());
    }

    void failedMandatorIsFreed()
    {
        Chat controller(f.helper);
        const SentRequest mandator = f.network()->lastSent(1, 0x0029);
        QVERIFY(f.network()->fail(mandator.id));
        QVERIFY(!f.helper->unfreedRequests().contains(mandator.id));
    }
};

QTEST_MAIN(tst_ChatCore)
#include "tst_chatcore.moc"
