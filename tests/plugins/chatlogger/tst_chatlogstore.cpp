// The chat history store: fidelity of every field, look-up rules, crash and
// multi-process safety, and behaviour when the database cannot be used.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "chatlogstore.h"

using zubrel::ChatLogStore;

namespace {

MessageStruct record(const QString &contact, const QString &text, int kind = 1,
                     const QUuid &uuid = QUuid())
{
    MessageStruct m;
    m.contact = contact;
    m.time = QDateTime::fromMSecsSinceEpoch(1700000000123, Qt::UTC);
    m.message = text;
    m.uuid = uuid;
    m.alias = QStringLiteral("Alias of ") + contact;
    m.chatKind = kind;
    m.direction = Zr::Received;
    return m;
}

QStringList texts(const QList<MessageStruct> &list)
{
    QStringList out;
    for (const MessageStruct &m : list)
        out << m.message;
    return out;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_ChatLogStore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    // Fidelity
    void roundTrip_data();
    void roundTrip();
    void textNeverBecomesSql();
    void localTimeKeepsItsWallClock();

    // Look-up rules
    void newestCountOldestFirst_data();
    void newestCountOldestFirst();
    void exactIdMatching();
    void multiChatOnlyByUuid();

    // Users and folders
    void foldersAreIsolated();
    void pendingBeforeOpenIsWrittenOnOpen();
    void unopenableFolderKeepsRecordsInMemory();
    void pendingOfOneFolderNeverReachesAnother();
    void recoversWhenFolderBecomesUsable();
    void pendingIsBounded();

    // Damaged or foreign files
    void corruptFileIsMovedAsideNotTruncated_data();
    void corruptFileIsMovedAsideNotTruncated();
    void leftoverJournalGoesAsideWithCorruptFile();
    void emptyFileIsAFreshDatabase();
    void newerSchemaIsLeftUntouched();
    void schemaVersionIsRecorded();
    void olderLayoutGetsLookUpIndexes_data();
    void olderLayoutGetsLookUpIndexes();

    // Processes
    void survivesSigkill();
    void concurrentWritersLoseNothing();

private:
    QString userFolder(const QString &name = QStringLiteral("user")) const
    {
        return m_dir->filePath(name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ChatLogStore::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_ChatLogStore::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ChatLogStore::roundTrip_data()
{
    QTest::addColumn<MessageStruct>("message");

    QTest::newRow("plain") << record(QStringLiteral("42"), QStringLiteral("hello"));

    MessageStruct unicode = record(QStringLiteral("42"),
        QStringLiteral("Grüße, Привет, 日本語, emoji \U0001F600\U0001F44D\U0001F3FD, math \U0001D54F"));
    unicode.alias = QStringLiteral("Zoë \U0001F431");
    QTest::newRow("unicode beyond BMP") << unicode;

    QTest::newRow("emoticon html") << record(QStringLiteral("42"),
        QStringLiteral("<p style=\"margin:0\">hi <img src=\":/smileys/standard/smile.gif\" "
                       "alt=\":-)\" width=\"19\"/> &amp; &lt;b&gt; 'quoted' \"double\"</p>\r\n\t "));

    QString big;
    for (int i = 0; big.size() < 100 * 1024; ++i)
        big += QStringLiteral("<b>%1</b>\u00e4\U0001F600").arg(i);
    QTest::newRow("100 KiB") << record(QStringLiteral("42"), big);

    MessageStruct multi = record(QStringLiteral("77"), QStringLiteral("multi"), 0,
                                 QUuid::fromString(QStringLiteral("{6f1c8a0e-3b8e-4a7d-9f3e-0c2d1b4a5e6f}")));
    multi.direction = Zr::Sent;
    QTest::newRow("multi chat with uuid, sent") << multi;

    MessageStruct random = record(QStringLiteral("4000000000"), QStringLiteral("random"), 2);
    QTest::newRow("random chat") << random;

    MessageStruct sent = record(QStringLiteral("42"), QStringLiteral("mine"));
    sent.direction = Zr::Sent;
    sent.time = QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 999), Qt::UTC);
    QTest::newRow("sent, last millisecond of a day") << sent;

    MessageStruct local = record(QStringLiteral("42"), QStringLiteral("local time"));
    local.time = QDateTime(QDate(2023, 7, 1), QTime(12, 0, 0, 7), Qt::LocalTime);
    QTest::newRow("local time") << local;

    MessageStruct noTime = record(QStringLiteral("42"), QStringLiteral("no time"));
    noTime.time = QDateTime();
    QTest::newRow("invalid time stays invalid") << noTime;

    MessageStruct emptyAlias = record(QStringLiteral("42"), QString());
    emptyAlias.alias.clear();
    QTest::newRow("empty message and alias") << emptyAlias;

    QString lone = QStringLiteral("broken ");
    lone += QChar(0xD83D); // high surrogate without its pair
    lone += QStringLiteral(" end");
    QTest::newRow("lone surrogate kept") << record(QStringLiteral("42"), lone);
}

void tst_ChatLogStore::roundTrip()
{
    QFETCH(MessageStruct, message);
    {
        ChatLogStore store;
        QVERIFY(store.open(userFolder()));
        QVERIFY(store.append(message));
    }
    // A second store reads what the first left on disk.
    ChatLogStore store;
    QVERIFY(store.open(userFolder()));
    const QList<MessageStruct> found = message.chatKind == 0
        ? store.lastMessages(10, message.uuid)
        : store.lastMessages(10, message.contact);
    QCOMPARE(found.size(), 1);
    const MessageStruct &m = found.first();
    QCOMPARE(m.contact, message.contact);
    QCOMPARE(m.message.size(), message.message.size());
    QVERIFY(m.message == message.message); // QCOMPARE would print 100 KiB
    QCOMPARE(m.alias, message.alias);
    QCOMPARE(m.uuid, message.uuid);
    QCOMPARE(m.uuid.isNull(), message.uuid.isNull());
    QCOMPARE(m.chatKind, message.chatKind);
    QCOMPARE(int(m.direction), int(message.direction));
    QCOMPARE(m.time.isValid(), message.time.isValid());
    if (message.time.isValid())
        QCOMPARE(m.time.toMSecsSinceEpoch(), message.time.toMSecsSinceEpoch());
    QVERIFY(m == message);
}

void tst_ChatLogStore::textNeverBecomesSql()
{
    ChatLogStore store;
    QVERIFY(store.open(userFolder()));
    const QString hostile = QStringLiteral("x'); DROP TABLE messages; --");
    QVERIFY(store.append(record(QStringLiteral("5"), hostile)));
    QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("after"))));
    QCOMPARE(texts(store.lastMessages(5, QStringLiteral("5"))),
             QStringList({hostile, QStringLiteral("after")}));
    QVERIFY(store.lastMessages(5, QStringLiteral("5' OR '1'='1")).isEmpty());
}

void tst_ChatLogStore::localTimeKeepsItsWallClock()
{
    // Read back in a zone with daylight saving time, one chat per page:
    // summer and winter with an instant before 1970 and a fraction of a
    // second; winter, summer, winter (same offset at both ends); both sides
    // of the spring change to the millisecond; one summer.
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    const qint64 spring = 1679792400000; // 2023-03-26 01:00 UTC
    const QList<QList<qint64>> pages{{1688205600007, 1673784000999, -1500},
                                     {1673784000000, 1688205600000, 1705320000000},
                                     {spring - 86400000, spring - 1},
                                     {spring, spring + 86400000},
                                     {1688205600000, 1688292000000}};
    {
        ChatLogStore store;
        QVERIFY(store.open(userFolder()));
        for (int page = 0; page < pages.size(); ++page) {
            const QString chat = QString::number(page + 5);
            for (const qint64 ms : pages[page]) {
                MessageStruct m = record(chat, QString::number(ms));
                m.time = QDateTime::fromMSecsSinceEpoch(ms);
                QVERIFY(store.append(m));
            }
            const QList<MessageStruct> found = store.lastMessages(10, chat);
            QCOMPARE(found.size(), pages[page].size());
            for (int i = 0; i < found.size(); ++i) {
                const QDateTime local = QDateTime::fromMSecsSinceEpoch(pages[page][i]);
                QCOMPARE(found[i].time.toMSecsSinceEpoch(), pages[page][i]);
                QCOMPARE(found[i].time.date(), local.date());
                QCOMPARE(found[i].time.time(), local.time());
            }
        }
    }
    zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
}

void tst_ChatLogStore::newestCountOldestFirst_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("size");

    // 30 records 0..29 in the conversation.
    QTest::newRow("zero") << 0 << -1 << 0;
    QTest::newRow("negative") << -5 << -1 << 0;
    QTest::newRow("one") << 1 << 29 << 1;
    QTest::newRow("ten") << 10 << 20 << 10;
    QTest::newRow("exactly all") << 30 << 0 << 30;
    QTest::newRow("more than stored") << 100 << 0 << 30;
}

void tst_ChatLogStore::newestCountOldestFirst()
{
    QFETCH(int, count);
    QFETCH(int, first);
    QFETCH(int, size);
    ChatLogStore store;
    QVERIFY(store.open(userFolder()));
    const QUuid uuid = QUuid::createUuid();
    for (int i = 0; i < 30; ++i) {
        QVERIFY(store.append(record(QStringLiteral("9"), QString::number(i))));
        QVERIFY(store.append(record(QStringLiteral("8"), QStringLiteral("other %1").arg(i))));
        QVERIFY(store.append(record(QStringLiteral("9"), QString::number(i), 0, uuid)));
    }
    for (const QList<MessageStruct> &found :
         {store.lastMessages(count, QStringLiteral("9")), store.lastMessages(count, uuid)}) {
        QCOMPARE(found.size(), size);
        for (int i = 0; i < found.size(); ++i)
            QCOMPARE(found.at(i).message, QString::number(first + i));
    }
}

void tst_ChatLogStore::exactIdMatching()
{
    ChatLogStore store;
    QVERIFY(store.open(userFolder()));
    for (const QString &id : {QStringLiteral("1"), QStringLiteral("12"), QStringLiteral("123"),
                              QStringLiteral("112"), QStringLiteral("012")})
        QVERIFY(store.append(record(id, QStringLiteral("for ") + id)));

    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("12"))), QStringList{QStringLiteral("for 12")});
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("1"))), QStringList{QStringLiteral("for 1")});
    QVERIFY(store.lastMessages(10, QStringLiteral("1%")).isEmpty());
    QVERIFY(store.lastMessages(10, QStringLiteral("1_")).isEmpty());
    QVERIFY(store.lastMessages(10, QStringLiteral("")).isEmpty());
}

void tst_ChatLogStore::multiChatOnlyByUuid()
{
    // A multi chat line written by contact 12 belongs to the multi chat, not
    // to the one-to-one history with 12.
    ChatLogStore store;
    QVERIFY(store.open(userFolder()));
    const QUuid a = QUuid::createUuid();
    const QUuid b = QUuid::createUuid();
    QVERIFY(store.append(record(QStringLiteral("12"), QStringLiteral("in a"), 0, a)));
    QVERIFY(store.append(record(QStringLiteral("12"), QStringLiteral("direct"))));
    QVERIFY(store.append(record(QStringLiteral("13"), QStringLiteral("in b"), 0, b)));
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("12"))), QStringList{QStringLiteral("direct")});
    QCOMPARE(texts(store.lastMessages(10, a)), QStringList{QStringLiteral("in a")});
    QCOMPARE(texts(store.lastMessages(10, b)), QStringList{QStringLiteral("in b")});
    QVERIFY(store.lastMessages(10, QUuid()).isEmpty());
}

void tst_ChatLogStore::foldersAreIsolated()
{
    ChatLogStore store;
    QVERIFY(store.open(userFolder(QStringLiteral("a"))));
    QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("from a"))));
    QVERIFY(store.open(userFolder(QStringLiteral("b"))));
    QVERIFY(store.lastMessages(10, QStringLiteral("5")).isEmpty());
    QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("from b"))));
    QVERIFY(store.open(userFolder(QStringLiteral("a"))));
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))), QStringList{QStringLiteral("from a")});
    QVERIFY(store.open(userFolder(QStringLiteral("b"))));
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))), QStringList{QStringLiteral("from b")});
}

void tst_ChatLogStore::pendingBeforeOpenIsWrittenOnOpen()
{
    {
        ChatLogStore store;
        QVERIFY(!store.append(record(QStringLiteral("5"), QStringLiteral("early"))));
        QCOMPARE(store.pendingCount(), 1);
        QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))), QStringList{QStringLiteral("early")});
        QVERIFY(store.open(userFolder()));
        QCOMPARE(store.pendingCount(), 0);
        QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("late"))));
        // Deferred records: read back at once, on disk after flush() or close.
        store.defer(record(QStringLiteral("5"), QStringLiteral("flushed")));
        store.defer(record(QStringLiteral("5"), QStringLiteral("closed")));
        QCOMPARE(store.lastMessages(10, QStringLiteral("5")).size(), 4);
        ChatLogStore other;
        QVERIFY(other.open(userFolder()));
        QCOMPARE(other.lastMessages(10, QStringLiteral("5")).size(), 2);
        QVERIFY(store.flush());
        QCOMPARE(other.lastMessages(10, QStringLiteral("5")).size(), 4);
        store.defer(record(QStringLiteral("5"), QStringLiteral("last")));
    }
    ChatLogStore store;
    QVERIFY(store.open(userFolder()));
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))),
             QStringList({QStringLiteral("early"), QStringLiteral("late"), QStringLiteral("flushed"),
                          QStringLiteral("closed"), QStringLiteral("last")}));
}

void tst_ChatLogStore::unopenableFolderKeepsRecordsInMemory()
{
    // A folder below a regular file can be made by nobody, root included.
    QFile blocker(m_dir->filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ChatLogStore store;
    QVERIFY(!store.open(m_dir->filePath(QStringLiteral("blocker/user"))));
    QVERIFY(!store.isOpen());
    QVERIFY(!store.append(record(QStringLiteral("5"), QStringLiteral("one"))));
    QVERIFY(!store.append(record(QStringLiteral("5"), QStringLiteral("two"))));
    QCOMPARE(store.pendingCount(), 2);
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))),
             QStringList({QStringLiteral("one"), QStringLiteral("two")}));
    QCOMPARE(texts(store.lastMessages(1, QStringLiteral("5"))), QStringList{QStringLiteral("two")});
    QVERIFY(QFileInfo(blocker.fileName()).isFile());
    QCOMPARE(QFileInfo(blocker.fileName()).size(), 0);
}

void tst_ChatLogStore::pendingOfOneFolderNeverReachesAnother()
{
    QFile blocker(m_dir->filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ChatLogStore store;
    store.open(m_dir->filePath(QStringLiteral("blocker/user")));
    QVERIFY(!store.append(record(QStringLiteral("5"), QStringLiteral("first user's"))));
    QVERIFY(store.open(userFolder(QStringLiteral("other"))));
    QVERIFY(store.lastMessages(10, QStringLiteral("5")).isEmpty());
    QVERIFY(store.append(record(QStringLiteral("6"), QStringLiteral("second user's"))));
    store.close();
    ChatLogStore reader;
    QVERIFY(reader.open(userFolder(QStringLiteral("other"))));
    QVERIFY(reader.lastMessages(10, QStringLiteral("5")).isEmpty());
    QCOMPARE(reader.lastMessages(10, QStringLiteral("6")).size(), 1);
}

void tst_ChatLogStore::recoversWhenFolderBecomesUsable()
{
    const QString blockerPath = m_dir->filePath(QStringLiteral("blocker"));
    QFile blocker(blockerPath);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = blockerPath + QStringLiteral("/user");
    {
        ChatLogStore store;
        QVERIFY(!store.open(folder));
        QVERIFY(!store.append(record(QStringLiteral("5"), QStringLiteral("waited"))));
        QVERIFY(QFile::remove(blockerPath));
        QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("next"))));
        QCOMPARE(store.pendingCount(), 0);
    }
    ChatLogStore store;
    QVERIFY(store.open(folder));
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))),
             QStringList({QStringLiteral("waited"), QStringLiteral("next")}));
}

void tst_ChatLogStore::pendingIsBounded()
{
    ChatLogStore store;
    const int total = ChatLogStore::MaxPendingRecords + 7;
    for (int i = 0; i < total; ++i)
        store.append(record(QStringLiteral("5"), QString::number(i)));
    QCOMPARE(store.pendingCount(), ChatLogStore::MaxPendingRecords);
    // The oldest were dropped, the newest kept.
    const QList<MessageStruct> kept = store.lastMessages(total, QStringLiteral("5"));
    QCOMPARE(kept.size(), ChatLogStore::MaxPendingRecords);
    QCOMPARE(kept.first().message, QString::number(7));
    QCOMPARE(kept.last().message, QString::number(total - 1));
}

void tst_ChatLogStore::corruptFileIsMovedAsideNotTruncated_data()
{
    QTest::addColumn<QByteArray>("garbage");
    QByteArray foreign;
    for (int i = 0; i < 512; ++i)
        foreign += "this is not an SQLite database, but someone's bytes ";
    QTest::newRow("foreign file") << foreign;
    // Right header, nonsense after it: only SQLite itself can tell.
    QByteArray damaged("SQLite format 3", 16);
    damaged += QByteArray(8192 - 16, '\xA5');
    QTest::newRow("damaged database") << damaged;
}

void tst_ChatLogStore::corruptFileIsMovedAsideNotTruncated()
{
    QFETCH(QByteArray, garbage);
    const QString folder = userFolder();
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/chatlog.sqlite");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(garbage), garbage.size());
    }
    ChatLogStore store;
    QVERIFY(store.open(folder));
    QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("fresh"))));
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))), QStringList{QStringLiteral("fresh")});

    const QStringList aside = QDir(folder).entryList({QStringLiteral("chatlog.sqlite.corrupt-*")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    QVERIFY2(QRegularExpression(QStringLiteral("^chatlog\\.sqlite\\.corrupt-\\d{8}-\\d{6}$"))
                 .match(aside.first()).hasMatch(), qPrintable(aside.first()));
    QCOMPARE(readAll(folder + QLatin1Char('/') + aside.first()), garbage);
    QVERIFY(readAll(path).startsWith("SQLite format 3"));
}

void tst_ChatLogStore::leftoverJournalGoesAsideWithCorruptFile()
{
    // A write-ahead log left next to a damaged file must not be replayed
    // into the fresh database; it is kept beside the damaged file instead.
    const QString folder = userFolder();
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/chatlog.sqlite");
    const QByteArray garbage(8192, 'Z');
    const QByteArray wal(4096, 'W');
    for (const auto &[file, bytes] : {std::pair{path, garbage}, std::pair{path + QStringLiteral("-wal"), wal}}) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(bytes), bytes.size());
    }
    ChatLogStore store;
    QVERIFY(store.open(folder));
    QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("fresh"))));
    const QStringList aside = QDir(folder).entryList({QStringLiteral("chatlog.sqlite.corrupt-*")}, QDir::Files,
                                                     QDir::Name);
    QCOMPARE(aside.size(), 2);
    QCOMPARE(readAll(folder + QLatin1Char('/') + aside.at(0)), garbage);
    QCOMPARE(aside.at(1), aside.at(0) + QStringLiteral("-wal"));
    QCOMPARE(readAll(folder + QLatin1Char('/') + aside.at(1)), wal);
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))), QStringList{QStringLiteral("fresh")});
}

void tst_ChatLogStore::emptyFileIsAFreshDatabase()
{
    const QString folder = userFolder();
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + QStringLiteral("/chatlog.sqlite"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    ChatLogStore store;
    QVERIFY(store.open(folder));
    QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("x"))));
    QVERIFY(QDir(folder).entryList({QStringLiteral("*corrupt*")}).isEmpty());
}

void tst_ChatLogStore::newerSchemaIsLeftUntouched()
{
    const QString folder = userFolder();
    {
        ChatLogStore store;
        QVERIFY(store.open(folder));
        QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("old"))));
    }
    const QString path = folder + QStringLiteral("/chatlog.sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bump"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA user_version = 99")));
        query.clear();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bump"));
    const QByteArray before = readAll(path);

    ChatLogStore store;
    QVERIFY(!store.open(folder));
    QVERIFY(!store.append(record(QStringLiteral("5"), QStringLiteral("new"))));
    QCOMPARE(texts(store.lastMessages(10, QStringLiteral("5"))), QStringList{QStringLiteral("new")});
    store.close();
    QCOMPARE(readAll(path), before);
    QVERIFY(QDir(folder).entryList({QStringLiteral("*corrupt*")}).isEmpty());
}

void tst_ChatLogStore::schemaVersionIsRecorded()
{
    const QString folder = userFolder();
    {
        ChatLogStore store;
        QVERIFY(store.open(folder));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("peek"));
    db.setDatabaseName(folder + QStringLiteral("/chatlog.sqlite"));
    QVERIFY(db.open());
    {
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("PRAGMA user_version")) && query.next());
        QCOMPARE(query.value(0).toInt(), ChatLogStore::SchemaVersion);
        QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));
        // Look-ups must go through an index, not a table scan.
        QVERIFY(query.exec(QStringLiteral("EXPLAIN QUERY PLAN SELECT * FROM messages"
                                          " WHERE chat_id = '5' ORDER BY id DESC LIMIT 20")));
        QString plan;
        while (query.next())
            plan += query.value(3).toString() + QLatin1Char('\n');
        QVERIFY2(plan.contains(QStringLiteral("USING INDEX")) || plan.contains(QStringLiteral("USING COVERING INDEX")),
                 qPrintable(plan));
        QVERIFY2(!plan.contains(QStringLiteral("TEMP B-TREE")), qPrintable(plan));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("peek"));
}

void tst_ChatLogStore::olderLayoutGetsLookUpIndexes_data()
{
    QTest::addColumn<bool>("background");
    QTest::newRow("short history, on open") << false;
    QTest::newRow("long history, after the background check") << true;
}

void tst_ChatLogStore::olderLayoutGetsLookUpIndexes()
{
    QFETCH(bool, background);
    const QString folder = userFolder();
    const QString path = folder + QStringLiteral("/chatlog.sqlite");
    const QUuid room = QUuid::fromString(QStringLiteral("{6f1c8a0e-3b8e-4a7d-9f3e-0c2d1b4a5e6f}"));
    QList<MessageStruct> written;
    for (int n = 1; n <= 61; ++n) {
        MessageStruct m = record(QStringLiteral("5"), QStringLiteral("text %1").arg(n), n % 3 ? 1 : 0,
                                 n % 3 ? QUuid() : room);
        m.time = m.time.addSecs(n);
        if (n == 7)
            m.message += QChar(0xD83D); // kept as raw UTF-16
        written << m;
    }
    {
        ChatLogStore store;
        QVERIFY(store.open(folder));
        QVERIFY(store.appendBatch(written));
    }
    const auto run = [&](const QString &connection, const QStringList &statements) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        QString last;
        if (db.open()) {
            QSqlQuery q(db);
            for (const QString &sql : statements)
                last = q.exec(sql) && q.next() ? q.value(0).toString() : q.lastError().text();
        }
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connection);
        return last;
    };
    // Back to the layout of earlier builds, with gaps in the ids as deleting
    // by hand leaves them.
    run(QStringLiteral("older"), {QStringLiteral("DROP INDEX messages_chat_records"),
                                  QStringLiteral("DROP INDEX messages_uuid_records"),
                                  QStringLiteral("CREATE INDEX messages_chat ON messages (chat_id, id)"),
                                  QStringLiteral("CREATE INDEX messages_uuid ON messages (uuid, id)"),
                                  QStringLiteral("DELETE FROM messages WHERE id % 4 = 0")});
    QList<LogRecord> inChat;
    QList<LogRecord> inRoom;
    for (int id = 1; id <= written.size(); ++id) {
        if (id % 4)
            (id % 3 ? inChat : inRoom).append(LogRecord{id, written[id - 1]});
    }
    const auto same = [](const QList<LogRecord> &found, const QList<LogRecord> &expected) {
        return std::equal(found.cbegin(), found.cend(), expected.cbegin(), expected.cend(),
                          [](const LogRecord &a, const LogRecord &b) {
                              return a.id == b.id && a.message == b.message;
                          });
    };
    {
        ChatLogStore store;
        if (background)
            store.setBackgroundCheckFrom(0);
        QVERIFY(store.open(folder));
        QCOMPARE(store.isChecking(), background);
        // Readable meanwhile, then with the new indexes: every record, same
        // ids, same order, pages included; new records follow on.
        QVERIFY(same(store.recordsBefore(0, 100, QStringLiteral("5")), inChat));
        store.waitForCheck();
        QVERIFY(same(store.recordsBefore(0, 100, QStringLiteral("5")), inChat));
        QVERIFY(same(store.recordsBefore(0, 100, room), inRoom));
        QVERIFY(same(store.recordsBefore(inChat[10].id, 4, QStringLiteral("5")), inChat.mid(6, 4)));
        QVERIFY(store.append(record(QStringLiteral("5"), QStringLiteral("after"))));
        QCOMPARE(store.recordsBefore(0, 1, QStringLiteral("5")).value(0).id, qint64(written.size() + 1));
    }
    const QString indexes = QStringLiteral("SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master"
                                           " WHERE type = 'index' AND tbl_name = 'messages' ORDER BY name)");
    QCOMPARE(run(QStringLiteral("newer"), {indexes}), QStringLiteral("messages_chat_records messages_uuid_records"));
}

void tst_ChatLogStore::survivesSigkill()
{
    const int count = 300;
    QProcess writer;
    writer.start(QStringLiteral(CHATLOG_WRITER),
                 {userFolder(), QStringLiteral("77"), QString::number(count), QStringLiteral("wait")});
    QVERIFY(writer.waitForStarted());
    QByteArray out;
    while (!out.contains('\n') && writer.waitForReadyRead(60000))
        out += writer.readAllStandardOutput();
    writer.kill(); // SIGKILL: no destructor, no clean close
    QVERIFY(writer.waitForFinished());
    QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
    QCOMPARE(out.trimmed(), QByteArray("done ") + QByteArray::number(count));

    ChatLogStore store;
    QVERIFY(store.open(userFolder()));
    const QList<MessageStruct> found = store.lastMessages(count + 10, QStringLiteral("77"));
    QCOMPARE(found.size(), count);
    for (int i = 0; i < count; ++i)
        QCOMPARE(found.at(i).message, QStringLiteral("rec 77 %1").arg(i));
}

void tst_ChatLogStore::concurrentWritersLoseNothing()
{
    const int count = 400;
    const QStringList contacts{QStringLiteral("101"), QStringLiteral("202"), QStringLiteral("303")};
    std::vector<std::unique_ptr<QProcess>> writers;
    // Started together on a folder with no database yet, so they also race
    // to create it.
    for (const QString &contact : contacts) {
        writers.push_back(std::make_unique<QProcess>());
        writers.back()->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        writers.back()->start(QStringLiteral(CHATLOG_WRITER),
                              {userFolder(), contact, QString::number(count), QStringLiteral("exit")});
    }
    for (auto &writer : writers) {
        QVERIFY(writer->waitForFinished(90000));
        QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer->readAllStandardOutput().trimmed(), QByteArray("done ") + QByteArray::number(count));
        QCOMPARE(writer->exitCode(), 0);
    }
    ChatLogStore store;
    QVERIFY(store.open(userFolder()));
    for (const QString &contact : contacts) {
        const QList<MessageStruct> found = store.lastMessages(2 * count, contact);
        QCOMPARE(found.size(), count);
        for (int i = 0; i < count; ++i)
            QCOMPARE(found.at(i).message, QStringLiteral("rec %1 %2").arg(contact).arg(i));
    }
}

QTEST_GUILESS_MAIN(tst_ChatLogStore)
#include "tst_chatlogstore.moc"
