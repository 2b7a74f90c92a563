#pragma once
// The one check every path that comes from outside passes before it names a
// file: network file names, theme entries, favourites, dictionary listings,
// push-message names, mandator names, profile user ids. A name from outside
// may only ever name something inside the folder it is meant for.

#include <QString>

namespace zubrel {

class ZSafePath
{
public:
    // Longest name accepted, in UTF-8 bytes: what Linux file systems take
    // (NAME_MAX); longer names would fail later with a less useful error.
    static constexpr int MaxNameBytes = 255;

    // True when name is one plain file or folder name: not empty, not "." or
    // "..", no '/', '\\', ':' (drive letters, alternate streams), NUL or other
    // control characters, at most MaxNameBytes long.
    static bool isSafeName(const QString &name);

    // folder + "/" + name when name is a safe name and the result stays inside
    // folder after following symbolic links (an existing link pointing out of
    // the folder is refused); otherwise an empty string.
    static QString childPath(const QString &folder, const QString &name);

    // Like childPath for a relative path of safe names separated by '/'
    // (a theme's "pictures/smile.png"); empty, absolute, "a//b" and any
    // component that is not a safe name are refused.
    static QString relativePath(const QString &folder, const QString &relative);

    // True when path, after following symbolic links as far as they exist,
    // lies inside folder (or is folder itself).
    static bool isInside(const QString &folder, const QString &path);
};

} // namespace zubrel
