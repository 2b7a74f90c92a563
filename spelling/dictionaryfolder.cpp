#include "dictionaryfolder.h"

#include "dictionarylisting.h"
#include "zdir.h"
#include "zsafepath.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zubrel {

QString DictionaryFolder::path()
{
    return ZDir::applicationPath() + QLatin1String("/spelling");
}

QStringList DictionaryFolder::installed()
{
    const QDir folder(path());
    QStringList names;
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.dic")}, QDir::Files, QDir::Name);
    for (const QFileInfo &dic : files) {
        if (folder.exists(dic.completeBaseName() + QLatin1String(".aff")))
            names.append(dic.completeBaseName());
    }
    return names;
}

bool DictionaryFolder::remove(const QString &name)
{
    if (!DictionaryListing::isFileName(name) || !installed().contains(name))
        return false;
    const QString dicPath = ZSafePath::childPath(path(), name + QLatin1String(".dic"));
    const QString affPath = ZSafePath::childPath(path(), name + QLatin1String(".aff"));
    if (dicPath.isEmpty() || affPath.isEmpty())
        return false;
    const bool dic = QFile::remove(dicPath);
    const bool aff = QFile::remove(affPath);
    return dic && aff;
}

QStringList DictionaryFolder::ofLanguage(const QString &code)
{
    QStringList result;
    for (const QString &name : installed()) {
        if (name == code || name.startsWith(code + u'_'))
            result.append(name);
    }
    return result;
}

} // namespace zubrel
