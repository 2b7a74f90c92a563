#include "zsafepath.h"

#include <QDir>
#include <QFileInfo>

namespace zubrel {

namespace {

// The canonical form of path as far as it exists: links in the existing part
// are resolved, the missing rest is appended as written (it holds only safe
// names, so it cannot climb back out).
QString resolvedPath(const QString &path)
{
    QString existing = QDir::cleanPath(QDir(path).absolutePath());
    QString rest;
    while (!existing.isEmpty()) {
        const QFileInfo info(existing);
        if (info.exists() || info.isSymLink()) {
            const QString canonical = info.canonicalFilePath();
            if (canonical.isEmpty())
                return {}; // a dangling link: where it would write is not ours to say
            return rest.isEmpty() ? canonical : canonical + rest;
        }
        const int slash = existing.lastIndexOf(u'/');
        if (slash <= 0)
            return existing + rest;
        rest.prepend(existing.mid(slash));
        existing.truncate(slash);
    }
    return {};
}

} // namespace

bool ZSafePath::isSafeName(const QString &name)
{
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    if (name.toUtf8().size() > MaxNameBytes)
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c == u':' || c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

bool ZSafePath::isInside(const QString &folder, const QString &path)
{
    const QString base = resolvedPath(folder);
    const QString target = resolvedPath(path);
    if (base.isEmpty() || target.isEmpty())
        return false;
    return target == base || target.startsWith(base.endsWith(u'/') ? base : base + u'/');
}

QString ZSafePath::childPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty() || !isSafeName(name))
        return {};
    const QString path = QDir::cleanPath(folder) + u'/' + name;
    return isInside(folder, path) ? path : QString();
}

QString ZSafePath::relativePath(const QString &folder, const QString &relative)
{
    if (folder.isEmpty() || relative.isEmpty())
        return {};
    const QStringList names = relative.split(u'/');
    for (const QString &name : names) {
        if (!isSafeName(name))
            return {};
    }
    const QString path = QDir::cleanPath(folder) + u'/' + relative;
    return isInside(folder, path) ? path : QString();
}

} // namespace zubrel
