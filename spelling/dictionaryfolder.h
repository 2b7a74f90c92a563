#pragma once
// The application's spelling folder, where the spelling engine finds its
// dictionaries (<name>.aff next to <name>.dic).

#include <QStringList>

namespace zubrel {

class DictionaryFolder
{
public:
    // At most this many dictionaries are installed at once.
    static constexpr int maxInstalled = 3;

    static QString path(); // <application>/spelling
    static QStringList installed(); // names with both files, sorted
    // Deletes <name>.aff and <name>.dic; only plain names inside the folder.
    static bool remove(const QString &name);
    // Installed dictionaries of a language code ("de" -> "de_DE", "de_AT").
    static QStringList ofLanguage(const QString &code);
};

} // namespace zubrel
