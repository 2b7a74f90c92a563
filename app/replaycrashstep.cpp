#include "replaycrashstep.h"

namespace zubrel {

namespace {

// Each frame keeps a buffer alive across the call, so no optimiser can turn
// the recursion into a loop; depth never goes negative, but the compiler
// cannot know that and must keep the exit.
[[gnu::noinline]] int nest(int depth)
{
    if (depth < 0)
        return 0;
    volatile char frame[1024];
    frame[0] = char(depth);
    return nest(depth + 1) + frame[0];
}

} // namespace

bool ReplayCrashStep::run(const QJsonObject &step, QString *error)
{
    const QString kind = step.value(QLatin1String("kind")).toString();
    if (kind == QLatin1String("stackOverflow"))
        return nest(0) < 0;
    *error = QStringLiteral("crash: kind must be \"stackOverflow\"");
    return false;
}

} // namespace zubrel
