#include "zsmileytheme.h"

#include "zdir.h"
#include "zsafepath.h"

#include <QDir>
#include <QFile>
#include <QResource>
#include <QSet>
#include <QXmlStreamReader>

namespace zubrel {

QString ZSmileyTheme::xmlPath(Kind kind, const QString &theme)
{
    // Theme names come from folder listings and settings: only a plain name
    // inside the installed themes is accepted.
    if (kind == Kind::PushMessages)
        return ZSafePath::relativePath(ZDir::applicationPath() + QStringLiteral("/pushmessages"),
                                       theme + QStringLiteral("/pushmessages.xml"));
    return ZSafePath::relativePath(ZDir::applicationPath() + QStringLiteral("/smileys"),
                                   theme + QStringLiteral("/smileys.xml"));
}

QString ZSmileyTheme::resourcePath(const QString &theme)
{
    // Push-message themes keep their clips in the emoticon theme's file.
    return ZSafePath::relativePath(ZDir::applicationPath() + QStringLiteral("/smileys"),
                                   theme + QStringLiteral("/smileys.res"));
}

QStringList ZSmileyTheme::themeNames(Kind kind)
{
    const QString base = kind == Kind::PushMessages ? QStringLiteral("%1/pushmessages/")
                                                    : QStringLiteral("%1/smileys/");
    return QDir(base.arg(ZDir::applicationPath()))
        .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Unsorted);
}

QString ZSmileyTheme::sharpPicturePath(const QString &path)
{
    const int dot = path.lastIndexOf(u'.');
    const QString sharp = dot > path.lastIndexOf(u'/') ? path.left(dot) + QStringLiteral("@2x") + path.mid(dot)
                                                       : path + QStringLiteral("@2x");
    return QFile::exists(sharp) ? sharp : QString();
}

bool ZSmileyTheme::registerResource(const QString &theme)
{
    // Registering the same file twice would map it twice; every chat tab
    // builds its own picker, so remember what is registered already.
    static QSet<QString> registered;
    const QString path = resourcePath(theme);
    if (path.isEmpty())
        return false;
    if (registered.contains(path))
        return true;
    if (!QResource::registerResource(path))
        return false;
    registered.insert(path);
    return true;
}

ZSmileyTheme ZSmileyTheme::load(const QString &theme, Kind kind)
{
    ZSmileyTheme result;
    result.m_kind = kind;
    if (!ZSafePath::isSafeName(theme))
        return result;
    QFile file(xmlPath(kind, theme));
    if (!file.exists() || file.size() > maxFileSize || !file.open(QIODevice::ReadOnly))
        return result;
    result = parse(file.readAll(), kind);
    if (result.isValid())
        registerResource(theme);
    return result;
}

ZSmileyTheme ZSmileyTheme::parse(const QByteArray &xml, Kind kind)
{
    ZSmileyTheme theme;
    theme.m_kind = kind;
    // A stream reader rather than a DOM: only the root's direct children
    // matter, and a deeply nested file must not exhaust the stack.
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement())
        return {};
    while (reader.readNextStartElement()) {
        const QString element = reader.name().toString().toLower();
        if (element == QLatin1String("name")) {
            theme.m_title = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (element == QLatin1String("author")) {
            const QString author = reader.readElementText(QXmlStreamReader::IncludeChildElements);
            if (!author.isEmpty())
                theme.m_title += QLatin1String(" - ") + author;
        } else if (element == QLatin1String("image")) {
            const QXmlStreamAttributes a = reader.attributes();
            theme.addEntry({a.value(QLatin1String("id")).toString(),
                            a.value(QLatin1String("name")).toString(),
                            a.value(QLatin1String("tr")).toString(),
                            a.value(QLatin1String("shortcut")).toString(),
                            a.value(QLatin1String("shortcutex")).toString(),
                            a.value(QLatin1String("sound")).toString()});
            reader.skipCurrentElement();
        } else {
            reader.skipCurrentElement();
        }
    }
    // Read to the end so that a file broken after its entries is refused
    // whole, as a parser building the full document would.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        return {};
    theme.m_valid = true;
    return theme;
}

bool ZSmileyTheme::isSafeResource(const QString &name)
{
    return name.startsWith(QLatin1String(":/")) && !name.contains(QLatin1String(".."));
}

bool ZSmileyTheme::isSafeSound(const QString &sound)
{
    // Played from the sounds folder by name: no way out of that folder.
    return sound.isEmpty() || ZSafePath::isSafeName(sound);
}

void ZSmileyTheme::addEntry(const ZSmileyEntry &entry)
{
    if (m_entries.size() >= maxEntries || !isSafeResource(entry.name) || !isSafeSound(entry.sound))
        return;
    m_entries.append(entry);
    if (m_kind != Kind::Smileys)
        return;
    for (const QString &attribute : {entry.shortcut, entry.shortcutex}) {
        for (const QString &piece : attribute.split(u' ', Qt::SkipEmptyParts))
            m_shortcuts.insert(piece, entry.name);
    }
    if (!entry.sound.isEmpty())
        m_sounds.insert(entry.name, entry.sound);
}

} // namespace zubrel
