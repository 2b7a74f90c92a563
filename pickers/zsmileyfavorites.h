#pragma once
// The user's own emoticon pictures: which files of the favourites folder are
// shown, and how a picture the user picks is checked and stored there.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zubrel {

class ZSmileyFavorites
{
public:
    static constexpr int maxEdge = 200;
    static constexpr int maxKiB = 99;

    // Decimal text of the content's CRC-16 (ISO 3309), the name a favourite
    // file must carry.
    static QString checksumName(const QByteArray &content);
    static bool isAcceptedContent(const QString &baseName, const QByteArray &content);
    static bool isAccepted(const QString &path);
    // Accepted files of the folder, in the order the file system lists them.
    static QStringList scan(const QString &folder);
    static QString folder();

    // The open-file filter: all supported suffixes first, then one line per
    // kind of picture, each once.
    static QString fileFilter(const QList<QByteArray> &formats);
    static QString fileFilter();

    // A picture chosen by the user, checked and made ready for sending.
    struct Result {
        QString path;  // stored favourite; empty when refused
        QString error; // message for the user; empty when silently ended
    };
    // Checks the picture and stores it (or its re-encoded, shrunk form) in
    // the favourites folder under its checksum name.
    static Result addPicture(const QString &file);

    static QString tr(const char *text);
};

} // namespace zubrel
