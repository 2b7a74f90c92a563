#include "dictionarylisting.h"

#include <QUrl>

namespace zubrel {

DictionaryListing DictionaryListing::parse(const QByteArray &text)
{
    DictionaryListing listing;
    const QList<QByteArray> lines = text.split('\n');
    for (QByteArray line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.contains("content"))
            continue;
        const QString name = QUrl::fromPercentEncoding(line.mid(2));
        if (!isFileName(name))
            listing.refused.append(name);
        else if (!listing.names.contains(name))
            listing.names.append(name);
    }
    return listing;
}

bool DictionaryListing::isFileName(const QString &name)
{
    if (name.isEmpty() || name.size() > 128 || name.startsWith(u'.') || name.trimmed() != name)
        return false;
    // "C:x" and "x:stream" name something other than a file in the folder.
    if (name.contains(u'/') || name.contains(u'\\') || name.contains(u':') || name.contains(QLatin1String("..")))
        return false;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::ReplacementCharacter)
            return false;
    }
    return true;
}

} // namespace zubrel
