// A crash or failed assertion during a replay must end the host with
// status 3 and a last trace line, never a core dump and a cut-off trace.

#include <QTest>
#include <csignal>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include "crashguard.h"

using namespace zubrel;

namespace {

// Recursion that no optimiser can turn into a loop: each frame keeps a
// buffer alive across the call.
[[gnu::noinline]] int overflowStack(int depth)
{
    if (depth < 0) // never: the stack runs out long before
        return 0;
    volatile char frame[1024];
    frame[0] = char(depth);
    return overflowStack(depth + 1) + frame[0];
}

} // namespace

class tst_CrashGuard : public QObject
{
    Q_OBJECT

private slots:
    void fatalSignalsEndWithStatusThree_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("segmentation fault") << int(SIGSEGV);
        QTest::newRow("abort (failed assertion)") << int(SIGABRT);
        QTest::newRow("floating point") << int(SIGFPE);
        QTest::newRow("stack overflow") << -int(SIGSEGV);
    }
    void fatalSignalsEndWithStatusThree()
    {
        QFETCH(int, signal);
        const int reported = std::abs(signal);
        int fds[2];
        QCOMPARE(::pipe(fds), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(fds[0]);
            CrashGuard::install(fds[1]);
            if (signal < 0)
                overflowStack(0);
            else
                ::raise(signal);
            _exit(0); // not reached when the guard works
        }
        ::close(fds[1]);
        char buffer[128] = {};
        const ssize_t length = ::read(fds[0], buffer, sizeof buffer - 1);
        ::close(fds[0]);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 3);
        QVERIFY(length > 0);
        QCOMPARE(QByteArray(buffer, int(length)), QByteArray("{\"ev\":\"crash\",\"signal\":") + QByteArray::number(reported) + "}\n");
    }
};

QTEST_GUILESS_MAIN(tst_CrashGuard)
#include "tst_crashguard.moc"
