// The chat and card actions, contact state and side channels of the
// controller: every action id's exact command, and the effects a user sees
// (windows closed or opened, cards updated, chats ended, the large picture,
// links handed on). Longer conversations live in the replays.

#include <QScreen>

#include "chattestsupport.h"
#include "zavatar.h"
#include "ztextedit.h"

using namespace zubrel;
using namespace ChatTest;

using Args = QList<ProtocolArg>;

class tst_ChatActions : public QObject
{
    Q_OBJECT

private:
    Fixture f;
    const QString high = QStringLiteral("3000000001"); // above 2^31

    // A multi or random chat window as those features will file it, with
    // one card for each id.
    ZChat *injectGroupChat(bool multi, quint32 id, const QStringList &members)
    {
        auto *window = new ZChat;
        auto *tab = new ZChatTab;
        (multi ? tab->multichatId : tab->randomChatId) = id;
        multi ? tab->setMultiChat(true) : tab->setRandomChat(true);
        for (const QString &member : members) {
            auto *card = new ZContactCard;
            card->setZubrelId(member);
            connect(card, &ZContactCard::actionId, f.controller.data(), &Chat::slotCardAction);
            tab->cardList->addCard(card);
            f.controller->cards.insert(member, card);
        }
        f.controller->cards.insert(self, tab->ownCard);
        window->addTab(tab);
        window->show();
        const QString key = QString::number(id);
        (multi ? f.controller->multichats : f.controller->randomChats).insert(key, window);
        (multi ? f.controller->multichatInfo : f.controller->randomChatInfo).insert(key, {key, "0", "7"});
        return window;
    }

private slots:
    void initTestCase()
    {
        f.setUpProcess();
        qRegisterMetaType<QList<ProtocolArg>>();
    }
    void init()
    {
        f.start();
        BuddyData data;
        data.id = high.toUInt();
        data.nickname = QStringLiteral("Hugo");
        data.userState = 1;
        CZuBuddy_Administrator::Instance()->setBuddy(data);
    }
    void cleanup()
    {
        f.succeedAll();
        QVERIFY(f.booksBalanced());
    }
    void cleanupTestCase() { f.stop(); }

    void everyActionSendsItsCommand_data()
    {
        QTest::addColumn<bool>("fromCard");
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("module");
        QTest::addColumn<Args>("args");
        const Args members{ProtocolArg(4, 652, 2), ProtocolArg(6, 653, self), ProtocolArg(6, 653, anna)};
        const auto screenshot = [&members](int mode) {
            return members + Args{ProtocolArg(2, 720, 0), ProtocolArg(2, 657, mode)};
        };
        const Args annaId{ProtocolArg(6, 1, anna)};
        const Args noFiles{ProtocolArg(6, 1, anna), ProtocolArg(6, 126, 0)};
        const Args voip{ProtocolArg(0x20, 1, anna)};
        QTest::newRow("window filetransfer") << false << "filetransfer" << 1 << 0x0015 << -1 << noFiles;
        QTest::newRow("window webfolder") << false << "webfolder" << 1 << 0xF101 << -1 << annaId;
        QTest::newRow("window voip") << false << "voip" << 1 << 0xF100 << -1 << voip;
        QTest::newRow("window history") << false << "history" << 1 << 0xF186 << -1 << annaId;
        QTest::newRow("window shake") << false << "shake" << 4 << 0x0015 << -1
                                      << Args{ProtocolArg(6, 9, anna), ProtocolArg(6, 673, 1)};
        QTest::newRow("window exitnolog") << false << "exitnolog" << 4 << 0x0005 << -1
                                          << Args{ProtocolArg(6, 9, anna), ProtocolArg(2, 631, false)};
        QTest::newRow("window log") << false << "log" << 4 << 0x0004 << -1 << Args{ProtocolArg(6, 9, anna)};
        QTest::newRow("window slideshow") << false << "slideshow" << 40 << 0xF160 << 40 << members;
        QTest::newRow("window screennow") << false << "screennow" << 40 << 0xF165 << 40 << screenshot(0);
        QTest::newRow("window screentimer") << false << "screentimer" << 40 << 0xF165 << 40 << screenshot(1);
        QTest::newRow("window screenselect") << false << "screenselect" << 40 << 0xF165 << 40 << screenshot(2);
        QTest::newRow("card profile") << true << "profile" << 1 << 0xF00D << -1 << annaId;
        QTest::newRow("card block") << true << "block" << 1 << 0x0021 << -1 << annaId;
        QTest::newRow("card unblock") << true << "unblock" << 1 << 0x0020 << -1 << annaId;
        QTest::newRow("card voip") << true << "voip" << 1 << 0xF100 << -1 << voip;
        QTest::newRow("card filetransfer") << true << "filetransfer" << 1 << 0x0015 << -1 << noFiles;
        QTest::newRow("card webfolder") << true << "webfolder" << 1 << 0xF101 << -1 << annaId;
        QTest::newRow("card auth") << true << "auth" << 1 << 0xF180 << -1
                                   << Args{ProtocolArg(6, 1, anna), ProtocolArg(0x20, 0, "Anna")};
    }
    void everyActionSendsItsCommand()
    {
        QFETCH(bool, fromCard);
        QFETCH(QString, id);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, module);
        QFETCH(Args, args);
        ZChatTab *tab = f.open(anna);
        ZModalScript::instance()->queue("question", "yes"); // "log" asks first
        if (fromCard)
            emit tab->cardList->currentCard()->actionId(id);
        else
            emit f.window(anna)->action(id);
        const QList<SentRequest> sent = f.network()->sent();
        QCOMPARE(sent.size(), 1);
        QVERIFY(sent.first().command.isCommand(ushort(a), ushort(b)));
        QCOMPARE(sent.first().module, module);
        QCOMPARE(sent.first().args, args);
    }

    void unknownIdsAndTabsWithoutPartnerSendNothing()
    {
        ZChatTab *tab = f.open(anna);
        emit f.window(anna)->action("dance");
        emit tab->cardList->currentCard()->actionId("dance");
        tab->cardList->removeCard(tab->cardList->currentCard());
        for (const char *id : {"filetransfer", "voip", "history", "shake", "exitnolog", "webfolder"})
            emit f.window(anna)->action(id);
        QVERIFY(f.network()->sent().isEmpty());
    }

    void exitIsDecidedByTheTabThatShowsTheCard()
    {
        // Anna has a one-to-one chat and sits in a multi chat: her multi chat
        // card's "exit" is the multi chat's business, not a close.
        ZChatTab *oneToOne = f.open(anna);
        QPointer<ZChat> multi = injectGroupChat(true, 77, {anna});
        emit multi->tabs().first()->cardList->currentCard()->actionId("exit");
        QVERIFY(f.window(anna));
        QVERIFY(multi && multi->isVisible());

        // In the one-to-one chat the card closes it, as does the window's
        // own "exit" for another chat.
        emit oneToOne->cardList->currentCard()->actionId("exit");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.window(anna));
        f.open(cleo);
        emit f.window(cleo)->action("exit");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(f.controller->chats.isEmpty());

        // "chat" on a card opens that contact's chat in front.
        QSignalSpy host(ZHostEvents::instance(), &ZHostEvents::event);
        emit multi->tabs().first()->cardList->currentCard()->actionId("chat");
        QVERIFY(f.window(anna) && f.window(anna)->isVisible());
        QCOMPARE(hostEvents(host, "platform").last().value("op").toString(), QStringLiteral("raise"));
        delete multi.data();
    }

    void contactChangesReachEveryCardOfTheContact()
    {
        ZChatTab *tab = f.open(anna);
        ZChat *multi = injectGroupChat(true, 78, {anna});
        BuddyData changed = *CZuBuddy_Administrator::Instance()->data(anna.toUInt());
        changed.nickname = QStringLiteral("Anna B");
        changed.userState = 4;
        changed.clientType = 0x21;
        CZuBuddy_Administrator::Instance()->updateBuddy(changed);
        for (ZContactCard *card : {tab->cardList->currentCard(), multi->tabs().first()->cardList->currentCard()}) {
            QCOMPARE(card->alias(), QStringLiteral("Anna B"));
            QCOMPARE(card->status(), 4);
            QVERIFY(card->isMobile());
        }
        QVERIFY(f.window(anna)->windowTitle().startsWith(QStringLiteral("Anna B")));
        changed.userState = 8; // not a status: the card keeps its own
        CZuBuddy_Administrator::Instance()->updateBuddy(changed);
        QCOMPARE(tab->cardList->currentCard()->status(), 4);

        // The block list reaches both cards; the notice goes to the chat.
        ZContactCard *inMulti = multi->tabs().first()->cardList->currentCard();
        f.network()->inject(1, 0xF102, {ProtocolArg(4, 0, 1), ProtocolArg(6, 0, anna)});
        QVERIFY(tab->cardList->currentCard()->isBlocked() && inMulti->isBlocked());
        QCOMPARE(tab->viewText().count("This contact is blocked"), 1);
        f.network()->inject(1, 0xF102, {ProtocolArg(4, 0, 0)});
        QVERIFY(!tab->cardList->currentCard()->isBlocked() && !inMulti->isBlocked());
        delete multi;
    }

    void goingOfflineEndsGroupChatsButKeepsTheirWindows()
    {
        ZChatTab *oneToOne = f.open(anna);
        QPointer<ZChat> multi = injectGroupChat(true, 79, {anna, cleo});
        QPointer<ZChat> random = injectGroupChat(false, 80, {bert});
        BuddyData me = *CZuBuddy_Administrator::Instance()->data(self.toUInt());
        me.userState = 0;
        CZuBuddy_Administrator::Instance()->updateBuddy(me);
        QVERIFY(f.controller->multichats.isEmpty() && f.controller->randomChats.isEmpty());
        QVERIFY(f.controller->multichatInfo.isEmpty() && f.controller->randomChatInfo.isEmpty());
        QVERIFY(multi && multi->isVisible() && random && random->isVisible());
        QVERIFY(multi->tabs().first()->input->isReadOnly());
        QVERIFY(random->tabs().first()->input->isReadOnly());
        QCOMPARE(multi->tabs().first()->multichatId, ZChatTab::noId);
        QCOMPARE(random->tabs().first()->randomChatId, ZChatTab::noId);
        QCOMPARE(f.cardCount(cleo), 0);
        QCOMPARE(f.cardCount(bert), 0);
        QCOMPARE(f.cardCount(anna), 1); // the one-to-one card stays
        QVERIFY(!oneToOne->input->isReadOnly());
        QCOMPARE(oneToOne->ownCard->status(), 0);
        delete multi.data();
        delete random.data();
    }

    void largePictureStaysOnTheScreenOfItsCard()
    {
        ZChatTab *tab = f.open(anna);
        ZChat *window = f.window(anna);
        const QRect screen = window->screen()->availableGeometry();
        // The own card (bottom right of the window) ends just short of the
        // screen's right edge; the window reaches past it.
        ZContactCard *own = tab->ownCard;
        window->move(screen.right() - window->width() + 1, screen.bottom() - window->height() + 1);
        window->move(window->pos() + QPoint(screen.right() - 30 - own->mapToGlobal(QPoint(0, 0)).x(), 0));
        emit own->avatarClicked();
        auto *avatar = own->findChild<ZAvatar *>();
        QVERIFY(avatar && avatar->isVisible());
        QVERIFY2(screen.contains(avatar->frameGeometry()), qPrintable(QStringLiteral("%1,%2").arg(avatar->x()).arg(avatar->y())));
        QVERIFY(avatar->x() < own->mapToGlobal(QPoint(0, 0)).x() + 10); // opened to the left
    }

    void idsFromTwoToThe31KeepTheirValue()
    {
        ZChatTab *tab = f.open(high);
        QVERIFY(tab);
        QCOMPARE(quint32(tab->ownCard->internalId()), high.toUInt());
        emit tab->ownCard->newAvatar({"/tmp/a.png", "/tmp/b.txt"});
        QCOMPARE(f.network()->lastSent(1, 0x0015).args,
                 (Args{ProtocolArg(6, 1, high), ProtocolArg(6, 126, 2), ProtocolArg(32, 128, "\\tmp\\a.png"),
                       ProtocolArg(32, 128, "\\tmp\\b.txt")}));
        emit tab->ownCard->newAvatar({"/tmp/me.png"});
        QCOMPARE(f.network()->lastSent(1, 0xF0B0).args, Args{ProtocolArg(32, 128, "/tmp/me.png")});
    }

    void slideshowTargetIsForgottenOnFailureAndClose()
    {
        f.open(anna);
        emit f.window(anna)->action("slideshow");
        QCOMPARE(Chat::slideshowWindow.data(), f.window(anna));
        f.network()->fail(f.network()->lastSent(40, 0xF160).id);
        QVERIFY(!Chat::slideshowWindow);
        emit f.window(anna)->action("screennow");
        f.window(anna)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!Chat::slideshowWindow);
    }

    void privateSessionStateWithoutProposalKeepsTheLog()
    {
        ZChatTab *tab = f.open(anna);
        f.network()->inject(4, 0x8005, {ProtocolArg(6, 0, anna), ProtocolArg(2, 0, true)});
        QVERIFY(!tab->noLog); // nobody here asked for it
        ZModalScript::instance()->queue("question", "yes");
        emit f.window(anna)->action("log");
        f.network()->inject(4, 0x8005, {ProtocolArg(6, 0, anna), ProtocolArg(2, 0, true)});
        QVERIFY(tab->noLog);
        // A state for a contact without a chat opens nothing.
        f.network()->inject(4, 0x8005, {ProtocolArg(6, 0, cleo), ProtocolArg(2, 0, false)});
        QVERIFY(!f.window(cleo));
    }
};

QTEST_MAIN(tst_ChatActions)
#include "tst_chatactions.moc"
