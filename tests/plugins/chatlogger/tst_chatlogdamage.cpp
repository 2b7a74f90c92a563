// The chat history after damage anywhere in its file: the damaged file is
// kept aside unchanged, what is readable comes back, new records are kept
// across a restart, and the user is told exactly once.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "chatlogstore.h"

using zubrel::ChatLogStore;

namespace {

constexpr int Records = 3000;

MessageStruct record(int n)
{
    MessageStruct m;
    m.contact = QStringLiteral("5");
    m.time = QDateTime::fromMSecsSinceEpoch(1700000000000 + n, Qt::UTC);
    m.message = QStringLiteral("%1 ").arg(n, 6, 10, QLatin1Char('0')) + QString(120, u'm');
    m.chatKind = 1;
    m.direction = Zr::Received;
    return m;
}

// The record numbers found, in the order returned.
QList<int> numbers(const QList<MessageStruct> &list)
{
    QList<int> out;
    for (const MessageStruct &m : list)
        out << m.message.left(6).toInt();
    return out;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void overwrite(const QString &path, qint64 at, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(at));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class tst_ChatLogDamage : public QObject
{
    Q_OBJECT

private slots:
    void damagedFileIsSetAsideAndRescued_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<int>("atLeast"); // records that must come back
        QTest::addColumn<bool>("background"); // checked after opening
        QTest::newRow("page") << "page" << Records * 9 / 10 << false;
        QTest::newRow("schema") << "schema" << Records << false;
        QTest::newRow("header") << "header" << Records << false;
        QTest::newRow("page, long history") << "page" << Records * 9 / 10 << true;
    }
    void damagedFileIsSetAsideAndRescued()
    {
        QFETCH(QString, damage);
        QFETCH(int, atLeast);
        QFETCH(bool, background);
        QTemporaryDir dir;
        const QString path = dir.filePath(ChatLogStore::fileName());
        {
            ChatLogStore store;
            QVERIFY(store.open(dir.path()));
            QList<MessageStruct> all;
            for (int n = 0; n < Records; ++n)
                all << record(n);
            QVERIFY(store.appendBatch(all));
        }
        const QByteArray intact = readAll(path);
        if (damage == QLatin1String("page")) {
            overwrite(path, (intact.size() / 4096 / 2) * 4096, QByteArray(4096, '\xA5'));
        } else if (damage == QLatin1String("schema")) {
            const qsizetype at = intact.indexOf("ON messages (chat_id");
            QVERIFY(at > 0);
            overwrite(path, at + 3, "mXssages");
        } else {
            overwrite(path, 0, QByteArray(100, '\xA5'));
        }
        const QByteArray damaged = readAll(path);

        {
            ChatLogStore store;
            if (background)
                store.setBackgroundCheckFrom(0);
            QVERIFY(store.open(dir.path()));
            // Open at once; a record written meanwhile waits for the verdict
            // (however soon it comes) and then goes into the fresh history.
            QCOMPARE(store.isChecking(), background);
            const bool written = store.append(record(Records));
            QVERIFY(written || background);
            store.waitForCheck();
            QCOMPARE(store.pendingCount(), 0);
            const QString notice = store.takeNotice();
            QVERIFY2(notice.contains(QStringLiteral("damaged")), qPrintable(notice));
            QVERIFY(store.append(record(Records + 1)));
            QVERIFY(store.takeNotice().isEmpty());
        }
        // A restart: the rescued records and the new one are in the new file,
        // in their old order, with nothing to report any more.
        ChatLogStore store;
        QVERIFY(store.open(dir.path()));
        QVERIFY(store.takeNotice().isEmpty());
        const QList<int> found = numbers(store.lastMessages(Records + 2, QStringLiteral("5")));
        QVERIFY2(found.size() > atLeast, qPrintable(QString::number(found.size())));
        QVERIFY(std::is_sorted(found.cbegin(), found.cend()));
        QCOMPARE(found.last(), Records + 1);
        QCOMPARE(found.first(), 0);

        const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("chatlog.sqlite.corrupt-*")});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(readAll(dir.filePath(aside.first())), damaged);
        QVERIFY(QDir(dir.path()).entryList({QStringLiteral("*salvage*")}).isEmpty());
    }
    void damagedWriteAheadLogKeepsTheFile()
    {
        // A client that died with records still in the write-ahead log, whose
        // log was then damaged: SQLite stops reading the log at the damage, so
        // what came before survives in order and new records are kept.
        QTemporaryDir running;
        QTemporaryDir crashed;
        {
            ChatLogStore store;
            QVERIFY(store.open(running.path()));
            for (int n = 0; n < 200; ++n)
                QVERIFY(store.append(record(n)));
            for (const QString &suffix : {QString(), QStringLiteral("-wal")})
                QVERIFY(QFile::copy(running.filePath(ChatLogStore::fileName()) + suffix,
                                    crashed.filePath(ChatLogStore::fileName()) + suffix));
        }
        const QString wal = crashed.filePath(ChatLogStore::fileName()) + QStringLiteral("-wal");
        QVERIFY(QFileInfo(wal).size() > 8192);
        overwrite(wal, QFileInfo(wal).size() / 2, QByteArray(4096, '\xA5'));
        {
            ChatLogStore store;
            QVERIFY(store.open(crashed.path()));
            QVERIFY(store.append(record(1000)));
        }
        ChatLogStore store;
        QVERIFY(store.open(crashed.path()));
        QList<int> found = numbers(store.lastMessages(1000, QStringLiteral("5")));
        QCOMPARE(found.takeLast(), 1000);
        QVERIFY(!found.isEmpty() && found.last() == found.size() - 1 && std::is_sorted(found.cbegin(), found.cend()));
    }
    void unusablePathIsReportedNotWrittenThrough_data()
    {
        QTest::addColumn<bool>("folder");
        QTest::newRow("a folder") << true;
        QTest::newRow("a dangling link") << false;
    }
    void unusablePathIsReportedNotWrittenThrough()
    {
        QFETCH(bool, folder);
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QString path = dir.filePath(ChatLogStore::fileName());
        const QString target = elsewhere.filePath(QStringLiteral("stolen.sqlite"));
        QVERIFY(folder ? QDir().mkpath(path + QStringLiteral("/inside")) : QFile::link(target, path));

        {
            ChatLogStore store;
            QVERIFY(store.open(dir.path()));
            QVERIFY(store.append(record(1)));
            const QString notice = store.takeNotice();
            QVERIFY2(notice.contains(QStringLiteral("folder or a broken link")), qPrintable(notice));
            QVERIFY(store.takeNotice().isEmpty());
        }
        QVERIFY(!QFileInfo::exists(target));
        const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("chatlog.sqlite.unusable-*")},
                                                             QDir::AllEntries | QDir::System);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(QFileInfo(dir.filePath(aside.first())).isDir(), folder);
        ChatLogStore store;
        QVERIFY(store.open(dir.path()));
        QCOMPARE(numbers(store.lastMessages(5, QStringLiteral("5"))), QList<int>{1});
    }
};

QTEST_GUILESS_MAIN(tst_ChatLogDamage)
#include "tst_chatlogdamage.moc"
