#include "zsmileythemecache.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>

namespace zubrel {

namespace {

struct CachedTheme
{
    QDateTime modified;
    qint64 size = -1;
    ZSmileyTheme theme;
};

} // namespace

ZSmileyTheme ZSmileyThemeCache::theme(const QString &name, ZSmileyTheme::Kind kind)
{
    static QHash<QString, CachedTheme> themes;
    const QString path = ZSmileyTheme::xmlPath(kind, name);
    const QFileInfo info(path);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    // By file: the application folder may change (tests), and push-message
    // themes live in a folder of their own.
    const QString key = path.isEmpty() ? QString::number(int(kind)) + u'|' + name : path;
    auto found = themes.find(key);
    if (found != themes.end() && found->modified == modified && found->size == size)
        return found->theme;
    CachedTheme entry{modified, size, ZSmileyTheme::load(name, kind)};
    themes.insert(key, entry);
    return entry.theme;
}

void ZSmileyThemeCache::loadInstalled()
{
    for (const ZSmileyTheme::Kind kind : {ZSmileyTheme::Kind::Smileys, ZSmileyTheme::Kind::PushMessages}) {
        for (const QString &name : ZSmileyTheme::themeNames(kind))
            theme(name, kind);
    }
}

} // namespace zubrel
