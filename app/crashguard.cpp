#include "crashguard.h"

#include <csignal>
#include <cstring>
#include <initializer_list>
#include <unistd.h>

namespace zubrel {

namespace {

volatile sig_atomic_t traceFd = -1;

// A stack overflow leaves no stack to run the handler on: it runs on a stack
// of its own. Ample for the handler's few hundred bytes, also with the
// sanitizers' larger frames.
constexpr size_t alternateStackBytes = 64 * 1024;
alignas(16) char alternateStack[alternateStackBytes];

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
    stack_t stack;
    std::memset(&stack, 0, sizeof stack);
    stack.ss_sp = alternateStack;
    stack.ss_size = alternateStackBytes;
    sigaltstack(&stack, nullptr);
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = onFatalSignal;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL})
        sigaction(signal, &action, nullptr);
}

void CrashGuard::setFileDescriptor(int fd)
{
    traceFd = fd;
}

} // namespace zubrel
