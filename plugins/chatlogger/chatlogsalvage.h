#pragma once
// Reads what can still be read from a chat history SQLite found damaged,
// without ever changing the damaged file: it works on a copy, lets SQLite
// skip schema entries it cannot parse, and steps over table pages it
// cannot read. Nothing here parses pages itself; SQLite does all reading.

#include <QList>
#include <QString>

#include <functional>

#include "messagestruct.h"

namespace zubrel {

class ChatLogSalvage
{
public:
    // Records are handed over in batches of at most this many, oldest
    // first, so a large history never sits in memory at once.
    static constexpr int BatchSize = 5000;

    // Receives one batch; returning false stops the salvage.
    using Sink = std::function<bool(const QList<MessageStruct> &)>;

    // Copies damagedPath (and its -wal when present) to workPath, reads
    // every readable record from the copy into sink, and removes the copy.
    // Returns the number of records handed over.
    static qint64 salvage(const QString &damagedPath, const QString &workPath, const Sink &sink);

private:
    static bool makeWorkCopy(const QString &damagedPath, const QString &workPath);
    static void repairHeader(const QString &workPath, int pageSize);
    static qint64 readRecords(const QString &workPath, const Sink &sink);
};

} // namespace zubrel
