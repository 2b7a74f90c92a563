#include "zsmileyframe.h"

#include <QHash>

#include "pickersections.h"
#include "zsmiley.h"
#include "zsmileyclass.h"
#include "zsmileyfavorites.h"
#include "zsmileytheme.h"
#include "zsmileythemecache.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QGridLayout>
#include <QImage>
#include <QImageReader>
#include <QTimer>

namespace zubrel {

namespace {

QImage loadPicture(const QString &path, int edge)
{
    QImageReader reader(path);
    // Decoding straight to the item size is much cheaper for big pictures.
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > edge || size.height() > edge))
        reader.setScaledSize(size.scaled(edge, edge, Qt::KeepAspectRatio));
    return reader.read();
}

// Every chat tab has its own picker with every theme's pictures: decoded
// once per process and shared, they cost a tab nothing but its labels. A
// theme installed again over the same file is read again.
QPixmap sharedPicture(const QString &path)
{
    static QHash<QString, QPixmap> pictures;
    // On a screen with two device pixels to the point the theme's @2x
    // picture is shown, at the same size.
    QString file = path;
    int scale = 1;
    if (qApp->devicePixelRatio() > 1.0) {
        const QString sharp = ZSmileyTheme::sharpPicturePath(path);
        if (!sharp.isEmpty()) {
            file = sharp;
            scale = 2;
        }
    }
    const QString key = file + u'|' + QString::number(QFileInfo(file).lastModified().toMSecsSinceEpoch());
    if (const auto found = pictures.constFind(key); found != pictures.constEnd())
        return *found;
    const int edge = ZSmiley::pictureSize * scale;
    QImage image = loadPicture(file, edge);
    if (!image.isNull() && (image.width() != edge || image.height() != edge))
        image = image.scaled(edge, edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = image.isNull() ? QPixmap() : QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(scale);
    pictures.insert(key, pixmap);
    return pixmap;
}

} // namespace

ZSmileyFrame::ZSmileyFrame(QWidget *parent)
    : QWidget(parent)
{
    m_header = new ZSmileyClass(this);
    m_header->setText(tr("No Name"));
    m_grid = PickerSections::makeSection(this, m_header);
    m_container = m_grid->parentWidget();
    connect(m_header, &ZSmileyClass::clicked, this, &ZSmileyFrame::slotHideSmileysTimer);
}

QList<ZSmiley *> ZSmileyFrame::items() const
{
    return m_container->findChildren<ZSmiley *>(Qt::FindDirectChildrenOnly);
}

void ZSmileyFrame::setTheme(const QString &theme)
{
    m_theme = theme;
    if (theme == QLatin1String("default")) {
        m_shortcuts.clear();
        m_sounds.clear();
    }
    if (theme == QLatin1String("favorites"))
        loadFavorites();
    else
        loadTheme();
}

ZSmiley *ZSmileyFrame::placeItem(ZSmiley *item)
{
    m_grid->addWidget(item, m_count / columns, m_count % columns);
    ++m_count;
    return item;
}

void ZSmileyFrame::loadFavorites()
{
    m_header->setText(tr("My Emoticons"));
    const QStringList files = ZSmileyFavorites::scan(ZSmileyFavorites::folder());
    for (const QPointer<ZSmiley> &item : std::as_const(m_favorites)) {
        if (item) {
            m_grid->removeWidget(item);
            delete item.data();
        }
    }
    m_favorites.clear();
    if (m_spacer) {
        m_grid->removeItem(m_spacer);
        delete m_spacer;
        m_spacer = nullptr;
    }
    m_count = 0;
    for (const QString &path : files) {
        QFile file(path);
        // The file may have gone since the scan; a vanished one is skipped.
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QImage image = QImage::fromData(file.readAll());
        if (image.isNull())
            continue;
        auto *item = new ZSmiley(m_container);
        item->setRes(path);
        item->setPicture(image);
        connect(item, &ZSmiley::add, this, &ZSmileyFrame::add);
        connect(item, &ZSmiley::clicked, this, [this, item] {
            m_pending = item;
            slotSmileyTimer();
        });
        connect(item, &ZSmiley::hid, this, &ZSmileyFrame::hid);
        m_favorites.append(item);
        placeItem(item);
    }
    if (m_count < columns) {
        m_spacer = new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum);
        m_grid->addItem(m_spacer, 0, m_count);
    }
}

void ZSmileyFrame::loadTheme()
{
    if (m_loaded)
        return;
    m_loaded = true;
    const ZSmileyTheme theme = ZSmileyThemeCache::theme(m_theme);
    if (!theme.isValid())
        return;
    m_header->setText(theme.title());
    m_shortcuts = theme.shortcutMap();
    m_sounds = theme.soundMap();
    for (const ZSmileyEntry &entry : theme.entries()) {
        auto *item = new ZSmiley(m_container);
        item->setRes(entry.name);
        item->setToolTipHeader(entry.tr);
        item->setToolTip(entry.shortcut);
        const QPixmap picture = sharedPicture(entry.name);
        if (picture.isNull())
            item->clear();
        else
            item->setPicture(picture);
        connect(item, &ZSmiley::clicked, this, [this, item] {
            m_pending = item;
            slotSmileyTimer();
        });
        placeItem(item);
    }
}

void ZSmileyFrame::slotHideSmileysTimer()
{
    QTimer::singleShot(deferMs, this, &ZSmileyFrame::slotHideSmileys);
}

void ZSmileyFrame::slotHideSmileys()
{
    m_container->setVisible(m_container->isHidden());
}

void ZSmileyFrame::slotSmileyTimer()
{
    m_clicked = m_pending;
    QTimer::singleShot(deferMs, this, &ZSmileyFrame::slotSmiley);
}

void ZSmileyFrame::slotSmiley()
{
    if (m_clicked)
        emit clicked(m_clicked->res(), m_theme);
}

} // namespace zubrel
