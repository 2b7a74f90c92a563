#pragma once
// The files behind push messages: the length a WAVE header announces, the
// numbering of new recordings, and the user's saved push messages (which
// files are shown, their ratings, renaming and removing them). Renaming and
// removing act only on files inside the favourites folder.
#include <QString>
#include <QStringList>

namespace zubrel {

class ZPushMessageFiles
{
public:
    static constexpr int maxKiB = 99;
    static constexpr quint64 firstNumber = 100;

    // Seconds of sound announced by a canonical 44-byte WAVE header: data
    // size / byte rate; 0 for a short header, a zero byte rate or a file
    // that cannot be read.
    static quint32 lengthSeconds(const QByteArray &header);
    static quint32 lengthSeconds(const QString &path);
    // "hh:mm:ss" of lengthSeconds().
    static QString lengthText(const QString &path);

    // The next "pushmsg<N>.wav": one more than the largest whole number any
    // such name in names carries, 100 when there is none.
    static quint64 nextNumber(const QStringList &names);
    // Folder + "/pushmsg<N>.wav" for the folder's next number, never the
    // name of a file that exists.
    static QString nextRecordingPath(const QString &folder);

    // Saved push messages shown: readable and under 99 KiB, in the order
    // the file system lists them.
    static QStringList scan(const QString &folder);
    static QString folder();

    // Rating 0..5 stored under the base name in group "pushmessage".
    static int rating(const QString &baseName);
    static void setRating(const QString &baseName, int rating);

    // A name the user may give a push message: not empty, no path parts.
    static bool isValidName(const QString &name);
    // True when path is a file inside the favourites folder (after
    // resolving links and "..").
    static bool isFavorite(const QString &path);
    // Deletes a favourite and resets its rating; false for anything else.
    static bool remove(const QString &path);
    // Copies a favourite to "<name>.wav" beside it, moves the rating and
    // removes the old file. False, with both files and ratings untouched,
    // for a bad name, a file outside the folder or an existing target.
    static bool rename(const QString &path, const QString &name);
};

} // namespace zubrel
