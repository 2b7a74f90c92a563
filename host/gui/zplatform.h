#pragma once
// The few window-system and shell operations the chat module needs beyond
// plain Qt (show without focus, place a window, bring one to the front,
// open a link, start a program). They all go through this one interface so
// tests can install a stub and watch the calls. The default implementation
// does the real work and reports each call ("platform" / "process"); in a
// scripted run it only reports openUrl and startDetached instead of
// launching anything.

#include <QRect>
#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace zubrel {

class ZPlatform
{
public:
    ZPlatform() = default;
    virtual ~ZPlatform() = default;
    ZPlatform(const ZPlatform &) = delete;
    ZPlatform &operator=(const ZPlatform &) = delete;

    // The installed implementation; the default one unless a test set its own.
    static ZPlatform *instance();
    // Does not take ownership; nullptr restores the default.
    static void setInstance(ZPlatform *platform);

    // Shows the window minimised without taking the focus from the user.
    virtual void showMinimizedNoActivate(QWidget *window);
    // Places the window's outer frame at rect (screen coordinates).
    virtual void setWindowGeometry(QWidget *window, const QRect &rect);
    virtual void raiseAndActivate(QWidget *window);
    // The same for a window another module owns, known only by its native
    // handle (reported with "window": handle). A handle of a window of this
    // process is acted on; foreign windows are left to the window manager.
    virtual void setNativeWindowGeometry(quint64 handle, const QRect &rect);
    virtual void raiseNativeWindow(quint64 handle);
    // True when the link was handed to the desktop (or, scripted, reported).
    virtual bool openUrl(const QUrl &url);
    virtual bool startDetached(const QString &program, const QStringList &arguments);
};

} // namespace zubrel
