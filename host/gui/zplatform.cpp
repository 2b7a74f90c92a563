#include "zplatform.h"

#include "zhostevents.h"
#include "zmodalscript.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QVariantList>
#include <QWidget>

namespace zubrel {

namespace {

ZPlatform *installed = nullptr;

void reportPlatform(const QString &op, QWidget *window, const QVariantList &values = {})
{
    ZHostEvents::instance()->report(QStringLiteral("platform"),
                                    {{QStringLiteral("op"), op},
                                     {QStringLiteral("widget"), QVariant::fromValue<QObject *>(window)},
                                     {QStringLiteral("values"), values}});
}

// rect is the outer frame; Qt sizes the client area, so take the
// decoration off (none before the window was first shown).
void placeFrame(QWidget *window, const QRect &rect)
{
    const QSize decoration = window->frameGeometry().size() - window->geometry().size();
    window->move(rect.topLeft());
    window->resize((rect.size() - decoration).expandedTo(QSize(0, 0)));
}

} // namespace

ZPlatform *ZPlatform::instance()
{
    static ZPlatform real;
    return installed ? installed : &real;
}

void ZPlatform::setInstance(ZPlatform *platform)
{
    installed = platform;
}

void ZPlatform::showMinimizedNoActivate(QWidget *window)
{
    if (!window)
        return;
    reportPlatform(QStringLiteral("showMinimizedNoActivate"), window);
    // A message arriving must not steal the focus from what the user types.
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->showMinimized();
}

void ZPlatform::setWindowGeometry(QWidget *window, const QRect &rect)
{
    if (!window)
        return;
    reportPlatform(QStringLiteral("setGeometry"), window,
                   {rect.x(), rect.y(), rect.width(), rect.height()});
    placeFrame(window, rect);
}

void ZPlatform::raiseAndActivate(QWidget *window)
{
    if (!window)
        return;
    reportPlatform(QStringLiteral("raise"), window);
    window->raise();
    window->activateWindow();
}

namespace {

void reportNative(const QString &op, quint64 handle, const QVariantList &values = {})
{
    ZHostEvents::instance()->report(QStringLiteral("platform"),
                                    {{QStringLiteral("op"), op},
                                     {QStringLiteral("window"), qlonglong(handle)},
                                     {QStringLiteral("values"), values}});
}

QWidget *ownWindow(quint64 handle)
{
    QWidget *widget = QWidget::find(WId(handle));
    return widget ? widget->window() : nullptr;
}

} // namespace

void ZPlatform::setNativeWindowGeometry(quint64 handle, const QRect &rect)
{
    reportNative(QStringLiteral("setGeometry"), handle, {rect.x(), rect.y(), rect.width(), rect.height()});
    if (QWidget *window = ownWindow(handle))
        placeFrame(window, rect);
}

void ZPlatform::raiseNativeWindow(quint64 handle)
{
    reportNative(QStringLiteral("raise"), handle);
    if (QWidget *window = ownWindow(handle)) {
        window->raise();
        window->activateWindow();
    }
}

bool ZPlatform::openUrl(const QUrl &url)
{
    ZHostEvents::instance()->report(QStringLiteral("platform"),
                                    {{QStringLiteral("op"), QStringLiteral("openUrl")},
                                     {QStringLiteral("url"), url.toString()}});
    if (!url.isValid())
        return false;
    if (ZModalScript::instance()->isScripted())
        return true;
    return QDesktopServices::openUrl(url);
}

bool ZPlatform::startDetached(const QString &program, const QStringList &arguments)
{
    ZHostEvents::instance()->report(QStringLiteral("process"),
                                    {{QStringLiteral("program"), program},
                                     {QStringLiteral("args"), arguments}});
    if (program.isEmpty())
        return false;
    if (ZModalScript::instance()->isScripted())
        return true;
    return QProcess::startDetached(program, arguments);
}

} // namespace zubrel
