// The contact directory as the module sees it: filled from the JSON the
// demo and the replays use, reporting ready, announcing changes.

#include <QJsonDocument>
#include <QPixmap>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QtTest>

#include "czubuddy_administrator.h"

class ReadyCounter : public QObject
{
    Q_OBJECT
public:
    int calls = 0;
public slots:
    void slotOnReady() { ++calls; }
};

class tst_ContactDirectory : public QObject
{
    Q_OBJECT

private:
    CZuBuddy_Administrator *directory = CZuBuddy_Administrator::Instance();

    static QJsonObject json(const char *text) { return QJsonDocument::fromJson(text).object(); }

private slots:
    void init() { directory->clear(); }

    void loadsSelfContactsAndGroups()
    {
        QString error;
        QVERIFY2(directory->loadJson(json(R"({"self": {"id": 1000, "nick": "Me", "status": 1},
            "contacts": [{"id": 2001, "nick": "Anna", "status": 1},
                         {"id": "2002", "nick": "Bob", "status": 0, "messenger": 2, "client": 33},
                         {"id": 2003, "nick": "", "contact": false}],
            "groups": [{"name": "Friends", "ids": [2001, 2002]}]})"), {}, &error), qPrintable(error));

        QVERIFY(CZuBuddy(1000).IsCurrentUser());
        QCOMPARE(CZuBuddy::CurrentUser().Id(), 1000u);
        QCOMPARE(CZuBuddy(2001).Nickname(), QStringLiteral("Anna"));
        QVERIFY(CZuBuddy(2001).IsNicknameValid());
        QVERIFY(!CZuBuddy(2003).IsNicknameValid()); // empty nickname is no nickname
        QCOMPARE(CZuBuddy(2002).Messenger(), 2);
        QCOMPARE(CZuBuddy(2002).ClientType(), 0x21);
        QVERIFY(!CZuBuddy(2003).IsContact());
        QVERIFY(!CZuBuddy(9999).IsKnown());
        QCOMPARE(CZuBuddy(9999).UserState(), 0);

        QList<uint> ids;
        for (const CZuBuddy &buddy : directory->Buddies())
            ids.append(buddy.Id());
        QCOMPARE(ids, (QList<uint>{2001, 2002})); // not self, not non-contacts
        QCOMPARE(directory->Groups().size(), 1);
        QCOMPARE(directory->Groups().at(0).Name(), QStringLiteral("Friends"));
        QCOMPARE(directory->Groups().at(0).Buddies().size(), 2);
    }

    void malformedDataLeavesTheDirectoryUnchanged_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("contacts not a list") << QByteArray(R"({"contacts": {"id": 1}})");
        QTest::newRow("id missing") << QByteArray(R"({"contacts": [{"nick": "x"}]})");
        QTest::newRow("id negative") << QByteArray(R"({"contacts": [{"id": -5}]})");
        QTest::newRow("id fraction") << QByteArray(R"({"contacts": [{"id": 1.5}]})");
        QTest::newRow("id text") << QByteArray(R"({"contacts": [{"id": "12ab"}]})");
        QTest::newRow("group id bad") << QByteArray(R"({"groups": [{"name": "g", "ids": ["x"]}]})");
    }

    void malformedDataLeavesTheDirectoryUnchanged()
    {
        QFETCH(QByteArray, text);
        QVERIFY(directory->loadJson(json(R"({"contacts": [{"id": 2001, "nick": "Anna"}]})")));
        QString error;
        QVERIFY(!directory->loadJson(QJsonDocument::fromJson(text).object(), {}, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(directory->Buddies().size(), 1);
    }

    void loadsAFileAndResolvesPicturesNextToIt()
    {
        QTemporaryDir folder;
        QFile file(folder.filePath(QStringLiteral("contacts.json")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(R"({"contacts": [{"id": 2001, "nick": "Anna", "picture": "avatars/anna.png"}]})");
        file.close();
        QVERIFY(directory->loadJsonFile(file.fileName()));
        QCOMPARE(directory->data(2001)->picturePath, folder.filePath(QStringLiteral("avatars/anna.png")));
        QVERIFY(!CZuBuddy(2001).IsPictureValid()); // named but missing: no picture

        QString error;
        QVERIFY(!directory->loadJsonFile(folder.filePath(QStringLiteral("missing.json")), &error));
        QVERIFY(error.contains(QStringLiteral("missing.json")));
        QFile broken(folder.filePath(QStringLiteral("broken.json")));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write("{\"contacts\": [");
        broken.close();
        QVERIFY(!directory->loadJsonFile(broken.fileName(), &error));
    }

    void pictureFollowsTheContactsData()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("anna.png"));
        QPixmap drawn(200, 100);
        drawn.fill(Qt::red);
        QVERIFY(drawn.save(path));
        BuddyData anna;
        anna.id = 2001;
        anna.picturePath = path;
        directory->updateBuddy(anna);
        QVERIFY(CZuBuddy(2001).IsPictureValid());
        QCOMPARE(CZuBuddy(2001).Picture(true).size(), QSize(96, 48));
        QCOMPARE(CZuBuddy(2001).Picture(false).size(), QSize(48, 24));

        // A changed contact is read anew: a read-once picture must not outlive it.
        anna.picturePath = folder.filePath(QStringLiteral("gone.png"));
        directory->updateBuddy(anna);
        QVERIFY(!CZuBuddy(2001).IsPictureValid());
        QVERIFY(CZuBuddy(2001).Picture(true).isNull());
    }

    void everyReadyReportCallsEveryReceiver()
    {
        ReadyCounter counter;
        directory->init(&counter, SLOT(slotOnReady()), true, false);
        QCOMPARE(counter.calls, 0);
        directory->setReady();
        directory->setReady();
        QCOMPARE(counter.calls, 2);
        ReadyCounter late;
        directory->init(&late, "slotOnReady()", true, false);
        QCOMPARE(late.calls, 1); // registered after ready: called at once
    }

    void destroyedReceiverIsSkipped()
    {
        auto counter = std::make_unique<ReadyCounter>();
        directory->init(counter.get(), SLOT(slotOnReady()), true, false);
        counter.reset();
        directory->setReady(); // must not touch the dead receiver
    }

    void updatesAreAnnounced()
    {
        QSignalSpy changed(directory, &CZuBuddy_Administrator::OnBuddyChanged);
        BuddyData data;
        data.id = 2001;
        data.nickname = QStringLiteral("Anna");
        data.userState = 2;
        directory->updateBuddy(data);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).value<CZuBuddy>().Id(), 2001u);
        QCOMPARE(CZuBuddy(2001).UserState(), 2);
    }
};

QTEST_MAIN(tst_ContactDirectory)
#include "tst_contactdirectory.moc"
