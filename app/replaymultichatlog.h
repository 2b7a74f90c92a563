#pragma once
// The chat log of a multi chat is kept under its logger's uuid, not under a
// key a script can name. This finds the uuid of an open multi chat
// ("mc:<id>") and remembers it in the profile folder, so a replay that runs
// after a restart in the same profile still finds that chat's history.

#include <QString>
#include <QUuid>

namespace zubrel {

class ReplayMultichatLog
{
public:
    // Null when the chat is not open and was never looked up before.
    static QUuid uuidOf(const QString &key);
};

} // namespace zubrel
