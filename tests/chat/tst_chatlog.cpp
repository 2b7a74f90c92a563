// Chat history through the real chat-log plug-in: what a conversation
// writes, and what a new chat shows after the client started again.

#include "chattestsupport.h"
#include "zdir.h"

using namespace zubrel;
using namespace ChatTest;

class tst_ChatLog : public QObject
{
    Q_OBJECT

private:
    Fixture f;

    // A new controller over the same profile, as after a restart of the client.
    void restart()
    {
        f.stop();
        f.helper->reset();
        QVERIFY(ZChatLogger::initUser(f.historyUser));
        f.controller = new Chat(f.helper);
        f.finishMandator();
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

    void recordsAreWrittenAndReplayedInOrder()
    {
        ZChatTab *tab = f.open(anna);
        emit tab->sendHtml("first from me");
        f.network()->inject(4, 0xF0A1, {{6, 0, anna}, {32, 10, QByteArray("second from Anna")}});
        emit tab->sendHtml("third from me");
        f.succeedAll();

        restart();
        QObject owner;
        ZChatLogger *logger = ZChatLogger::create(anna, &owner, 1);
        QVERIFY(logger);
        const QList<MessageStruct> records = logger->lastMessages(10);
        QCOMPARE(records.size(), 3);
        QCOMPARE(records.at(0).message, QString("first from me"));
        QCOMPARE(records.at(0).direction, Zr::Sent);
        QCOMPARE(records.at(1).message, QString("second from Anna"));
        QCOMPARE(records.at(1).direction, Zr::Received);
        QCOMPARE(records.at(1).alias, QString("Anna"));
        QCOMPARE(records.at(2).message, QString("third from me"));
        for (const MessageStruct &record : records) {
            QCOMPARE(record.contact, anna);
            QCOMPARE(record.chatKind, 1);
        }

        ZChatTab *replayed = f.open(anna);
        QVERIFY(replayed);
        const QString text = replayed->viewText();
        const int first = text.indexOf("first from me");
        const int second = text.indexOf("second from Anna");
        const int third = text.indexOf("third from me");
        QVERIFY2(first >= 0, qPrintable(text));
        QVERIFY(second > first);
        QVERIFY(third > second);
        // Own lines are shown under the user's name, the partner's under hers.
        QVERIFY(text.contains("Me"));
        QVERIFY(text.contains("Anna"));
    }

    void onlyTheLastTenAreReplayed()
    {
        ZChatTab *tab = f.open(cleo);
        for (int i = 1; i <= 12; ++i)
            emit tab->sendHtml(QString("line %1 end").arg(i));
        f.succeedAll();

        restart();
        const QString text = f.open(cleo)->viewText();
        QVERIFY(!text.contains("line 1 end"));
        QVERIFY(!text.contains("line 2 end"));
        for (int i = 3; i <= 12; ++i)
            QVERIFY2(text.contains(QString("line %1 end").arg(i)), qPrintable(text));
        QVERIFY(text.indexOf("line 3 end") < text.indexOf("line 12 end"));
    }

    void eachChatReplaysOnlyItsOwnHistory()
    {
        emit f.open(anna)->sendHtml("for Anna");
        emit f.open(cleo)->sendHtml("for Cleo");
        f.succeedAll();
        restart();
        const QString annaText = f.open(anna)->viewText();
        QVERIFY(annaText.contains("for Anna"));
        QVERIFY(!annaText.contains("for Cleo"));
    }

    void damagedHistoryIsToldOnceInTheChat()
    {
        f.open(anna);
        f.stop();
        QVERIFY(ZChatLogger::initUser("1")); // lets go of the user's file
        // Damaged while the client was not running: a trashed header.
        QFile file(ZDir::userPath(f.historyUser) + "/chatlog.sqlite");
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.write(QByteArray(100, '\xA5'));
        file.close();
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        restart();

        ZChatTab *first = f.open(anna);
        ZChatTab *second = f.open(cleo);
        QVERIFY(first->viewText().contains("The chat history was damaged."));
        QVERIFY(!second->viewText().contains("damaged"));
        QCOMPARE(eventsOf(events, "logNotice").size(), 1);
    }

    void closedChatsLeaveNoLoggerBehind()
    {
        for (int i = 0; i < 3; ++i) {
            f.open(anna);
            f.window(anna)->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(f.controller->chatLoggers.isEmpty());
        f.open(anna);
        QCOMPARE(f.controller->chatLoggers.size(), 1);
    }
};

QTEST_MAIN(tst_ChatLog)
#include "tst_chatlog.moc"
