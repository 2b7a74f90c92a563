#pragma once
// The "crash" replay step: a test hook that brings the host down the way a
// fault of the module would, so a replay shows end to end that the crash
// guard still finishes the trace and exits with status 3. The module bounds
// the nesting of what it parses, so no input of its own can overflow the
// stack any more; this hook is the only way left to check that path.

#include <QJsonObject>
#include <QString>

namespace zubrel {

class ReplayCrashStep
{
public:
    // kind "stackOverflow": unbounded recursion on the main thread, as
    // parsing deeply nested input recursively would. Returns only on a bad
    // kind.
    static bool run(const QJsonObject &step, QString *error);
};

} // namespace zubrel
