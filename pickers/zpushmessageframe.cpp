#include "zpushmessageframe.h"

#include "pickersections.h"
#include "zpushmessageclass.h"
#include "zpushmessagefiles.h"
#include "zratinglabel.h"
#include "zsmileytheme.h"
#include "zsmileythemecache.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QTimer>

namespace zubrel {

ZPushMessageFrame::ZPushMessageFrame(QWidget *parent)
    : QWidget(parent)
{
    m_header = new ZPushMessageClass(this);
    m_header->setText(tr("No Name"));
    m_grid = PickerSections::makeSection(this, m_header);
    m_container = m_grid->parentWidget();
    connect(m_header, &ZPushMessageClass::clicked, this, &ZPushMessageFrame::slotHidePushMessagesTimer);
}

QList<ZPushMessage *> ZPushMessageFrame::items() const
{
    return m_container->findChildren<ZPushMessage *>(Qt::FindDirectChildrenOnly);
}

void ZPushMessageFrame::setTheme(const QString &theme)
{
    m_theme = theme;
    if (theme == QLatin1String("favorites"))
        loadFavorites();
    else
        loadTheme();
}

void ZPushMessageFrame::connectItem(ZPushMessage *item)
{
    connect(item, &ZPushMessage::clicked, this, [this, item] {
        m_pending = item;
        slotPushMessageTimer();
    });
}

void ZPushMessageFrame::loadFavorites()
{
    m_header->setText(tr("My Push Messages"));
    const QStringList files = ZPushMessageFiles::scan(ZPushMessageFiles::folder());
    for (const QPointer<ZPushMessage> &item : std::as_const(m_favorites)) {
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
    int row = 0;
    for (const QString &path : files) {
        auto *item = new ZPushMessage(m_container);
        item->setRes(path);
        item->setPixmap(QStringLiteral(":/pushmessage-24"));
        const QString baseName = QFileInfo(path).fileName().section(u'.', 0, 0);
        item->setToolTip(baseName);
        item->ratingLabel()->setRating(ZPushMessageFiles::rating(baseName));
        item->setFixedSize(176, 40);
        connectItem(item);
        connect(item, &ZPushMessage::add, this, &ZPushMessageFrame::add);
        connect(item, &ZPushMessage::hid, this, &ZPushMessageFrame::hid);
        m_favorites.append(item);
        m_grid->addWidget(item, row++, 0);
    }
    if (files.isEmpty()) {
        m_spacer = new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum);
        m_grid->addItem(m_spacer, 0, 0);
    }
}

void ZPushMessageFrame::loadTheme()
{
    if (m_loaded)
        return;
    m_loaded = true;
    const ZSmileyTheme theme = ZSmileyThemeCache::theme(m_theme, ZSmileyTheme::Kind::PushMessages);
    if (!theme.isValid())
        return;
    m_header->setText(theme.title());
    int count = 0;
    for (const ZSmileyEntry &entry : theme.entries()) {
        auto *item = new ZPushMessage(m_container);
        item->setRes(entry.name);
        item->setToolTip(entry.shortcut);
        item->ratingLabel()->setReadOnly(true);
        item->setFixedSize(126, 26);
        connectItem(item);
        m_grid->addWidget(item, count / columns, count % columns);
        ++count;
    }
}

void ZPushMessageFrame::slotHidePushMessagesTimer()
{
    QTimer::singleShot(deferMs, this, &ZPushMessageFrame::slotHidePushMessages);
}

void ZPushMessageFrame::slotHidePushMessages()
{
    m_container->setVisible(m_container->isHidden());
}

void ZPushMessageFrame::slotPushMessageTimer()
{
    m_clicked = m_pending;
    QTimer::singleShot(deferMs, this, &ZPushMessageFrame::slotPushMessage);
}

void ZPushMessageFrame::slotPushMessage()
{
    if (m_clicked)
        emit clicked(m_clicked->res(), m_theme);
}

} // namespace zubrel
