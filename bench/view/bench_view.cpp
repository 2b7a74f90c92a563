// Message view benchmark: a shown view (offscreen) is filled like a long
// conversation; each timed step includes the repaint of what is on screen.

#include "zmessageview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

using namespace zubrel;

namespace {

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

QString messageHtml(int n)
{
    QString text = QStringLiteral("<span style=\"font-family:'Tahoma'; font-size:12px; color:#000000;\">Message %1: "
                                  "how are things going, shall we meet later today?</span>").arg(n);
    if (n % 7 == 0)
        text += QStringLiteral(" <a href=\"http://example.org/page%1\">http://example.org/page%1</a>").arg(n);
    if (n % 11 == 0)
        text += QStringLiteral("<br>second line with <b>bold</b> and <i>italic</i> words");
    return text;
}

// Alternating senders with some runs, as a real conversation has.
void appendOne(ZMessageView &view, int n, const QDateTime &at)
{
    if (n % 50 == 49)
        view.appendNotice(MessageTemplates::System, QStringLiteral("Contact is now online."), at);
    else if ((n / 3) % 2 == 0)
        view.appendIncoming(messageHtml(n), QStringLiteral("Anna"), QStringLiteral("anna"), at, false, n % 13 == 0);
    else
        view.appendOwn(messageHtml(n), QStringLiteral("Me"), QStringLiteral("me"), at);
}

// CPU time of this thread: on a machine busy with other work the wall clock
// also counts the time the scheduler gave to others.
double threadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median(std::vector<double> values)
{
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

struct Cost
{
    double wall = 0;
    double cpu = 0;
};

Cost medianAppendMs(ZMessageView &view, int &n, const QDateTime &base, int samples)
{
    std::vector<double> times;
    std::vector<double> cpu;
    QElapsedTimer timer;
    for (int i = 0; i < samples; ++i) {
        // The tab takes the time once per message; that is not view work.
        const QDateTime at = base.addSecs(n * 30);
        const double cpuStart = threadCpuMs();
        timer.start();
        appendOne(view, n, at);
        ++n;
        // Deliver the pending paint, as the event loop would after an append.
        QCoreApplication::processEvents();
        times.push_back(timer.nsecsElapsed() / 1e6);
        cpu.push_back(threadCpuMs() - cpuStart);
    }
    return {median(times), median(cpu)};
}

void report(const char *name, double value, const char *unit)
{
    std::printf("BENCH %s %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

// A shown view holding count entries, with its pending paints delivered.
void fill(QApplication &app, ZMessageView &view, int count, const QDateTime &base)
{
    view.resize(640, 420);
    view.show();
    app.processEvents();
    for (int n = 0; n < count; ++n)
        appendOne(view, n, base.addSecs(n * 30));
    app.processEvents();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDateTime base(QDate(2024, 5, 1), QTime(8, 0));
    constexpr int samples = 201;

    {
        // Warm the font, glyph and picture caches so the first measurement
        // does not pay for them.
        ZMessageView warm;
        warm.resize(640, 420);
        warm.show();
        for (int i = 0; i < 300; ++i) {
            appendOne(warm, i, base.addSecs(i * 30));
            warm.repaint();
        }
    }
    Cost small;
    {
        ZMessageView view;
        int n = 100;
        fill(app, view, n, base);
        small = medianAppendMs(view, n, base, samples);
    }
    app.processEvents();

    const double before = residentMb();
    ZMessageView view;
    int n = 10000;
    fill(app, view, n, base);
    const double after = residentMb();

    const Cost large = medianAppendMs(view, n, base, samples);
    report("view_append_10k_ms", large.wall, "ms");
    report("view_append_100_ms", small.wall, "ms");
    report("view_append_ratio", small.wall > 0 ? large.wall / small.wall : 0, "x");
    report("view_append_10k_cpu_ms", large.cpu, "ms");
    report("view_append_ratio_cpu", small.cpu > 0 ? large.cpu / small.cpu : 0, "x");

    std::vector<double> restyle;
    QElapsedTimer timer;
    for (int i = 0; i < 6; ++i) {
        timer.start();
        view.setPlain(!view.isPlain());
        view.repaint();
        restyle.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(restyle.begin(), restyle.end());
    report("view_restyle_10k_ms", restyle[restyle.size() / 2], "ms");
    report("view_rss_10k_mb", after - before, "MB");

    {
        // A very long conversation: one append costs no more with 100,000
        // entries above it, and their memory stays bounded.
        const double start = residentMb();
        ZMessageView huge;
        int m = 100000;
        fill(app, huge, m, base);
        const double filled = residentMb();
        const Cost append = medianAppendMs(huge, m, base, samples);
        // Goals: at most 0.3 ms and 150 MB.
        report("view_append_100k_ms", append.wall, "ms");
        report("view_append_100k_cpu_ms", append.cpu, "ms");
        report("view_rss_100k_mb", filled - start, "MB");
    }
    return 0;
}
