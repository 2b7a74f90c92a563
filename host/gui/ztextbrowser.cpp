#include "ztextbrowser.h"

#include "zdir.h"
#include "zsafepath.h"
#include "zfiledialog.h"
#include "zmessagebox.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QMenu>
#include <QPixmap>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>

namespace zubrel {

namespace {

// A file name to offer for an image resource: its last path part when that
// is a plain name, else a neutral one.
QString suggestedName(const QString &name)
{
    const QUrl url(name);
    QString base = QFileInfo(url.isValid() && !url.scheme().isEmpty() ? url.path() : name).fileName();
    static const QString unsafe = QStringLiteral("\\/:*?\"<>|");
    for (QChar &c : base) {
        if (unsafe.contains(c) || c.unicode() < 32)
            c = u'_';
    }
    if (base.isEmpty() || base.startsWith(u'.'))
        base = QStringLiteral("image");
    if (QFileInfo(base).suffix().isEmpty())
        base += QStringLiteral(".png");
    return base;
}

QString localPathOf(const QString &name)
{
    const QUrl url(name);
    if (url.isLocalFile())
        return url.toLocalFile();
    if (url.scheme().isEmpty() && QFileInfo::exists(name))
        return name;
    return {};
}

} // namespace

ZTextBrowser::ZTextBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
}

void ZTextBrowser::setSaveableImages(bool on)
{
    m_saveableImages = on;
}

QString ZTextBrowser::imageAt(const QPoint &pos) const
{
    return imageAt(document(), pos + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value()));
}

QString ZTextBrowser::imageAt(const QTextDocument *document, const QPointF &point)
{
    const int hit = document->documentLayout()->hitTest(point, Qt::FuzzyHit);
    if (hit < 0)
        return {};
    // The hit position is the gap nearest to the point, so the picture is
    // the character just after it or just before it; check its box.
    for (int at : {hit, hit - 1}) {
        if (at < 0 || at >= document->characterCount() - 1)
            continue;
        const QTextBlock block = document->findBlock(at);
        if (!block.isValid() || !block.layout())
            continue;
        QTextCursor cursor(block);
        cursor.setPosition(at);
        cursor.setPosition(at + 1, QTextCursor::KeepAnchor);
        const QTextCharFormat format = cursor.charFormat();
        if (!format.isImageFormat())
            continue;
        const int inBlock = at - block.position();
        const QTextLine line = block.layout()->lineForTextPosition(inBlock);
        if (!line.isValid())
            continue;
        const QPointF origin = document->documentLayout()->blockBoundingRect(block).topLeft();
        const qreal x1 = origin.x() + line.cursorToX(inBlock);
        const qreal x2 = origin.x() + line.cursorToX(inBlock + 1);
        const QRectF lineRect = line.rect().translated(origin);
        if (point.x() >= qMin(x1, x2) && point.x() <= qMax(x1, x2)
            && point.y() >= lineRect.top() && point.y() <= lineRect.bottom())
            return format.toImageFormat().name();
    }
    return {};
}

bool ZTextBrowser::saveImage(const QString &name)
{
    if (name.isEmpty())
        return false;
    const QString source = localPathOf(name);
    QImage image;
    const QVariant resource = document()->resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.typeId() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.typeId() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.typeId() == QMetaType::QByteArray)
        image = QImage::fromData(resource.toByteArray());
    if (image.isNull() && !source.isEmpty())
        image.load(source);
    if (image.isNull())
        return false;

    // The suggested name comes from the message: a plain name in the
    // pictures folder or just the folder.
    QString dir = ZSafePath::childPath(ZDir::myPicturesPath(), suggestedName(name));
    if (dir.isEmpty())
        dir = ZDir::myPicturesPath();
    const QString target = ZFileDialog::getSaveFileName(
        this, tr("Save Image As..."), dir, tr("Images (*.png *.jpg *.jpeg *.bmp *.gif)"));
    if (target.isEmpty())
        return false;

    bool saved = false;
    const QString suffix = QFileInfo(target).suffix().toLower();
    QSaveFile file(target);
    if (!source.isEmpty() && QFileInfo(source).suffix().toLower() == suffix) {
        // Same format as the original: copy its bytes so nothing (animation,
        // quality) is lost by decoding and encoding again.
        QFile in(source);
        saved = in.open(QIODevice::ReadOnly) && file.open(QIODevice::WriteOnly)
                && file.write(in.readAll()) == in.size() && file.commit();
    } else if (file.open(QIODevice::WriteOnly)) {
        const bool known = QImageWriter::supportedImageFormats().contains(suffix.toLatin1());
        saved = image.save(&file, known ? suffix.toLatin1().constData() : "png") && file.commit();
    }
    if (!saved)
        ZMessageBox::information(this, tr("Save Image As..."), tr("The image could not be saved."));
    return saved;
}

std::unique_ptr<QMenu> ZTextBrowser::createContextMenu(const QPoint &pos)
{
    const QPoint documentPos = pos + QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    std::unique_ptr<QMenu> menu(createStandardContextMenu(documentPos));
    if (!m_saveableImages)
        return menu;
    const QString name = imageAt(pos);
    if (name.isEmpty())
        return menu;
    QAction *first = menu->actions().value(0);
    QAction *save = new QAction(tr("Save Image As..."), menu.get());
    connect(save, &QAction::triggered, this, [this, name] { saveImage(name); });
    menu->insertAction(first, save);
    menu->insertSeparator(first);
    return menu;
}

void ZTextBrowser::contextMenuEvent(QContextMenuEvent *event)
{
    std::unique_ptr<QMenu> menu = createContextMenu(event->pos());
    menu->exec(event->globalPos());
}

} // namespace zubrel
