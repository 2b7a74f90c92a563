// Chat history benchmark: append latency and "last 20 of a conversation"
// latency in a large history, and how the look-up grows with history size.
// The databases are built once and cached; a run adds only its own appends.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "chatlogstore.h"

using zubrel::ChatLogStore;

namespace {

// Bump when the layout or the generated data change, so old caches are rebuilt.
constexpr int CacheVersion = 2;

QString messageText(int n)
{
    // About 200 bytes of the HTML the chat writes.
    QString text = QStringLiteral("<p style=\"margin:0\">Message %1: ").arg(n, 7, 10, QLatin1Char('0'));
    while (text.size() < 196)
        text += QStringLiteral("lorem ipsum ");
    text.truncate(196);
    return text + QStringLiteral("</p>");
}

MessageStruct makeRecord(const QString &contact, int n, qint64 baseMs)
{
    MessageStruct m;
    m.contact = contact;
    m.time = QDateTime::fromMSecsSinceEpoch(baseMs + n * 1000LL, Qt::UTC);
    m.message = messageText(n);
    m.alias = QStringLiteral("Contact ") + contact;
    m.chatKind = 1;
    m.direction = (n % 2) ? Zr::Received : Zr::Sent;
    return m;
}

QString conversationId(int index)
{
    return QString::number(100000 + index);
}

// Builds <folder>/chatlog.sqlite with `records` records spread round-robin
// over `conversations` conversations, unless a complete one is cached.
bool ensureDatabase(const QString &folder, int records, int conversations)
{
    const QString marker = folder + QStringLiteral("/complete");
    if (QFile::exists(marker))
        return true;
    QDir(folder).removeRecursively();
    QElapsedTimer timer;
    timer.start();
    ChatLogStore store;
    if (!store.open(folder))
        return false;
    const int batchSize = 50000;
    QList<MessageStruct> batch;
    batch.reserve(batchSize);
    const qint64 baseMs = 1600000000000LL;
    for (int n = 0; n < records; ++n) {
        batch.append(makeRecord(conversationId(n % conversations), n, baseMs));
        if (batch.size() == batchSize || n == records - 1) {
            if (!store.appendBatch(batch, true))
                return false;
            batch.clear();
        }
    }
    store.close();
    std::fprintf(stderr, "built %d records in %s in %.1f s\n", records, qPrintable(folder),
                 timer.elapsed() / 1000.0);
    QFile done(marker);
    return done.open(QIODevice::WriteOnly);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Samples the two histories alternately, so both see the same load from
// whatever else runs on the machine and the ratio compares like with like.
void measureLast20(ChatLogStore &big, ChatLogStore &small, int rounds,
                   std::vector<double> &bigSamples, std::vector<double> &smallSamples)
{
    // Seeded by the round count: the warm-up does not pre-load exactly the
    // conversations measured afterwards.
    QRandomGenerator random{quint32(rounds)};
    QElapsedTimer timer;
    const auto sample = [&](ChatLogStore &store, int conversations, std::vector<double> &out) {
        const QString chatId = conversationId(int(random.bounded(conversations)));
        timer.start();
        const QList<MessageStruct> found = store.lastMessages(20, chatId);
        out.push_back(timer.nsecsElapsed() / 1000.0);
        if (found.size() != 20) {
            std::fprintf(stderr, "conversation %s returned %lld records\n", qPrintable(chatId),
                         qlonglong(found.size()));
            std::exit(1);
        }
    };
    for (int i = 0; i < rounds; ++i) {
        sample(big, 1000, bigSamples);
        sample(small, 100, smallSamples);
    }
}

// The straightforward way to keep the same history: one plain table with
// the same columns and rows, no indexes. Built once from the large history.
bool ensureNaiveDatabase(const QString &bigFolder, const QString &path)
{
    if (QFile::exists(path + QStringLiteral(".complete")))
        return true;
    QFile::remove(path);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("naive-build"));
    db.setDatabaseName(path);
    bool ok = db.open();
    {
        QSqlQuery query(db);
        const auto run = [&](const QString &sql) {
            if (ok && !query.exec(sql)) {
                std::fprintf(stderr, "%s: %s\n", qPrintable(sql), qPrintable(query.lastError().text()));
                ok = false;
            }
        };
        run(QStringLiteral("ATTACH DATABASE '%1' AS ours").arg(bigFolder + QStringLiteral("/") + ChatLogStore::fileName()));
        run(QStringLiteral("CREATE TABLE messages (chat_id TEXT, contact TEXT, time_ms INTEGER, message TEXT,"
                           " uuid TEXT, alias TEXT, chat_kind INTEGER, direction INTEGER)"));
        run(QStringLiteral("INSERT INTO messages SELECT chat_id, contact, time_ms, message, uuid, alias,"
                           " chat_kind, direction FROM ours.messages ORDER BY id"));
        run(QStringLiteral("DETACH DATABASE ours"));
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("naive-build"));
    QFile done(path + QStringLiteral(".complete"));
    return ok && done.open(QIODevice::WriteOnly);
}

// "Last 20 of a conversation" the plain way: the newest rows of that chat
// by insertion order, which without an index means reading the table.
double naiveLast20(const QString &path, int rounds)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("naive"));
    db.setDatabaseName(path);
    std::vector<double> samples;
    if (db.open()) {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT contact, time_ms, message, uuid, alias, chat_kind, direction"
                                     " FROM messages WHERE chat_id = ? ORDER BY rowid DESC LIMIT 20"));
        QRandomGenerator random{quint32(rounds)};
        QElapsedTimer timer;
        for (int i = 0; i <= rounds; ++i) {
            query.bindValue(0, conversationId(int(random.bounded(1000))));
            timer.start();
            int found = 0;
            if (query.exec()) {
                while (query.next())
                    ++found;
            }
            query.finish();
            // The first round only warms the operating system's file cache.
            if (i > 0)
                samples.push_back(timer.nsecsElapsed() / 1000.0);
            if (found != 20) {
                std::fprintf(stderr, "naive look-up returned %d records\n", found);
                std::exit(1);
            }
        }
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("naive"));
    return median(samples);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString cache = QStringLiteral(CHATLOG_BENCH_CACHE "/v%1").arg(CacheVersion);
    const QString big = cache + QStringLiteral("/1m");
    const QString small = cache + QStringLiteral("/10k");
    // Same 20-record look-up in both: 1000 records per conversation in the
    // large history, 100 in the small one.
    if (!ensureDatabase(big, 1000000, 1000) || !ensureDatabase(small, 10000, 100)) {
        std::fprintf(stderr, "could not build the benchmark databases under %s\n", qPrintable(cache));
        return 1;
    }

    ChatLogStore bigStore;
    ChatLogStore smallStore;
    // What a login with a long history waits for; the check of the whole
    // file for damage runs in the background from there.
    QElapsedTimer openTimer;
    openTimer.start();
    if (!bigStore.open(big))
        return 1;
    const double openMs = openTimer.nsecsElapsed() / 1e6;
    if (!smallStore.open(small))
        return 1;

    // Warm both the same way, then measure.
    std::vector<double> bigSamples;
    std::vector<double> smallSamples;
    measureLast20(bigStore, smallStore, 200, bigSamples, smallSamples);
    bigSamples.clear();
    smallSamples.clear();
    measureLast20(bigStore, smallStore, 3000, bigSamples, smallSamples);
    const double last20Big = median(bigSamples);
    const double last20Small = median(smallSamples);
    // New records wait for the damage check's verdict: the appends below
    // measure writing, not that wait.
    bigStore.waitForCheck();
    const double checkedMs = openTimer.nsecsElapsed() / 1e6;

    // Appends go to a conversation of their own so the look-up data stays
    // as built; each run adds these few records to the cached history.
    std::vector<double> appends;
    const int appendRounds = 1000;
    appends.reserve(appendRounds);
    QElapsedTimer timer;
    const qint64 nowMs = QDateTime::currentMSecsSinceEpoch();
    for (int i = 0; i < appendRounds; ++i) {
        const MessageStruct m = makeRecord(QStringLiteral("999999"), i, nowMs);
        timer.start();
        const bool stored = bigStore.append(m);
        appends.push_back(timer.nsecsElapsed() / 1000.0);
        if (!stored) {
            std::fprintf(stderr, "append failed\n");
            return 1;
        }
    }

    bigStore.close();
    const QString naive = cache + QStringLiteral("/naive-1m.sqlite");
    if (!ensureNaiveDatabase(big, naive)) {
        std::fprintf(stderr, "could not build the plain-table history %s\n", qPrintable(naive));
        return 1;
    }
    const double naiveBig = naiveLast20(naive, 15);

    std::printf("BENCH chatlog_open_1m_ms %.1f ms\n", openMs);
    std::fprintf(stderr, "chatlog: damage check of the 1m history done %.1f ms after opening\n", checkedMs);
    std::printf("BENCH chatlog_append_us %.1f us\n", median(appends));
    std::printf("BENCH chatlog_last20_us %.1f us\n", last20Big);
    std::printf("BENCH chatlog_last20_ratio %.2f x\n", last20Small > 0 ? last20Big / last20Small : 0.0);
    // Goal: at most 0.01, the indexed look-up at least 100 times faster.
    std::printf("BENCH chatlog_naive_last20_us %.1f us\n", naiveBig);
    std::printf("BENCH chatlog_vs_naive_ratio %.5f x\n", naiveBig > 0 ? last20Big / naiveBig : 0.0);
    return 0;
}
