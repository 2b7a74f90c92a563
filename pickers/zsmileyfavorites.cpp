#include "zsmileyfavorites.h"

#include "zdir.h"
#include "zsafepath.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>
#include <QSet>

namespace zubrel {

namespace {

struct FilterLine {
    const char *text;
    QStringList formats;
};

const QList<FilterLine> &filterLines()
{
    static const QList<FilterLine> lines{
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Windows Bitmap"), {"bmp"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Graphic Interchange Format"), {"gif"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Scaleable Vector Graphics"), {"svg"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Joint Photographic Experts Group"), {"jpeg", "jpg"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Multiple-image Network Graphics"), {"mng"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Portable Network Graphics"), {"png"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Portable Bitmap"), {"pbm", "ppm"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Portable Graymap"), {"pgm"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "X11 Bitmap"), {"xbm", "xpm"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Icon Image File Format"), {"ico"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "JPEG 2000"), {"jp2", "j2k"}},
        {QT_TRANSLATE_NOOP("ZSmileyFavorites", "Tagged Image File Format"), {"tif", "tiff"}},
    };
    return lines;
}

// Pictures kept as the user chose them: re-encoding would lose their
// animation or vector form.
bool keptAsIs(const QString &suffix)
{
    return suffix == QLatin1String("svg") || suffix == QLatin1String("gif")
           || suffix == QLatin1String("tif") || suffix == QLatin1String("tiff");
}

QString storeBytes(const QByteArray &bytes, const QString &suffix)
{
    const QString target = QStringLiteral("%1/%2.%3")
                               .arg(ZDir::smileysPath(true), ZSmileyFavorites::checksumName(bytes), suffix);
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QString();
    return target;
}

} // namespace

QString ZSmileyFavorites::tr(const char *text)
{
    return QCoreApplication::translate("ZSmileyFavorites", text);
}

QString ZSmileyFavorites::checksumName(const QByteArray &content)
{
    return QString::number(qChecksum(content, Qt::ChecksumIso3309));
}

bool ZSmileyFavorites::isAcceptedContent(const QString &baseName, const QByteArray &content)
{
    if (content.size() / 1024 >= maxKiB || baseName != checksumName(content))
        return false;
    QBuffer buffer;
    buffer.setData(content);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid())
        return size.width() <= maxEdge && size.height() <= maxEdge && reader.canRead();
    const QImage image = reader.read();
    return !image.isNull() && image.width() <= maxEdge && image.height() <= maxEdge;
}

bool ZSmileyFavorites::isAccepted(const QString &path)
{
    QFile file(path);
    // Checking the size first spares reading a big file that fails anyway.
    if (file.size() / 1024 >= maxKiB || !file.open(QIODevice::ReadOnly))
        return false;
    const QString baseName = QFileInfo(path).fileName().section(u'.', 0, 0);
    return isAcceptedContent(baseName, file.readAll());
}

QStringList ZSmileyFavorites::scan(const QString &folder)
{
    QStringList accepted;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Unsorted)) {
        const QString path = ZSafePath::childPath(folder, name);
        if (path.isEmpty())
            continue;
        if (isAccepted(path))
            accepted.append(path);
    }
    return accepted;
}

QString ZSmileyFavorites::folder()
{
    return ZDir::smileysPath(true);
}

QString ZSmileyFavorites::fileFilter(const QList<QByteArray> &formats)
{
    QStringList unique;
    for (const QByteArray &format : formats) {
        const QString name = QString::fromLatin1(format).toLower();
        if (!name.isEmpty() && !unique.contains(name))
            unique.append(name);
    }
    QStringList suffixes;
    for (const QString &format : unique)
        suffixes.append(QStringLiteral("*.%1").arg(format));
    QStringList lines;
    QSet<const FilterLine *> used;
    for (const QString &format : unique) {
        const FilterLine *known = nullptr;
        for (const FilterLine &line : filterLines()) {
            if (line.formats.contains(format))
                known = &line;
        }
        if (!known) {
            lines.append(tr("Unknown Format") + QStringLiteral(" (*.%1)").arg(format));
            continue;
        }
        // One line per kind, however many of its formats the reader lists.
        if (used.contains(known))
            continue;
        used.insert(known);
        QStringList patterns;
        for (const QString &f : known->formats)
            patterns.append(QStringLiteral("*.%1").arg(f));
        lines.append(tr(known->text) + QStringLiteral(" (%1)").arg(patterns.join(u' ')));
    }
    return tr("All Supported Types") + QStringLiteral(" (") + suffixes.join(u' ') + QStringLiteral(");;")
           + lines.join(QLatin1String(";;"));
}

QString ZSmileyFavorites::fileFilter()
{
    return fileFilter(QImageReader::supportedImageFormats());
}

ZSmileyFavorites::Result ZSmileyFavorites::addPicture(const QString &file)
{
    const QString tooBig = tr("The selected pixmap is bigger than 100kb and will not be selected.");
    QImage image(file);
    if (image.isNull())
        return {QString(), tr("The selected file is not a picture that can be used as an emoticon.")};
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (keptAsIs(suffix)) {
        if (image.width() >= maxEdge || image.height() >= maxEdge)
            return {QString(), tr("The selected pixmap is bigger than 200x200 pixel.")};
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = source.readAll();
        if (bytes.size() / 1024 >= maxKiB)
            return {QString(), tooBig};
        const QString stored = storeBytes(bytes, suffix);
        if (stored.isEmpty())
            return {QString(), tr("The picture could not be stored with your emoticons.")};
        return {stored, QString()};
    }
    if (image.width() > maxEdge)
        image = image.scaledToWidth(maxEdge, Qt::SmoothTransformation);
    if (image.height() > maxEdge)
        image = image.scaledToHeight(maxEdge, Qt::SmoothTransformation);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    // A suffix no writer knows (or a writer that produces nothing) must not
    // end up as an empty favourite that the partner cannot show.
    if (!image.save(&buffer, suffix.toLatin1().constData()) || encoded.isEmpty())
        return {QString(), tr("The selected picture could not be converted into an emoticon.")};
    if (encoded.size() / 1024 >= maxKiB)
        return {QString(), tooBig};
    const QString stored = storeBytes(encoded, suffix);
    if (stored.isEmpty())
        return {QString(), tr("The picture could not be stored with your emoticons.")};
    return {stored, QString()};
}

} // namespace zubrel
