#pragma once
// Well-known folders of the client. Everything a user owns lives under the
// profile folder, one sub-folder per user; the application folder holds what
// ships with the client (plugins/, skins/, smileys/, sounds/, spelling/).

#include <QString>

namespace zubrel {

class ZDir
{
public:
    // Folder of the installed client. ZUBREL_APP_DIR overrides it (tests run
    // from another folder than the application's), then setApplicationPath().
    static QString applicationPath();
    static void setApplicationPath(const QString &path);

    // Base of all per-user data; ZUBREL_PROFILE overrides the default
    // QStandardPaths::AppDataLocation, then setProfilePath().
    static QString profilePath();
    static void setProfilePath(const QString &path);

    // The user whose folders the per-user paths below name; set by
    // ZSettings::changeUser. Empty before login ("default" folder is used).
    static QString currentUser();
    static void setCurrentUser(const QString &userId);

    // <profile>/users/<userId>, created on demand. userId must be decimal
    // digits; anything else maps to "default" so no path escapes the profile.
    static QString userPath(const QString &userId);
    // The folder name userPath() uses for userId: the id itself or "default".
    static QString userFolderName(const QString &userId);
    static QString currentUserPath();

    // Favourite emoticons, favourite push messages and the recorder's
    // scratch folder. With create = true the folder is made if missing.
    static QString smileysPath(bool create);
    static QString pushMessagesPath(bool create);
    static QString pushMessagesTempPath(bool create);
    static QString tempPath(bool create);
    static QString myPicturesPath();
};

} // namespace zubrel
