// Card list: the controller reads the partner through currentCard() and
// counts participants with size(), so both must stay right across removals
// and cards deleted behind the list's back.

#include "zcontactcard.h"
#include "zcontactcardlist.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace zubrel;

class tst_ZContactCardList : public QObject
{
    Q_OBJECT

private slots:
    void addAndCurrent()
    {
        ZContactCardList list;
        QCOMPARE(list.size(), 0);
        QCOMPARE(list.currentCard(), nullptr);
        QCOMPARE(list.card(0), nullptr);

        QSignalSpy added(&list, &ZContactCardList::added);
        ZContactCard *a = makeCard("1");
        ZContactCard *b = makeCard("2");
        list.addCard(a);
        list.addCard(b);
        list.addCard(a);
        list.addCard(nullptr);
        QCOMPARE(list.size(), 2);
        QCOMPARE(added.count(), 2);
        QCOMPARE(list.card(0), a);
        QCOMPARE(list.card(1), b);
        QCOMPARE(list.card(2), nullptr);
        QCOMPARE(list.card(-1), nullptr);
        QCOMPARE(list.currentCard(), a);
        // The list took the cards over: they die with it.
        QVERIFY(a->parent());
    }

    void removeKeepsOrder()
    {
        ZContactCardList list;
        ZContactCard *a = makeCard("1");
        ZContactCard *b = makeCard("2");
        ZContactCard *c = makeCard("3");
        list.addCard(a);
        list.addCard(b);
        list.addCard(c);
        QPointer<ZContactCard> removed(b);
        list.removeCard(b);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.card(0), a);
        QCOMPARE(list.card(1), c);
        QVERIFY(removed); // deferred: the card may be the sender that led here
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!removed);

        ZContactCard stranger;
        list.removeCard(&stranger);
        list.removeCard(nullptr);
        QCOMPARE(list.size(), 2);

        // Adding after a removal appends at the end.
        ZContactCard *d = makeCard("4");
        list.addCard(d);
        QCOMPARE(list.card(2), d);
        QCOMPARE(list.size(), 3);
    }

    void removeCurrentFallsBackToFirst()
    {
        ZContactCardList list;
        ZContactCard *a = makeCard("1");
        ZContactCard *b = makeCard("2");
        list.addCard(a);
        list.addCard(b);
        list.setCurrentCard(b);
        QCOMPARE(list.currentCard(), b);
        list.removeCard(b);
        QCOMPARE(list.currentCard(), a);
        list.removeCard(a);
        QCOMPARE(list.currentCard(), nullptr);
        QCOMPARE(list.size(), 0);
    }

    void cardDeletedElsewhere()
    {
        ZContactCardList list;
        ZContactCard *a = makeCard("1");
        ZContactCard *b = makeCard("2");
        list.addCard(a);
        list.addCard(b);
        list.setCurrentCard(a);
        delete a;
        QCOMPARE(list.size(), 1);
        QCOMPARE(list.card(0), b);
        QCOMPARE(list.currentCard(), b);
    }

    void clickSelects()
    {
        ZContactCardList list;
        list.resize(160, 300);
        ZContactCard *a = makeCard("1");
        ZContactCard *b = makeCard("2");
        list.addCard(a);
        list.addCard(b);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QSignalSpy changed(&list, &ZContactCardList::currentChanged);
        QTest::mouseClick(b, Qt::LeftButton);
        QCOMPARE(list.currentCard(), b);
        QCOMPARE(changed.count(), 1);
    }

    void addContactButton()
    {
        ZContactCardList list;
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QPushButton *button = list.addContactButton();
        QVERIFY(button);
        QVERIFY(!button->isVisible());
        list.enableAddContact(true);
        QVERIFY(button->isVisible());
        QSignalSpy spy(&list, &ZContactCardList::addContact);
        button->click();
        QCOMPARE(spy.count(), 1);
        list.enableAddContact(false);
        QVERIFY(!button->isVisible());
    }

    void waitingCardsGetLabelsWhenSeen()
    {
        // A busy group: only the cards in view have labels; the others still
        // tell their alias and status, and get labels once scrolled to.
        ZContactCardList list;
        list.resize(160, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        for (int i = 0; i < 40; ++i) {
            auto *card = new ZContactCard(nullptr, ZContactCard::WaitUntilSeen);
            card->setZubrelId(QString::number(i));
            card->setAlias(QStringLiteral("Member %1").arg(i));
            card->setStatus(ZContactCard::Away);
            card->setTyping(i == 39);
            card->setFixedSize(150, 72);
            list.addCard(card);
        }
        const auto label = [&list](int i, const char *name) {
            return list.card(i)->findChild<QLabel *>(QLatin1String(name));
        };
        QVERIFY(label(0, "alias") && label(1, "alias"));
        QCOMPARE(label(0, "alias")->text(), QStringLiteral("Member 0"));
        QVERIFY(!label(39, "alias"));
        QCOMPARE(list.card(39)->accessibleName(), QStringLiteral("Member 39"));
        QCOMPARE(list.card(39)->accessibleDescription(), QString::fromUtf8("Away, typing\u2026"));
        list.verticalScrollBar()->setValue(list.verticalScrollBar()->maximum());
        QVERIFY(label(39, "alias") && label(39, "alias")->isVisible());
        QCOMPARE(label(39, "alias")->text(), QStringLiteral("Member 39"));
        QCOMPARE(label(39, "statusName")->toolTip(), QStringLiteral("Away"));
        QVERIFY(label(39, "typing")->isVisible());
    }

private:
    static ZContactCard *makeCard(const QString &id);
};

ZContactCard *tst_ZContactCardList::makeCard(const QString &id)
{
    auto *card = new ZContactCard;
    card->setZubrelId(id);
    return card;
}

QTEST_MAIN(tst_ZContactCardList)
#include "tst_zcontactcardlist.moc"
