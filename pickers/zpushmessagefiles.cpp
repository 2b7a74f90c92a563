#include "zpushmessagefiles.h"

#include "zdir.h"
#include "zsafepath.h"
#include "zsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTime>
#include <QtEndian>

namespace zubrel {

namespace {

const QString ratingGroup = QStringLiteral("pushmessage");
constexpr int headerSize = 44;

QString baseNameOf(const QString &path)
{
    return QFileInfo(path).fileName().section(u'.', 0, 0);
}

} // namespace

quint32 ZPushMessageFiles::lengthSeconds(const QByteArray &header)
{
    if (header.size() < headerSize)
        return 0;
    const auto *bytes = reinterpret_cast<const uchar *>(header.constData());
    const quint32 byteRate = qFromLittleEndian<quint32>(bytes + 28);
    const quint32 dataSize = qFromLittleEndian<quint32>(bytes + 40);
    return byteRate == 0 ? 0 : dataSize / byteRate;
}

quint32 ZPushMessageFiles::lengthSeconds(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return lengthSeconds(file.read(headerSize));
}

QString ZPushMessageFiles::lengthText(const QString &path)
{
    return QTime(0, 0).addSecs(lengthSeconds(path)).toString(QStringLiteral("hh:mm:ss"));
}

quint64 ZPushMessageFiles::nextNumber(const QStringList &names)
{
    // The whole number counts: compared as text "pushmsg999" sorts after
    // "pushmsg1000", and a new recording would overwrite an older one that
    // the conversation still links to.
    static const QRegularExpression pattern(QStringLiteral("^pushmsg([0-9]{1,18})\\.wav$"));
    quint64 largest = 0;
    bool any = false;
    for (const QString &name : names) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch())
            continue;
        largest = qMax(largest, match.captured(1).toULongLong());
        any = true;
    }
    return any ? qMax(largest + 1, quint64(1)) : firstNumber;
}

QString ZPushMessageFiles::nextRecordingPath(const QString &folder)
{
    const QDir dir(folder);
    quint64 number = nextNumber(dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted));
    QString path;
    // "pushmsg0108.wav" counts as 108 but is another file name: step over
    // whatever already exists.
    do
        path = QStringLiteral("%1/pushmsg%2.wav").arg(folder).arg(number++);
    while (QFileInfo::exists(path));
    return path;
}

QStringList ZPushMessageFiles::scan(const QString &folder)
{
    QStringList accepted;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        const QString path = ZSafePath::childPath(folder, name);
        if (path.isEmpty())
            continue;
        QFile file(path);
        if (file.size() / 1024 < maxKiB && file.open(QIODevice::ReadOnly))
            accepted.append(path);
    }
    return accepted;
}

QString ZPushMessageFiles::folder()
{
    return ZDir::pushMessagesPath(true);
}

int ZPushMessageFiles::rating(const QString &baseName)
{
    return ZSettings::instance()->get(baseName, 0, ratingGroup).toInt();
}

void ZPushMessageFiles::setRating(const QString &baseName, int rating)
{
    ZSettings::instance()->set(baseName, rating, ratingGroup);
}

bool ZPushMessageFiles::isValidName(const QString &name)
{
    if (name.trimmed().isEmpty() || name.contains(u'/') || name.contains(u'\\') || name.contains(QLatin1String(".."))
        || name.startsWith(u'.'))
        return false;
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool ZPushMessageFiles::isFavorite(const QString &path)
{
    const QFileInfo file(path);
    const QString canonical = file.canonicalFilePath();
    const QString base = QFileInfo(folder()).canonicalFilePath();
    if (canonical.isEmpty() || base.isEmpty() || !file.isFile())
        return false;
    return QFileInfo(canonical).absolutePath() == base;
}

bool ZPushMessageFiles::remove(const QString &path)
{
    if (!isFavorite(path))
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                    | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
    if (!QFile::remove(path))
        return false;
    setRating(baseNameOf(path), 0);
    return true;
}

bool ZPushMessageFiles::rename(const QString &path, const QString &name)
{
    if (!isValidName(name) || !isFavorite(path))
        return false;
    const QString target = ZSafePath::childPath(folder(), name + QStringLiteral(".wav"));
    if (target.isEmpty() || QFileInfo(target).absoluteFilePath() == QFileInfo(path).absoluteFilePath())
        return false;
    // QFile::copy never overwrites: an existing target keeps both files.
    if (!QFile::copy(path, target))
        return false;
    const int kept = rating(baseNameOf(path));
    remove(path);
    setRating(name, kept);
    return true;
}

} // namespace zubrel
