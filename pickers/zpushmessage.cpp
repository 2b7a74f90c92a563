#include "zpushmessage.h"

#include "zinputdialog.h"
#include "zpushmessagefiles.h"
#include "zratinglabel.h"
#include "zsound.h"
#include "zresourceicon.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace zubrel {

ZPushMessage::ZPushMessage(QWidget *parent)
    : QFrame(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setContextMenuPolicy(Qt::CustomContextMenu);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    m_picture = new QLabel(this);
    m_picture->setFixedSize(pictureSize, pictureSize);
    m_picture->setAlignment(Qt::AlignCenter);
    row->addWidget(m_picture);
    auto *column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_name = new QLabel(this);
    m_length = new QLabel(this);
    auto *ratingRow = new QHBoxLayout;
    ratingRow->setContentsMargins(0, 0, 0, 0);
    ratingRow->setSpacing(0);
    ratingRow->addWidget(new QLabel(tr("Rating:") + QLatin1Char(' '), this));
    m_rating = new ZRatingLabel(this);
    m_rating->setFixedSize(56, 12);
    ratingRow->addWidget(m_rating);
    ratingRow->addItem(new QSpacerItem(1, 1, QSizePolicy::Expanding, QSizePolicy::Minimum));
    column->addWidget(m_name);
    column->addWidget(m_length);
    column->addLayout(ratingRow);
    row->addLayout(column);
    connect(this, &QWidget::customContextMenuRequested, this, &ZPushMessage::slotContextMenu);
    connect(m_rating, &ZRatingLabel::ratingChanged, this, &ZPushMessage::slotRatingChanged);
}

void ZPushMessage::setRes(const QString &res)
{
    m_res = res;
    m_name->setText(QFileInfo(res).fileName().section(u'.', 0, 0));
    m_length->setText(tr("Length:") + QLatin1Char(' ') + ZPushMessageFiles::lengthText(res));
}

void ZPushMessage::setPixmap(const QString &pixmap)
{
    m_pixmap = pixmap;
    m_picture->setPixmap(QPixmap(pixmap));
}

QString ZPushMessage::lengthText() const
{
    return m_length->text();
}

QString ZPushMessage::nameText() const
{
    return m_name->text();
}

void ZPushMessage::enterEvent(QEnterEvent *event)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFrame::enterEvent(event);
}

void ZPushMessage::leaveEvent(QEvent *event)
{
    setFrameStyle(QFrame::NoFrame);
    QFrame::leaveEvent(event);
}

void ZPushMessage::mouseReleaseEvent(QMouseEvent *event)
{
    // The stars take their own clicks; a click elsewhere chooses the item.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())
        && !m_rating->geometry().contains(event->position().toPoint()))
        emit clicked();
    QFrame::mouseReleaseEvent(event);
}

void ZPushMessage::slotContextMenu(const QPoint &pos)
{
    if (!isFavorite())
        return;
    QMenu menu(this);
    menu.addAction(ZResourceIcon::get(QStringLiteral(":/play-16")), tr("Play Push Message"), this,
                   &ZPushMessage::slotPlayPushMessage);
    menu.addAction(tr("Rename Push Message"), this, &ZPushMessage::slotRenamePushMessage);
    menu.addAction(tr("Remove Push Message"), this, &ZPushMessage::slotRemovePushMessage);
    menu.addSeparator();
    menu.addAction(ZResourceIcon::get(QStringLiteral(":/record_message-16")), tr("Record Push Message... (F2)"), this,
                   &ZPushMessage::add);
    menu.exec(mapToGlobal(pos));
}

void ZPushMessage::slotPlayPushMessage()
{
    if (isFavorite())
        ZSound::instance()->play(m_res);
}

void ZPushMessage::slotRatingChanged(int rating)
{
    ZPushMessageFiles::setRating(QFileInfo(m_res).fileName().section(u'.', 0, 0), rating);
}

void ZPushMessage::slotRemovePushMessage()
{
    const QString res = m_res;
    emit hid();
    if (!res.startsWith(QLatin1String(":/")))
        ZPushMessageFiles::remove(res);
}

void ZPushMessage::slotRenamePushMessage()
{
    const QString res = m_res;
    bool ok = false;
    const QString name = ZInputDialog::getText(this, tr("Rename push message"),
                                               tr("Please enter a new name for this push message:"),
                                               QLineEdit::Normal, QFileInfo(res).fileName().section(u'.', 0, 0), &ok);
    if (!ok || name.isEmpty() || res.startsWith(QLatin1String(":/")))
        return;
    emit hid();
    ZPushMessageFiles::rename(res, name);
}

} // namespace zubrel
