#include "zsettings.h"

#include "zdir.h"
#include "zhostevents.h"

#include <QSettings>

namespace zubrel {

namespace {

QString settingsKey(const QString &key, const QString &group)
{
    return group.isEmpty() ? key : group + QLatin1Char('/') + key;
}

QString settingsFile(const QString &userId)
{
    return ZDir::userPath(userId) + QLatin1String("/settings.ini");
}

} // namespace

ZSettings::ZSettings()
    : m_settings(std::make_unique<QSettings>(settingsFile(QString()), QSettings::IniFormat))
{
}

// Written back at process end: values set last must not be lost.
ZSettings::~ZSettings()
{
    m_settings->sync();
}

ZSettings *ZSettings::instance()
{
    static ZSettings settings;
    return &settings;
}

QVariant ZSettings::get(const QString &key, const QVariant &defaultValue, const QString &group) const
{
    return m_settings->value(settingsKey(key, group), defaultValue);
}

void ZSettings::set(const QString &key, const QVariant &value, const QString &group)
{
    ZHostEvents::instance()->report(QStringLiteral("setting"),
        {{QStringLiteral("group"), group}, {QStringLiteral("key"), key}, {QStringLiteral("value"), value}});
    if (key.isEmpty())
        return; // QSettings cannot address an empty key
    m_settings->setValue(settingsKey(key, group), value);
    emit valueWritten(group, key, value);
}

// An id that is not a user number ends up in the "default" store, the same
// folder ZDir uses for it; user() then reports no user rather than a name
// that does not match the file in use.
void ZSettings::changeUser(const QString &userId)
{
    ZHostEvents::instance()->report(QStringLiteral("user"), {{QStringLiteral("id"), userId}});
    const QString user = ZDir::userFolderName(userId) == userId ? userId : QString();
    m_settings->sync();
    m_settings = std::make_unique<QSettings>(settingsFile(user), QSettings::IniFormat);
    m_user = user;
    ZDir::setCurrentUser(user);
    emit userChanged(user);
}

QString ZSettings::user() const
{
    return m_user;
}

QString ZSettings::fileName() const
{
    return m_settings->fileName();
}

void ZSettings::sync()
{
    m_settings->sync();
}

} // namespace zubrel
