#pragma once
// One emoticon or push-message theme as installed beside the application:
// "smileys.xml" (or "pushmessages.xml") describing the entries and
// "smileys.res" holding their pictures and sounds.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace zubrel {

struct ZSmileyEntry {
    QString id;
    QString name;       // resource path of the picture (or push-message sound)
    QString tr;         // balloon header
    QString shortcut;   // blank-separated shortcuts, also the tooltip
    QString shortcutex; // further shortcuts, not shown
    QString sound;      // sound file under sounds/standard/smilies/
};

class ZSmileyTheme
{
public:
    enum class Kind { Smileys, PushMessages };

    // Reading stops here: a theme of thousands of entries is a broken or
    // hostile file, and its section would take seconds to build.
    static constexpr int maxEntries = 2000;
    static constexpr qint64 maxFileSize = 4 * 1024 * 1024;

    static QString xmlPath(Kind kind, const QString &theme);
    static QString resourcePath(const QString &theme);
    // The same picture drawn at twice its size (<name>@2x.<suffix>) for
    // screens with two device pixels to the point; empty when there is none.
    static QString sharpPicturePath(const QString &path);
    // Theme folders in the order the file system gives them.
    static QStringList themeNames(Kind kind);

    // Reads the theme's XML and registers its resource file. A missing,
    // oversized or malformed file gives an invalid theme without entries.
    static ZSmileyTheme load(const QString &theme, Kind kind = Kind::Smileys);
    // The XML grammar alone, without touching the disk.
    static ZSmileyTheme parse(const QByteArray &xml, Kind kind = Kind::Smileys);
    // Registers "<app>/smileys/<theme>/smileys.res" once per process.
    static bool registerResource(const QString &theme);

    bool isValid() const { return m_valid; }
    QString title() const { return m_title; }
    const QList<ZSmileyEntry> &entries() const { return m_entries; }
    const QMap<QString, QString> &shortcutMap() const { return m_shortcuts; }
    const QMap<QString, QString> &soundMap() const { return m_sounds; }

private:
    static bool isSafeResource(const QString &name);
    static bool isSafeSound(const QString &sound);
    void addEntry(const ZSmileyEntry &entry);

    bool m_valid = false;
    Kind m_kind = Kind::Smileys;
    QString m_title;
    QList<ZSmileyEntry> m_entries;
    QMap<QString, QString> m_shortcuts;
    QMap<QString, QString> m_sounds;
};

} // namespace zubrel
