#include "zdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#include "zsafepath.h"

namespace zubrel {

namespace {

struct DirState
{
    QString applicationPath;
    QString profilePath;
    QString currentUser;
};

DirState &state()
{
    static DirState s;
    return s;
}

// Only plain user numbers name a folder: anything else (empty, "..", "a/b",
// non-ASCII digits) could leave the profile or clash with "default".
bool isUserNumber(const QString &userId)
{
    if (userId.isEmpty())
        return false;
    for (const QChar c : userId) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

QString ensured(const QString &path, bool create)
{
    if (create)
        QDir().mkpath(path);
    return path;
}

} // namespace

QString ZDir::applicationPath()
{
    const QString env = qEnvironmentVariable("ZUBREL_APP_DIR");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    if (!state().applicationPath.isEmpty())
        return state().applicationPath;
    return QCoreApplication::applicationDirPath();
}

void ZDir::setApplicationPath(const QString &path)
{
    state().applicationPath = path.isEmpty() ? QString() : QDir::cleanPath(path);
}

QString ZDir::profilePath()
{
    const QString env = qEnvironmentVariable("ZUBREL_PROFILE");
    if (!env.isEmpty())
        return QDir::cleanPath(env);
    if (!state().profilePath.isEmpty())
        return state().profilePath;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void ZDir::setProfilePath(const QString &path)
{
    state().profilePath = path.isEmpty() ? QString() : QDir::cleanPath(path);
}

QString ZDir::currentUser()
{
    return state().currentUser;
}

void ZDir::setCurrentUser(const QString &userId)
{
    state().currentUser = userId;
}

QString ZDir::userFolderName(const QString &userId)
{
    return isUserNumber(userId) && ZSafePath::isSafeName(userId) ? userId : QStringLiteral("default");
}

QString ZDir::userPath(const QString &userId)
{
    return ensured(profilePath() + QLatin1String("/users/") + userFolderName(userId), true);
}

QString ZDir::currentUserPath()
{
    return userPath(currentUser());
}

QString ZDir::smileysPath(bool create)
{
    return ensured(currentUserPath() + QLatin1String("/smileys"), create);
}

QString ZDir::pushMessagesPath(bool create)
{
    return ensured(currentUserPath() + QLatin1String("/pushmessages"), create);
}

QString ZDir::pushMessagesTempPath(bool create)
{
    return ensured(currentUserPath() + QLatin1String("/pushmessages_tmp"), create);
}

QString ZDir::tempPath(bool create)
{
    return ensured(currentUserPath() + QLatin1String("/temp"), create);
}

QString ZDir::myPicturesPath()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return pictures.isEmpty() ? QDir::homePath() : pictures;
}

} // namespace zubrel
