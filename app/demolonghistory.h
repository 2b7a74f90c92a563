#pragma once
// The demo's long history: fills the chat log of one contact with generated
// records, once per profile, so scrolling back and searching can be tried
// on a conversation of thousands of messages.

#include <QString>

namespace zubrel {

class DemoLongHistory
{
public:
    static constexpr int records = 5000;

    // Writes the records through the installed chat-log plug-in for the
    // demo user and `contact`, unless this profile already has them.
    static bool fill(const QString &profile, uint user, uint contact, const QString &alias, QString *error);
};

} // namespace zubrel
