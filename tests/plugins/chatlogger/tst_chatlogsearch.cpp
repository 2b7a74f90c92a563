// Whole-history search: what a word finds through markup, Unicode and query
// punctuation, which conversation it looks in, and how a history written
// without the index (an older client, a long log) becomes searchable.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include "chatlogsearch.h"
#include "chatlogstore.h"

using namespace zubrel;

namespace {

const QUuid group = QUuid::fromString(QStringLiteral("{6f1c2a4e-1111-4222-8333-944455556666}"));

MessageStruct record(const QString &text, const QString &contact = QStringLiteral("2001"), int kind = 1)
{
    MessageStruct m;
    m.contact = contact;
    m.time = QDateTime::fromMSecsSinceEpoch(1700000000000, Qt::UTC);
    m.message = text;
    m.chatKind = kind;
    m.direction = Zr::Received;
    if (kind == 0)
        m.uuid = group;
    return m;
}

QStringList texts(const QList<LogRecord> &records)
{
    QStringList out;
    for (const LogRecord &r : records)
        out << r.message.message;
    return out;
}

// What a client without the index does: rows straight into the table.
void writeAsOlderClient(const QString &path, int count, const QString &chatId)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral("BEGIN")));
        QVERIFY(q.prepare(QStringLiteral("INSERT INTO messages (chat_id, contact, time_ms, message, chat_kind,"
                                         " direction) VALUES (?, ?, 0, ?, 1, 1)")));
        for (int i = 0; i < count; ++i) {
            q.bindValue(0, chatId);
            q.bindValue(1, chatId);
            q.bindValue(2, QStringLiteral("<i>older</i> record%1").arg(i));
            QVERIFY(q.exec());
        }
        QVERIFY(q.exec(QStringLiteral("COMMIT")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
}

} // namespace

class tst_ChatLogSearch : public QObject
{
    Q_OBJECT

private slots:
    void findsWordsAsText_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QList<int>>("found"); // record numbers below, newest first

        QTest::newRow("word in markup") << "hello" << QList<int>{0};
        QTest::newRow("inline tags join a word") << "WORLD" << QList<int>{0};
        QTest::newRow("whole words only") << "hel" << QList<int>{};
        QTest::newRow("tag name") << "span" << QList<int>{};
        QTest::newRow("attribute") << "bold" << QList<int>{};
        QTest::newRow("style content") << "blue" << QList<int>{};
        QTest::newRow("line break splits") << "chips tonight" << QList<int>{1};
        QTest::newRow("entity decoded") << "&" << QList<int>{1};
        QTest::newRow("entity as typed") << "&amp;" << QList<int>{};
        QTest::newRow("accent folded") << "CAFE" << QList<int>{2};
        QTest::newRow("sharp s") << "straße" << QList<int>{2};
        QTest::newRow("cjk") << "東京" << QList<int>{2};
        QTest::newRow("plus signs") << "c++" << QList<int>{3};
        QTest::newRow("plus signs must match") << "hello++" << QList<int>{};
        QTest::newRow("parentheses") << "(parentheses)" << QList<int>{3};
        QTest::newRow("quotes") << "\"quotes\"" << QList<int>{3};
        QTest::newRow("lone quote") << "\"" << QList<int>{3};
        QTest::newRow("minus") << "-minus" << QList<int>{3};
        QTest::newRow("NEAR as a word") << "NEAR" << QList<int>{3};
        QTest::newRow("NEAR syntax") << "NEAR(hello world)" << QList<int>{};
        QTest::newRow("AND as a word") << "AND" << QList<int>{3};
        QTest::newRow("OR") << "hello OR chips" << QList<int>{};
        QTest::newRow("star") << "*" << QList<int>{3};
        QTest::newRow("column syntax") << "body:hello" << QList<int>{};
        QTest::newRow("caret and braces") << "^{chat}" << QList<int>{};
        QTest::newRow("all words") << "hello world" << QList<int>{0};
        QTest::newRow("blank") << "   " << QList<int>{};
        QTest::newRow("many matches newest first") << "the" << QList<int>{4, 3};
    }

    void findsWordsAsText()
    {
        QFETCH(QString, query);
        QFETCH(QList<int>, found);
        const QStringList records{
            "<span style=\"color:red\">Hello</span> <b>wor</b>ld",
            "Fish &amp; chips<br>tonight",
            "Ünïcödé Straße café 東京",
            "I love C++ and (parentheses) \"quotes\" -minus NEAR star* the",
            "<style>p{color:blue}</style><a href=\"http://bold.example/\">the link</a>",
        };
        QTemporaryDir dir;
        ChatLogStore store;
        QVERIFY(store.open(dir.path()));
        for (const QString &text : records)
            QVERIFY(store.append(record(text)));
        // The same words elsewhere: another partner and a multi chat.
        QVERIFY(store.append(record(records.first(), QStringLiteral("2002"))));
        QVERIFY(store.append(record(records.first(), QStringLiteral("2001"), 0)));
        QStringList expected;
        for (int n : found)
            expected << records.at(n);
        QCOMPARE(texts(store.search(query, 50, QStringLiteral("2001"))), expected);
    }

    void multiChatSearchesItsUuidOnly()
    {
        QTemporaryDir dir;
        ChatLogStore store;
        QVERIFY(store.open(dir.path()));
        QVERIFY(store.append(record("hello group", QStringLiteral("2001"), 0)));
        QVERIFY(store.append(record("hello direct", QStringLiteral("2001"), 1)));
        QCOMPARE(texts(store.search("hello", 50, group)), QStringList{"hello group"});
        QCOMPARE(texts(store.search("hello", 50, QStringLiteral("2001"))), QStringList{"hello direct"});
        QVERIFY(store.search("hello", 50, QUuid::createUuid()).isEmpty());
        // The limit keeps the newest.
        for (int i = 0; i < 5; ++i)
            QVERIFY(store.append(record(QString("hello %1").arg(i))));
        QCOMPARE(texts(store.search("hello", 2, QStringLiteral("2001"))), QStringList({"hello 4", "hello 3"}));
    }

    void historyWrittenWithoutTheIndexIsCaughtUp_data()
    {
        QTest::addColumn<int>("older");
        QTest::newRow("a few, at once") << 30;
        QTest::newRow("a long log, in the background") << ChatLogSearch::CatchUpAtOnce + 1500;
    }

    void historyWrittenWithoutTheIndexIsCaughtUp()
    {
        QFETCH(int, older);
        QTemporaryDir dir;
        ChatLogStore store;
        QVERIFY(store.open(dir.path()));
        QVERIFY(store.append(record("indexed first")));
        store.close();
        writeAsOlderClient(store.databasePath(), older, QStringLiteral("2001"));
        // Reopened: our writer must not index past what the older client left.
        QVERIFY(store.open(dir.path()));
        QVERIFY(store.append(record("indexed last")));
        store.waitForIndex();
        QVERIFY(!store.isIndexing());
        QCOMPARE(store.search("record0", 5, QStringLiteral("2001")).size(), 1);
        const QString newestOlder = QString("record%1").arg(older - 1);
        QCOMPARE(store.search(newestOlder, 5, QStringLiteral("2001")).size(), 1);
        QCOMPARE(texts(store.search("indexed", 5, QStringLiteral("2001"))),
                 QStringList({"indexed last", "indexed first"}));
        // Every record once: nothing indexed twice.
        QCOMPARE(store.search("older", older + 10, QStringLiteral("2001")).size(), older);
    }
};

QTEST_GUILESS_MAIN(tst_ChatLogSearch)
#include "tst_chatlogsearch.moc"
