#pragma once
// Icons from the module's resources, one shared QIcon per name. Every chat
// window has a few dozen of them; a fresh QIcon per window would leave its
// scaled pixmaps in Qt's pixmap cache under keys no later window reuses, so
// opening and closing chats would keep growing the process.

#include <QIcon>
#include <QString>

namespace zubrel {

class ZResourceIcon
{
public:
    // The shared icon for a resource name (":/chat-32"); any other name
    // gives a plain QIcon of it, not kept.
    static QIcon get(const QString &name);
};

} // namespace zubrel
