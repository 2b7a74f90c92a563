// The message view against the obvious alternative: one QTextBrowser holding
// the whole conversation as a single rich-text document. Both hold the same
// 3,000 entries (the view's own styled HTML); then entry 3,001 and the ones
// after it are appended to each, with the repaint the event loop then does.
// Prints BENCH view_vs_textbrowser_3k_ratio <median ours / median browser> x.

#include "zmessageview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextBrowser>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace zubrel;

namespace {

constexpr int entries = 3000;
constexpr int samples = 21;

QString messageHtml(int n)
{
    QString text = QStringLiteral("Message %1: how are things going, shall we meet later today?").arg(n);
    if (n % 7 == 0)
        text += QStringLiteral(" <a href=\"http://example.org/page%1\">http://example.org/page%1</a>").arg(n);
    if (n % 11 == 0)
        text += QStringLiteral("<br>second line with <b>bold</b> and <i>italic</i> words");
    return text;
}

QString appendTo(ZMessageView &view, int n, const QDateTime &at)
{
    if ((n / 3) % 2 == 0)
        return view.appendIncoming(messageHtml(n), QStringLiteral("Anna"), QStringLiteral("anna"), at, false, false);
    return view.appendOwn(messageHtml(n), QStringLiteral("Me"), QStringLiteral("me"), at);
}

// Processor time of this thread: on a busy machine the wall clock also
// counts the time other processes ran.
double threadCpuUs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// What the browser does for a chat: the entry goes at the end and the view
// follows the bottom, as QTextEdit::append would with a scrolled-down view.
void appendTo(QTextBrowser &browser, const QString &html)
{
    QTextCursor cursor(browser.document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertHtml(html);
    browser.verticalScrollBar()->setValue(browser.verticalScrollBar()->maximum());
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QDateTime base(QDate(2024, 5, 1), QTime(8, 0));

    ZMessageView view;
    view.resize(640, 420);
    view.show();
    QTextBrowser browser;
    browser.resize(640, 420);
    browser.move(700, 0);
    browser.show();

    QString document;
    int n = 0;
    for (; n < entries; ++n)
        document += appendTo(view, n, base.addSecs(n * 30));
    browser.setHtml(document);
    browser.verticalScrollBar()->setValue(browser.verticalScrollBar()->maximum());
    app.processEvents();

    // Each in a run of its own: the browser's long appends would otherwise
    // leave the processor's caches cold for the view's short ones.
    std::vector<double> ours;
    QStringList appended;
    for (int i = 0; i < samples; ++i, ++n) {
        const double start = threadCpuUs();
        appended.append(appendTo(view, n, base.addSecs(n * 30)));
        QCoreApplication::processEvents();
        ours.push_back(threadCpuUs() - start);
    }
    std::vector<double> theirs;
    for (const QString &html : std::as_const(appended)) {
        const double start = threadCpuUs();
        appendTo(browser, html);
        QCoreApplication::processEvents();
        theirs.push_back(threadCpuUs() - start);
    }
    const double oursUs = median(ours);
    const double theirsUs = median(theirs);
    std::fprintf(stderr, "append to the view %.0f us, to one QTextBrowser %.0f us\n", oursUs, theirsUs);
    std::printf("BENCH view_vs_textbrowser_3k_ratio %.4f x\n", theirsUs > 0 ? oursUs / theirsUs : 0);
    return 0;
}
