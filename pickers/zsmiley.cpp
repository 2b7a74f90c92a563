#include "zsmiley.h"

#include "zavatar.h"
#include "zballoontip.h"
#include "zfaderwidget.h"
#include "zresourceicon.h"

#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>

namespace zubrel {

ZSmiley::ZSmiley(QWidget *parent)
    : QLabel(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAlignment(Qt::AlignCenter);
    setFixedSize(itemSize, itemSize);
    setContextMenuPolicy(Qt::CustomContextMenu);
    m_helpTimer.setSingleShot(true);
    m_helpTimer.setInterval(helpDelay);
    connect(&m_helpTimer, &QTimer::timeout, this, &ZSmiley::slotToolTip);
    connect(this, &QWidget::customContextMenuRequested, this, &ZSmiley::slotContextMenu);
}

void ZSmiley::setPicture(const QImage &image)
{
    if (image.isNull()) {
        clear();
        return;
    }
    QImage scaled = image;
    if (image.width() != pictureSize || image.height() != pictureSize)
        scaled = image.scaled(pictureSize, pictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    setPixmap(QPixmap::fromImage(scaled));
}

bool ZSmiley::event(QEvent *event)
{
    // The balloon replaces the plain tooltip; the tooltip text is only its body.
    if (event->type() == QEvent::ToolTip)
        return true;
    return QLabel::event(event);
}

void ZSmiley::enterEvent(QEnterEvent *event)
{
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_mouseInside = true;
    m_helpTimer.start();
    QLabel::enterEvent(event);
}

void ZSmiley::leaveEvent(QEvent *event)
{
    setFrameStyle(QFrame::NoFrame);
    m_mouseInside = false;
    m_helpTimer.stop();
    ZBalloonTip::hideBalloon();
    QLabel::leaveEvent(event);
}

void ZSmiley::hideEvent(QHideEvent *event)
{
    m_helpTimer.stop();
    ZBalloonTip::hideBalloon();
    QLabel::hideEvent(event);
}

void ZSmiley::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void ZSmiley::slotToolTip()
{
    if (!m_mouseInside)
        return;
    if (m_toolTipHeader.isEmpty()) {
        showPreview();
        return;
    }
    if (ZBalloonTip::isActive())
        return;
    const QPoint anchor = mapToGlobal(QPoint(width() / 2, height()));
    ZBalloonTip::showBalloon(anchor, m_toolTipHeader, toolTip(), balloonTime);
}

void ZSmiley::showPreview()
{
    if (m_preview)
        return;
    m_preview = new ZAvatar(m_res, this); // closes and deletes itself
    connect(m_preview.data(), &ZAvatar::clicked, this, &ZSmiley::clicked);
    QPoint pos = QCursor::pos() - QPoint(5, 5);
    const QScreen *screen = QGuiApplication::screenAt(pos);
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1 << 20, 1 << 20);
    const QSize size = m_preview->sizeHint().isValid() ? m_preview->sizeHint() : m_preview->size();
    if (area.width() < pos.x() + size.width())
        pos.rx() -= size.width() - width();
    if (area.height() < pos.y() + size.height())
        pos.ry() -= size.height() - height();
    m_preview->move(pos);
    auto *fader = new ZFaderWidget(m_preview); // child of the preview, deletes itself
    fader->fadeIn();
    m_preview->show();
}

void ZSmiley::slotContextMenu(const QPoint &pos)
{
    // Only the user's own pictures can be removed; theme items have no menu.
    if (m_res.startsWith(QLatin1String(":/")))
        return;
    QMenu menu(this);
    menu.addAction(tr("Remove Emoticon"), this, &ZSmiley::slotRemoveSmiley);
    menu.addSeparator();
    menu.addAction(ZResourceIcon::get(QStringLiteral(":/addsmiley-16")), tr("Add an Emoticon... (F9)"), this,
                   &ZSmiley::add);
    menu.exec(mapToGlobal(pos));
}

void ZSmiley::slotRemoveSmiley()
{
    const QString res = m_res;
    emit hid();
    if (res.isEmpty() || res.startsWith(QLatin1String(":/")))
        return;
    QFile::setPermissions(res, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser
                                   | QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther
                                   | QFile::WriteOther);
    QFile::remove(res);
}

} // namespace zubrel
