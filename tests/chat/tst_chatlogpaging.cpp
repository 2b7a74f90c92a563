// Scroll-back: a chat opens with its newest records and pages older ones in
// from the chat-log plug-in, 50 at a time, back to the first record.

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "chattestsupport.h"
#include "findbar.h"
#include "historypager.h"
#include "loggedhtml.h"
#include "messagehtmlguard.h"
#include "zmessageview.h"

using namespace zubrel;
using namespace ChatTest;

class tst_ChatLogPaging : public QObject
{
    Q_OBJECT

private:
    Fixture f;

    static void settle()
    {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }

private slots:
    void initTestCase() { f.setUpProcess(); }
    void init() { f.start(); }
    void cleanup() { f.succeedAll(); }
    void cleanupTestCase() { f.stop(); }

    void pagesBackToTheFirstRecord_data()
    {
        QTest::addColumn<int>("logged");
        QTest::addColumn<QList<int>>("shown"); // on open, then after each scroll to the top

        QTest::newRow("empty") << 0 << QList<int>{0, 0};
        QTest::newRow("fewer than open") << 7 << QList<int>{7, 7};
        QTest::newRow("exactly open") << 10 << QList<int>{10, 10};
        QTest::newRow("one older") << 11 << QList<int>{10, 11, 11};
        QTest::newRow("exactly one page") << 60 << QList<int>{10, 60, 60};
        QTest::newRow("one past a page") << 61 << QList<int>{10, 60, 61, 61};
        QTest::newRow("two pages") << 110 << QList<int>{10, 60, 110, 110};
    }

    void pagesBackToTheFirstRecord()
    {
        QFETCH(int, logged);
        QFETCH(QList<int>, shown);
        {
            QObject owner;
            ZChatLogger *logger = ZChatLogger::create(anna, &owner, 1);
            QVERIFY(logger);
            for (int i = 0; i < logged; ++i)
                logger->appendMessage(QString("r%1.").arg(i), i % 3 ? Zr::Received : Zr::Sent, anna);
        }
        ZChatTab *tab = f.open(anna);
        QVERIFY(tab);
        ZMessageView *view = tab->view;
        for (int step = 0; step < shown.size(); ++step) {
            if (step > 0) {
                emit view->olderEntriesWanted();
                settle();
            }
            QCOMPARE(view->entryCount(), shown.at(step));
        }
        // Oldest first, nothing twice, nothing left out.
        const QString text = view->plainText();
        int at = -1;
        for (int i = logged - shown.last(); i < logged; ++i) {
            const int next = text.indexOf(QString("r%1.").arg(i));
            QVERIFY2(next > at, qPrintable(QString("r%1 out of place").arg(i)));
            at = next;
        }
        QCOMPARE(text.count(QString("r%1.").arg(logged - 1)), logged ? 1 : 0);
        auto *pager = tab->findChild<HistoryPager *>();
        QVERIFY(pager);
        QVERIFY(pager->isExhausted());
    }

    void scrollingToTheTopKeepsTheViewStill()
    {
        {
            QObject owner;
            ZChatLogger *logger = ZChatLogger::create(cleo, &owner, 1);
            for (int i = 0; i < 80; ++i)
                logger->appendMessage(QString("line %1 with some words to wrap").arg(i), Zr::Received, cleo);
        }
        ZChatTab *tab = f.open(cleo);
        ZMessageView *view = tab->view;
        view->resize(300, 120);
        view->show();
        settle();
        QTest::qWait(60); // the tab's deferred scroll after the chat opened has run
        QScrollBar *bar = view->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        bar->setValue(0); // the user scrolls up: the page follows by itself
        settle();
        QCOMPARE(view->entryCount(), 60);
        QTest::qWait(60); // the tab's deferred reactions to changes have run
        // The entry that was at the top is still at the top, same pixel.
        QCOMPARE(view->entryRect(50).top(), 0);
        QCOMPARE(view->entryAt(QPoint(5, 1)), 50);
    }

    void wholeHistorySearchBringsAnOldRecordIntoView()
    {
        {
            QObject owner;
            ZChatLogger *logger = ZChatLogger::create(bert, &owner, 1);
            for (int i = 0; i < 300; ++i) {
                const QString word = (i == 20 || i == 290) ? QStringLiteral(" <b>Needle</b>") : QString();
                logger->appendMessage(QString("r%1.%2").arg(i).arg(word), i % 2 ? Zr::Received : Zr::Sent, bert);
            }
        }
        ZChatTab *tab = f.open(bert);
        auto *bar = tab->view->findChild<FindBar *>();
        QVERIFY(bar);
        bar->open();
        bar->field()->setText("needle");
        QVERIFY(bar->wholeHistoryButton()->isEnabled());
        bar->searchWholeHistory();
        QCOMPARE(bar->results()->count(), 2);
        QVERIFY(bar->results()->item(0)->text().contains("r290. Needle"));
        // Choosing the older one pages back to it (the page holding record 20
        // is the one that reaches the first record) and selects the word.
        emit bar->results()->itemActivated(bar->results()->item(1));
        ZMessageView *view = tab->view;
        QCOMPARE(view->entryCount(), 300);
        QCOMPARE(view->selectedText(), QString("Needle"));
        const QString text = view->plainText();
        QVERIFY(text.indexOf("r19.") < text.indexOf("r20.") && text.indexOf("r20.") < text.indexOf("r21."));
        // A message of this session is found among the entries shown live.
        tab->appendIncomingMessage("fresh needle here", QDateTime::currentDateTime());
        tab->findChild<ZChatLogger *>()->appendMessage("fresh needle here", Zr::Received, bert);
        bar->searchWholeHistory();
        QCOMPARE(bar->results()->count(), 3);
        emit bar->results()->itemActivated(bar->results()->item(0));
        QCOMPARE(view->selectedText(), QString("needle"));
        QCOMPARE(view->entryAt(QPoint(5, view->entryRect(view->entryCount() - 1).center().y())),
                 view->entryCount() - 1);
    }

    void foundRecordAtTheTopOfAPageComesWithContext()
    {
        {
            QObject owner;
            ZChatLogger *logger = ZChatLogger::create(bert, &owner, 1);
            for (int i = 0; i < 300; ++i) {
                const QString word = i == 240 ? QStringLiteral(" Needle") : QString();
                logger->appendMessage(QString("r%1.%2").arg(i).arg(word), i % 2 ? Zr::Received : Zr::Sent, bert);
            }
        }
        ZChatTab *tab = f.open(bert);
        ZMessageView *view = tab->view;
        auto *bar = view->findChild<FindBar *>();
        bar->open();
        bar->field()->setText("needle");
        bar->searchWholeHistory();
        QCOMPARE(bar->results()->count(), 1);
        // Record 240 is the first of the page that reaches it (the newest 10,
        // then 240 to 289): the page before it comes too.
        emit bar->results()->itemActivated(bar->results()->item(0));
        QCOMPARE(view->entryCount(), 110);
        QCOMPARE(view->selectedText(), QString("Needle"));
        const int entry = view->findEntry("r240.");
        QCOMPARE(entry, 50);
        QVERIFY(view->coveredTop() > 0);
        const QRect shown = view->entryRect(entry);
        QVERIFY2(shown.bottom() > view->coveredTop() && shown.top() < view->viewport()->height(),
                 qPrintable(QStringLiteral("entry %1..%2 under a bar down to %3")
                                .arg(shown.top()).arg(shown.bottom()).arg(view->coveredTop())));
    }

    void damagedRecordsShowWhatTheyHold_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown"); // in the view's text
        QTest::addColumn<QString>("note");

        const QString asStored = LoggedHtml::noteText();
        const QString cut = MessageHtmlGuard::shortenedNote();
        QTest::newRow("unclosed comment") << "<!-- hidden words" << "<!-- hidden words" << asStored;
        QTest::newRow("unclosed style") << "<style>p {} kept" << "<style>p {} kept" << asStored;
        QTest::newRow("cut inside a tag") << "<span class=\"x" << "<span class=\"x" << asStored;
        QTest::newRow("only empty tags") << "<b></b><i> </i>" << "<b></b><i> </i>" << asStored;
        QTest::newRow("ordinary markup") << "<b>bold</b> words" << "bold words" << QString();
        QTest::newRow("a picture only") << "<img src=\"nowhere.png\">" << "" << QString();
        QTest::newRow("enormous") << "<p>" + QString("word ").repeated(60000) + "</p>" << "word word" << cut;
    }

    void damagedRecordsShowWhatTheyHold()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, note);
        {
            QObject owner;
            ZChatLogger::create(phone, &owner, 1)->appendMessage(stored, Zr::Received, phone);
        }
        ZChatTab *tab = f.open(phone);
        QCOMPARE(tab->view->entryCount(), 1);
        const QString text = tab->view->plainText();
        QVERIFY2(text.contains(shown), qPrintable(text.left(200)));
        QCOMPARE(text.contains(LoggedHtml::noteText()), note == LoggedHtml::noteText());
        QCOMPARE(text.contains(MessageHtmlGuard::shortenedNote()), note == MessageHtmlGuard::shortenedNote());
    }

    void multiChatPagesThroughItsUuid()
    {
        QObject owner;
        ZChatLogger *multi = ZChatLogger::create("0", &owner, 0);
        ZChatLogger *other = ZChatLogger::create("0", &owner, 0);
        ZChatLogger *direct = ZChatLogger::create(anna, &owner, 1);
        QVERIFY(multi && other && direct && multi->canPage());
        for (int i = 0; i < 55; ++i) {
            multi->appendMessage(QString("m%1").arg(i), Zr::Received, i % 2 ? anna : cleo);
            other->appendMessage(QString("o%1").arg(i), Zr::Received, anna);
        }
        const QList<LogRecord> newest = multi->recordsBefore(0, 50);
        QCOMPARE(newest.size(), 50);
        QCOMPARE(newest.first().message.message, QString("m5"));
        QCOMPARE(newest.last().message.message, QString("m54"));
        const QList<LogRecord> older = multi->recordsBefore(newest.first().id, 50);
        QCOMPARE(older.size(), 5);
        QCOMPARE(older.first().message.message, QString("m0"));
        QCOMPARE(older.at(1).message.uuid, multi->uuid());
        QVERIFY(multi->recordsBefore(older.first().id, 50).isEmpty());
        // Senders of a multi chat are not one-to-one history.
        QVERIFY(direct->recordsBefore(0, 50).isEmpty());
    }
};

QTEST_MAIN(tst_ChatLogPaging)
#include "tst_chatlogpaging.moc"
