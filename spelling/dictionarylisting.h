#pragma once
// The file listing a dictionary server publishes for a language: one entry a
// line, the first two characters of each line a marker, the rest a file name.
// Names arrive from the network, so only plain file names are kept: nothing a
// listing says may write outside the spelling folder.

#include <QByteArray>
#include <QStringList>

namespace zubrel {

class DictionaryListing
{
public:
    // A listing longer than this is refused unread.
    static constexpr qint64 maxSize = 64 * 1024;
    // Files a language may bring; more means a broken or hostile listing.
    static constexpr int maxFiles = 16;

    // Lines are separated by LF (CR before it is dropped); empty lines and
    // lines holding "content" are skipped. A name may be percent-encoded as
    // in a URL; it is decoded once before it is checked.
    static DictionaryListing parse(const QByteArray &text);

    // A name usable as a file in one folder: not empty, no "/", "\", "..",
    // drive letter, leading dot, control character or undecodable byte.
    static bool isFileName(const QString &name);

    QStringList names;   // in listing order, no repeats
    QStringList refused; // lines whose name is not a plain file name
};

} // namespace zubrel
