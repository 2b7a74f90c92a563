#include "crashguard.h"

#include <csignal>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

namespace zubrel {

namespace {

volatile sig_atomic_t traceFd = -1;

// Only async-signal-safe calls in here: write() and _exit().
void onFatalSignal(int signal)
{
    char line[64] = "{\"ev\":\"crash\",\"signal\":";
    size_t length = std::strlen(line);
    char digits[8];
    int count = 0;
    int value = signal;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0 && count < 7);
    while (count > 0)
        line[length++] = digits[--count];
    line[length++] = '}';
    line[length++] = '\n';
    if (traceFd >= 0) {
        [[maybe_unused]] auto written = ::write(traceFd, line, length);
    }
    _exit(3);
}

} // namespace

void CrashGuard::install(int fd)
{
    traceFd = fd;
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onFatalSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        sigaction(signal, &action, nullptr);
}

void CrashGuard::setFileDescriptor(int fd)
{
    traceFd = fd;
}

} // namespace zubrel
