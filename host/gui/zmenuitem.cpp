#include "zmenuitem.h"
#include "zresourceicon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace zubrel {

ZMenuItem::ZMenuItem(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 8, 2);
    layout->setSpacing(6);
    m_iconLabel = new QLabel(this);
    m_iconLabel->setFixedSize(16, 16);
    m_textLabel = new QLabel(this);
    m_textLabel->setTextFormat(Qt::PlainText);
    layout->addWidget(m_iconLabel);
    layout->addWidget(m_textLabel, 1);
}

ZMenuItem::ZMenuItem(const QIcon &icon, const QString &text, QWidget *parent)
    : ZMenuItem(parent)
{
    setIcon(icon);
    setText(text);
}

void ZMenuItem::setIcon(const QIcon &icon)
{
    m_icon = icon;
    if (m_iconLabel)
        m_iconLabel->setPixmap(icon.pixmap(16, 16));
}

void ZMenuItem::setIcon(const QString &resource)
{
    setIcon(ZResourceIcon::get(resource));
}

void ZMenuItem::setText(const QString &text)
{
    if (m_textLabel)
        m_textLabel->setText(text);
}

QString ZMenuItem::text() const
{
    return m_textLabel ? m_textLabel->text() : QString();
}

void ZMenuItem::enterEvent(QEnterEvent *event)
{
    m_hovered = true;
    update();
    QWidget::enterEvent(event);
}

void ZMenuItem::leaveEvent(QEvent *event)
{
    m_hovered = false;
    update();
    QWidget::leaveEvent(event);
}

void ZMenuItem::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QWidget::mouseReleaseEvent(event);
}

void ZMenuItem::paintEvent(QPaintEvent *)
{
    if (!m_hovered || !isEnabled())
        return;
    QPainter painter(this);
    QColor highlight = palette().color(QPalette::Highlight);
    highlight.setAlpha(60);
    painter.fillRect(rect(), highlight);
}

} // namespace zubrel
