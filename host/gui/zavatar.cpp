#include "zavatar.h"

#include "zskin.h"

#include <QApplication>
#include <QWindow>
#include <QMouseEvent>
#include <QPainter>

namespace zubrel {

ZAvatar::ZAvatar(const QPixmap &pixmap, QWidget *parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);
    setPicture(pixmap);
}

ZAvatar::ZAvatar(const QString &path, QWidget *parent)
    : ZAvatar(QPixmap(path), parent)
{
}

void ZAvatar::setPicture(const QPixmap &pixmap)
{
    m_pixmap = pixmap;
    if (m_pixmap.isNull())
        m_pixmap = ZSkin::picture(QStringLiteral(":/avatar/default"), QSize(96, 96));
    if (m_pixmap.isNull()) {
        m_pixmap = QPixmap(96, 96);
        m_pixmap.fill(QColor(0xe3, 0xe8, 0xee));
    }
    // Pictures from other users can be any size; keep the popup on screen.
    if (m_pixmap.width() > maxEdge || m_pixmap.height() > maxEdge)
        m_pixmap = m_pixmap.scaled(maxEdge, maxEdge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    setFixedSize(m_pixmap.deviceIndependentSize().toSize() + QSize(4, 4));
}

void ZAvatar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A tool-tip window never takes focus, so focus-out alone would leave it
    // open when shown away from the mouse: any click elsewhere closes it.
    qApp->installEventFilter(this);
}

bool ZAvatar::eventFilter(QObject *watched, QEvent *event)
{
    const bool elsewhere = event->type() == QEvent::MouseButtonPress && watched != this
                           && watched != windowHandle();
    if (elsewhere || event->type() == QEvent::ApplicationDeactivate)
        close();
    return QWidget::eventFilter(watched, event);
}

void ZAvatar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.drawPixmap(2, 2, m_pixmap);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ZAvatar::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit clicked();
    close();
}

void ZAvatar::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    close();
}

void ZAvatar::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    close();
}

} // namespace zubrel
