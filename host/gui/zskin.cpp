#include "zskin.h"

#include "zdir.h"
#include "zhostevents.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPainter>
#include <QHash>
#include <QResource>
#include <QSvgRenderer>

namespace zubrel {

namespace {

// The file currently registered; QResource needs the same name to unregister.
QString &registeredPath()
{
    static QString path;
    return path;
}

// Rendering a drawing costs far more than showing it, and a busy multi chat
// shows the same few pictures on hundreds of cards. Misses are kept too (a
// skin without marks asks again for every card). The skin file is part of
// the key: another skin draws them anew.
QHash<QString, QPixmap> &drawnPictures()
{
    static QHash<QString, QPixmap> pictures;
    return pictures;
}

QString pictureKey(const QString &resource, const QSize &size)
{
    return QStringLiteral("%1|%2|%3x%4").arg(registeredPath(), resource).arg(size.width()).arg(size.height());
}

QColor statusColor(int status)
{
    switch (status) {
    case 1: return QColor(0x3c, 0xb3, 0x4a);
    case 2: return QColor(0xf2, 0xb1, 0x1b);
    case 3: return QColor(0xd9, 0x3a, 0x2b);
    case 4: return QColor(0x9c, 0x1f, 0x16);
    default: return QColor(0x9a, 0x9a, 0x9a);
    }
}

} // namespace

QString ZSkin::path()
{
    return ZDir::applicationPath() + QStringLiteral("/skins/zubrel.res");
}

bool ZSkin::init(bool reload)
{
    const QString file = path();
    QString &current = registeredPath();
    bool ok = true;
    if (reload || current.isEmpty() || current != file) {
        // Checking first keeps a working skin when the new file is missing:
        // unregistering blindly would leave the client without pictures.
        ok = QFileInfo(file).isFile();
        if (ok) {
            if (!current.isEmpty())
                QResource::unregisterResource(current);
            ok = QResource::registerResource(file);
            drawnPictures().clear();
            current = ok ? file : QString();
        }
    }
    ZHostEvents::instance()->report(QStringLiteral("skin"),
                                    {{QStringLiteral("op"), QStringLiteral("init")},
                                     {QStringLiteral("path"), file},
                                     {QStringLiteral("ok"), ok}});
    return ok;
}

bool ZSkin::isLoaded()
{
    return !registeredPath().isEmpty();
}

QString ZSkin::statusResource(int status)
{
    static const char *const names[] = {"offline", "online", "away", "busy", "dnd", "invisible"};
    if (status < 0 || status > 5)
        status = 0;
    return QStringLiteral(":/status/") + QLatin1String(names[status]);
}

QPixmap ZSkin::picture(const QString &resource, const QSize &size)
{
    const QString key = pictureKey(resource, size);
    if (const auto found = drawnPictures().constFind(key); found != drawnPictures().constEnd())
        return *found;
    QPixmap pixmap;
    if (QFileInfo::exists(resource) && !size.isEmpty()) {
        QSvgRenderer renderer(resource);
        if (renderer.isValid()) {
            pixmap = QPixmap(size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            renderer.render(&painter);
        }
    }
    drawnPictures().insert(key, pixmap);
    return pixmap;
}

QPixmap ZSkin::statusIcon(int status, int size)
{
    size = qMax(size, 1);
    QPixmap pixmap = picture(statusResource(status), QSize(size, size));
    if (!pixmap.isNull())
        return pixmap;
    const QString key = pictureKey(QStringLiteral("drawn status %1").arg(status), QSize(size, size));
    if (const auto found = drawnPictures().constFind(key); found != drawnPictures().constEnd())
        return *found;
    pixmap = QPixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(statusColor(status).darker(130), 1));
    painter.setBrush(status == 5 ? QBrush(Qt::NoBrush) : QBrush(statusColor(status)));
    painter.drawEllipse(QRectF(1.5, 1.5, size - 3, size - 3));
    painter.end();
    drawnPictures().insert(key, pixmap);
    return pixmap;
}

QString ZSkin::statusName(int status)
{
    switch (status) {
    case 0: return QCoreApplication::translate("ZSkin", "Offline");
    case 1: return QCoreApplication::translate("ZSkin", "Online");
    case 2: return QCoreApplication::translate("ZSkin", "Away");
    case 3: return QCoreApplication::translate("ZSkin", "Busy");
    case 4: return QCoreApplication::translate("ZSkin", "Do not disturb");
    case 5: return QCoreApplication::translate("ZSkin", "Invisible");
    default: return QCoreApplication::translate("ZSkin", "Unknown");
    }
}

} // namespace zubrel
