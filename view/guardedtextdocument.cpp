#include "guardedtextdocument.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTextDocument>
#include <QUrl>

#include "messagelayout.h"
#include "zdir.h"
#include "zsafepath.h"

namespace zubrel {

namespace {

// Compiled-in resources of the module, the skins and the themes; Qt's own
// (":/qt-project.org/...") are not the module's to show.
bool isOwnResource(const QString &path)
{
    return path.startsWith(u":/") && !path.startsWith(u":/qt-project.org/") && !path.startsWith(u":/qt/")
           && !path.contains(QLatin1String("/../"));
}

QImage readBounded(const QString &path)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > GuardedTextDocument::MaxPicturePixels)
        reader.setScaledSize(size.scaled(4096, 4096, Qt::KeepAspectRatio));
    return reader.read();
}

} // namespace

QString GuardedTextDocument::allowedFile(const QUrl &url)
{
    QString path;
    if (url.scheme() == u"qrc")
        path = u':' + url.path();
    else if (url.scheme().isEmpty() || url.scheme() == u"file")
        path = url.path();
    else
        return {};
    if (path.startsWith(u':'))
        return isOwnResource(path) ? path : QString(); // missing ones are drawn by MessageLayout
    if (!path.startsWith(u'/'))
        return {}; // relative: it would depend on the working folder
    const QString roots[] = {ZDir::tempPath(false), ZDir::smileysPath(false), ZDir::pushMessagesPath(false),
                             ZDir::applicationPath() + QLatin1String("/smileys")};
    for (const QString &root : roots) {
        if (!ZSafePath::isInside(root, path))
            continue;
        // Regular files only (no devices, pipes or folders), and not huge.
        const QFileInfo info(QFileInfo(path).canonicalFilePath());
        if (info.isFile() && info.size() <= MaxPictureBytes)
            return info.filePath();
    }
    return {};
}

QImage GuardedTextDocument::picture(const QUrl &url)
{
    const QString path = allowedFile(url);
    if (path.isEmpty())
        return {};
    return path.startsWith(u':') ? MessageLayout::image(path) : readBounded(path);
}

QVariant GuardedTextDocument::loadResource(int type, const QUrl &name)
{
    if (type != ImageResource)
        return {}; // style sheets and documents are never loaded for a message
    // Never an empty picture: Qt's image handler would then read the file
    // itself. A refused one takes one transparent pixel. Kept in the
    // document: it is asked again for every paint.
    QImage loaded = picture(name);
    if (loaded.isNull()) {
        loaded = QImage(1, 1, QImage::Format_ARGB32_Premultiplied);
        loaded.fill(Qt::transparent);
    }
    const QVariant image(loaded);
    addResource(type, name, image);
    return image;
}

} // namespace zubrel
