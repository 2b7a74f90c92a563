#include "zresourceicon.h"

#include <QHash>

namespace zubrel {

QIcon ZResourceIcon::get(const QString &name)
{
    // Only resource names: the set is fixed by the build, so this stays small.
    if (!name.startsWith(QLatin1String(":/")))
        return QIcon(name);
    static QHash<QString, QIcon> icons;
    auto it = icons.constFind(name);
    if (it == icons.constEnd())
        it = icons.insert(name, QIcon(name));
    return *it;
}

} // namespace zubrel
