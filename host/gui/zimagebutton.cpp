#include "zimagebutton.h"

#include <QEnterEvent>
#include <QPainter>

namespace zubrel {

ZImageButton::ZImageButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

ZImageButton::ZImageButton(const QPixmap &pixmap, QWidget *parent)
    : ZImageButton(parent)
{
    setPixmap(pixmap);
}

void ZImageButton::setPixmap(const QPixmap &pixmap)
{
    m_pixmap = pixmap;
    updateGeometry();
    update();
}

void ZImageButton::setHoverPixmap(const QPixmap &pixmap)
{
    m_hoverPixmap = pixmap;
    update();
}

QSize ZImageButton::sizeHint() const
{
    if (!m_pixmap.isNull())
        return m_pixmap.deviceIndependentSize().toSize();
    return icon().isNull() ? QSize(16, 16) : iconSize();
}

QPixmap ZImageButton::currentPixmap() const
{
    QPixmap base = m_pixmap.isNull() && !icon().isNull()
                       ? icon().pixmap(iconSize(), isEnabled() ? QIcon::Normal : QIcon::Disabled)
                       : m_pixmap;
    if (m_hovered && isEnabled() && !m_hoverPixmap.isNull())
        return m_hoverPixmap;
    return base;
}

void ZImageButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap pixmap = currentPixmap();
    if (!pixmap.isNull()) {
        QSize size = pixmap.deviceIndependentSize().toSize().scaled(this->size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), size);
        target.moveCenter(rect().center());
        if (isDown())
            target.translate(1, 1);
        if (!isEnabled())
            painter.setOpacity(0.4);
        painter.drawPixmap(target, pixmap);
        if (m_hovered && isEnabled() && m_hoverPixmap.isNull()) {
            // Lighten only where the picture is, not its transparent corners.
            painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
            painter.fillRect(target, QColor(255, 255, 255, 60));
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
    }
    if (isChecked()) {
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void ZImageButton::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void ZImageButton::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace zubrel
