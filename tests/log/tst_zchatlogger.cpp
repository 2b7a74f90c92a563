// The bridge to the chat-log plug-in: finding it, the records it builds for
// each kind of chat, and what happens when the plug-in is missing or gone.

#include <QPluginLoader>
#include <QtTest>

#include "czubuddy_administrator.h"
#include "zchatlogger.h"
#include "zloggerinterfaces.h"

using namespace zubrel;

class tst_ZChatLogger : public QObject
{
    Q_OBJECT

private:
    QObject *plugin()
    {
        QPluginLoader loader(ZAbstractLogger::pluginPath(QStringLiteral("chatlogger")));
        return loader.instance();
    }
    ZChatLoggerInterface *store() { return qobject_cast<ZChatLoggerInterface *>(plugin()); }

private slots:
    void initTestCase()
    {
        qputenv("ZUBREL_APP_DIR", TEST_APP_DIR);
        BuddyData anna;
        anna.id = 2001;
        anna.nickname = QStringLiteral("Anna");
        CZuBuddy_Administrator::Instance()->setBuddy(anna);
        BuddyData nameless;
        nameless.id = 2002;
        nameless.nicknameValid = false;
        nameless.nickname = QStringLiteral("hidden");
        CZuBuddy_Administrator::Instance()->setBuddy(nameless);
    }

    void pluginIsFoundInTheApplicationFolder()
    {
        QCOMPARE(ZAbstractLogger::pluginPath(QStringLiteral("chatlogger")),
                 QStringLiteral(TEST_APP_DIR "/plugins/log/chatlogger.so"));
        QVERIFY(plugin());
    }

    void initUserTellsThePluginTheUser()
    {
        QVERIFY(ZChatLogger::initUser(QStringLiteral("1000")));
        QCOMPARE(plugin()->property("userId").toString(), QStringLiteral("1000"));
    }

    void oneToOneRecordsUseThePartnerAndItsNickname()
    {
        QObject parent;
        ZChatLogger *logger = ZChatLogger::create(QStringLiteral("2001"), &parent, ZChatLogger::OneToOneChat);
        QVERIFY(logger);
        QCOMPARE(logger->parent(), &parent);
        QVERIFY(logger->uuid().isNull());
        QCOMPARE(logger->chatId(), QStringLiteral("2001"));

        const QDateTime sentAt(QDate(2026, 1, 2), QTime(3, 4, 5, 6), Qt::UTC);
        // Caller's contact and alias are ignored for one-to-one logs.
        logger->appendMessage(MessageStruct{QStringLiteral("9999"), sentAt, QStringLiteral("<b>hi</b>"), QUuid(),
                                            QStringLiteral("ignored"), 0, Zr::Received});
        logger->appendMessage(QStringLiteral("reply"));
        const QList<MessageStruct> records = logger->lastMessages(10);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).contact, QStringLiteral("2001"));
        QCOMPARE(records.at(0).alias, QStringLiteral("Anna"));
        QCOMPARE(records.at(0).time, sentAt);
        QCOMPARE(records.at(0).message, QStringLiteral("<b>hi</b>"));
        QCOMPARE(records.at(0).chatKind, 1);
        QCOMPARE(records.at(0).direction, Zr::Received);
        QVERIFY(records.at(0).uuid.isNull());
        QCOMPARE(records.at(1).direction, Zr::Sent);
        QVERIFY(records.at(1).time.isValid()); // no time given: now
        QVERIFY(qAbs(records.at(1).time.secsTo(QDateTime::currentDateTime())) < 3600);
    }

    void defaultHistoryAsksForTwenty()
    {
        std::unique_ptr<ZChatLogger> logger(ZChatLogger::create(QStringLiteral("2001"), nullptr, 1));
        logger->lastMessages();
        QCOMPARE(plugin()->property("lastCount").toInt(), 20);
        QCOMPARE(plugin()->property("lastKey").toString(), QStringLiteral("2001"));
    }

    void pluginWithoutPagingStillServesTheNewest()
    {
        // An older plug-in knows only the two first interfaces: it loads,
        // and paging asks it nothing.
        std::unique_ptr<ZChatLogger> logger(ZChatLogger::create(QStringLiteral("2003"), nullptr, 1));
        QVERIFY(logger);
        logger->appendMessage(QStringLiteral("kept"), Zr::Received);
        QVERIFY(!logger->canPage());
        QVERIFY(logger->recordsBefore(0, 50).isEmpty());
        QVERIFY(!logger->canSearch());
        QVERIFY(logger->searchRecords(QStringLiteral("kept"), 50).isEmpty());
        QCOMPARE(logger->lastMessages(10).size(), 1);
    }

    void invalidNicknameGivesEmptyAlias()
    {
        std::unique_ptr<ZChatLogger> logger(ZChatLogger::create(QStringLiteral("2002"), nullptr, 2));
        logger->appendMessage(QStringLiteral("x"), Zr::Received);
        const QList<MessageStruct> records = logger->lastMessages(1);
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.at(0).alias, QString());
        QCOMPARE(records.at(0).chatKind, 2);
    }

    void multiChatLoggersHaveTheirOwnUuidAndPerMessageSenders()
    {
        std::unique_ptr<ZChatLogger> first(ZChatLogger::create(QStringLiteral("77"), nullptr, 0));
        std::unique_ptr<ZChatLogger> second(ZChatLogger::create(QStringLiteral("77"), nullptr, 0));
        QVERIFY(!first->uuid().isNull());
        QVERIFY(first->uuid() != second->uuid());
        QCOMPARE(first->chatId(), QString());

        first->appendMessage(QStringLiteral("one"), Zr::Received, QStringLiteral("2001"));
        first->appendMessage(QStringLiteral("two"), Zr::Sent, QStringLiteral("1000"));
        second->appendMessage(QStringLiteral("other"), Zr::Received, QStringLiteral("2001"));
        const QList<MessageStruct> records = first->lastMessages(20);
        QCOMPARE(records.size(), 2);
        QCOMPARE(records.at(0).contact, QStringLiteral("2001"));
        QCOMPARE(records.at(0).alias, QStringLiteral("Anna"));
        QCOMPARE(records.at(1).contact, QStringLiteral("1000"));
        QCOMPARE(records.at(0).uuid, first->uuid());
        QCOMPARE(records.at(1).uuid, first->uuid());
        QCOMPARE(plugin()->property("lastKey").toString(), first->uuid().toString());
    }

    // Last: it destroys the shared plug-in object.
    void pluginObjectGoneLaterIsHarmless()
    {
        std::unique_ptr<ZChatLogger> logger(ZChatLogger::create(QStringLiteral("2001"), nullptr, 1));
        QVERIFY(logger);
        delete plugin();
        QVERIFY(logger->lastMessages().isEmpty());
        logger->appendMessage(QStringLiteral("lost"));
        logger->setUserId(QStringLiteral("1"));
    }

    void missingPluginGivesNoLogger()
    {
        QTemporaryDir empty;
        qputenv("ZUBREL_APP_DIR", empty.path().toUtf8());
        QObject parent;
        QCOMPARE(ZChatLogger::create(QStringLiteral("2001"), &parent, 1), nullptr);
        QVERIFY(parent.children().isEmpty());
        QVERIFY(!ZChatLogger::initUser(QStringLiteral("1000")));
        qputenv("ZUBREL_APP_DIR", TEST_APP_DIR);
    }
};

QTEST_GUILESS_MAIN(tst_ZChatLogger)
#include "tst_zchatlogger.moc"
