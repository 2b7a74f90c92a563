#pragma once
// The client's look that ships as a separate binary resource file
// (<application>/skins/zubrel.res): status icons, the default avatar and the
// small marks a contact card shows. Widgets ask here for their pictures so a
// missing skin degrades to plain drawn shapes instead of empty labels.

#include <QPixmap>
#include <QString>

namespace zubrel {

class ZSkin
{
public:
    // Registers the skin file of the application folder. With reload the
    // file is registered again even when it already is (a new file may have
    // been installed). Returns false when the file is missing or unreadable;
    // whatever was registered before stays.
    static bool init(bool reload);
    static bool isLoaded();
    static QString path();

    // Resource name of the status picture (":/status/online" ...); unknown
    // states map to offline.
    static QString statusResource(int status);
    // Status picture of the given edge length; a drawn dot without a skin.
    static QPixmap statusIcon(int status, int size = 16);
    // Any skin picture by resource name; a null pixmap when it is missing.
    static QPixmap picture(const QString &resource, const QSize &size);
    // Human readable status name, for cards and tool tips.
    static QString statusName(int status);

    ZSkin() = delete;
};

} // namespace zubrel
