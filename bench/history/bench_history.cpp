// Scroll-back and search benchmarks over a history of 1,000,000 records: a
// shown view (offscreen) of a conversation gets its older records a page of
// 50 at a time, read from the store and placed above what is shown; and the
// whole history of a conversation is searched for a word found in every one
// of its records, and for one found in a single record.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "chatlogstore.h"
#include "zmessageview.h"

using namespace zubrel;

namespace {

constexpr int Records = 1000000;
constexpr int Conversations = 1000;
constexpr int PageSize = 50;

QString conversationId(int index)
{
    return QString::number(100000 + index);
}

// A record's number as the chat history benchmark writes it, which may
// have built the database: a word found in that record only.
QString recordWord(int n)
{
    return QStringLiteral("%1").arg(n, 7, 10, QLatin1Char('0'));
}

MessageStruct makeRecord(int n)
{
    MessageStruct m;
    m.contact = conversationId(n % Conversations);
    m.time = QDateTime::fromMSecsSinceEpoch(1600000000000LL + n * 1000LL, Qt::UTC);
    m.message = QStringLiteral("<p style=\"margin:0\">Message %1: ").arg(recordWord(n))
                + QStringLiteral("lorem ipsum ").repeated(14)
                + QStringLiteral("</p>");
    m.alias = QStringLiteral("Contact ") + m.contact;
    m.chatKind = 1;
    m.direction = (n % 2) ? Zr::Received : Zr::Sent;
    return m;
}

// The chat history benchmark's database when it is there; built the same
// way (records round-robin over the conversations) when it is not.
bool ensureDatabase(const QString &folder)
{
    if (QFile::exists(folder + QStringLiteral("/complete")))
        return true;
    QDir(folder).removeRecursively();
    ChatLogStore store;
    if (!store.open(folder))
        return false;
    QList<MessageStruct> batch;
    for (int n = 0; n < Records; ++n) {
        batch.append(makeRecord(n));
        if (batch.size() == 50000 || n == Records - 1) {
            if (!store.appendBatch(batch, true))
                return false;
            batch.clear();
        }
    }
    store.close();
    QFile done(folder + QStringLiteral("/complete"));
    return done.open(QIODevice::WriteOnly);
}

// CPU time of this thread: on a busy machine the wall clock also counts the
// time the scheduler gave to others.
double threadCpuUs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

LogLine lineOf(const MessageStruct &m)
{
    return {m.message, m.alias, m.direction == Zr::Sent ? QStringLiteral("me") : m.contact, m.time};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString folder = QStringLiteral(CHATLOG_BENCH_CACHE "/v2/1m");
    if (!ensureDatabase(folder)) {
        std::fprintf(stderr, "could not build the history under %s\n", qPrintable(folder));
        return 1;
    }
    ChatLogStore store;
    if (!store.open(folder))
        return 1;
    // A history from before the search index or the current layout gets
    // them built on open, in the background; the figures are taken once
    // both are complete.
    store.waitForCheck();
    store.waitForIndex();

    std::vector<double> samples;
    std::vector<double> cpuSamples;
    QElapsedTimer timer;
    // Several conversations scrolled back from their newest ten records to
    // their first; the first page of each only warms caches.
    for (int c = 0; c < 12; ++c) {
        const QString chatId = conversationId(c * 83);
        ZMessageView view;
        view.resize(640, 420);
        view.show();
        QList<LogRecord> page = store.recordsBefore(0, 10, chatId);
        for (const LogRecord &r : std::as_const(page)) {
            const LogLine line = lineOf(r.message);
            view.appendLog(line.html, line.alias, line.id, line.time);
        }
        QCoreApplication::processEvents();
        qint64 before = page.isEmpty() ? 0 : page.first().id;
        for (int round = 0; before > 0; ++round) {
            view.verticalScrollBar()->setValue(0);
            const double cpuStart = threadCpuUs();
            timer.start();
            page = store.recordsBefore(before, PageSize, chatId);
            QList<LogLine> lines;
            lines.reserve(page.size());
            for (const LogRecord &r : std::as_const(page))
                lines.append(lineOf(r.message));
            view.prependLog(lines);
            view.repaint();
            const double us = timer.nsecsElapsed() / 1000.0;
            if (round > 0) {
                samples.push_back(us);
                cpuSamples.push_back(threadCpuUs() - cpuStart);
            }
            before = page.size() < PageSize ? 0 : page.first().id;
        }
    }
    std::sort(samples.begin(), samples.end());
    const double medianUs = samples.empty() ? 0 : samples[samples.size() / 2];
    // Goal: at most 2,000 us.
    std::printf("BENCH history_page_us %.1f us\n", medianUs);
    std::sort(cpuSamples.begin(), cpuSamples.end());
    std::printf("BENCH history_page_cpu_us %.1f us\n", cpuSamples.empty() ? 0 : cpuSamples[cpuSamples.size() / 2]);

    std::vector<double> searches;
    for (int c = 0; c < 40; ++c) {
        const int conversation = (c * 37) % Conversations;
        const QString chatId = conversationId(conversation);
        // Record numbers are words of their own, each in one record.
        const QString rare = recordWord(conversation + 1000 * (c * 13 % (Records / Conversations)));
        for (const QString &word : {QStringLiteral("lorem"), rare}) {
            timer.start();
            const QList<LogRecord> hits = store.search(word, 200, chatId);
            searches.push_back(timer.nsecsElapsed() / 1e6);
            if (hits.isEmpty()) {
                std::fprintf(stderr, "no hit for %s in %s\n", qPrintable(word), qPrintable(chatId));
                return 1;
            }
        }
    }
    std::sort(searches.begin(), searches.end());
    // Goal: at most 50 ms.
    std::printf("BENCH history_search_ms %.2f ms\n", searches[searches.size() / 2]);
    return 0;
}
