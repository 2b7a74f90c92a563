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

private slots:
    void initTestCase() { f.setUpProcess(); }
    void init() { f.start(); }
    void cleanup()
    {
        f.succeedAll();
        QVERIFY(f.booksBalanced());
    }
    void cleanupTestCase() { f.stop(); }

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

    void partnerKinds_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("otherNetwork");
        QTest::addColumn<bool>("mobile");
        QTest::newRow("network 2") << bridged << true << false;
        QTest::newRow("network 4") << bridged4 << true << false;
        QTest::newRow("client 0x21") << phone << false << true;
        QTest::newRow("client 0x22") << phone2 << false << true;
    }
    void partnerKinds()
    {
        QFETCH(QString, id);
        QFETCH(bool, otherNetwork);
        QFETCH(bool, mobile);
        ZChatTab *tab = f.open(id);
        QCOMPARE(tab->otherNetwork, otherNetwork);
        QCOMPARE(tab->encrypted, !otherNetwork);
        QCOMPARE(tab->cardList->currentCard()->generalApp(), otherNetwork ? 0 : 1);
        QCOMPARE(tab->cardList->currentCard()->isMobile(), mobile);
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
