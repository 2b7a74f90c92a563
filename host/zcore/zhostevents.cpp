#include "zhostevents.h"

namespace zubrel {

ZHostEvents *ZHostEvents::instance()
{
    // Lives for the whole process; listeners connect and disconnect freely.
    static ZHostEvents events;
    return &events;
}

void ZHostEvents::report(const QString &kind, const QVariantMap &fields)
{
    emit event(kind, fields);
}

} // namespace zubrel
