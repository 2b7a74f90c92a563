#pragma once
// Catches a crash of the module (or a failed assertion, which aborts) so a
// replay still ends with a readable trace line and exit status 3 instead of
// a core dump and a cut-off file.

namespace zubrel {

class CrashGuard
{
public:
    // fd receives {"ev":"crash","signal":N}; exits with status 3. The handler
    // runs on an alternate stack of the calling thread, so a stack overflow
    // of that thread (deeply nested input) is reported too.
    static void install(int fd);
    static void setFileDescriptor(int fd);
};

} // namespace zubrel
