#include "zratinglabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace zubrel {

namespace {

QPainterPath starPath(const QRectF &box)
{
    QPainterPath path;
    const QPointF c = box.center();
    const qreal outer = qMin(box.width(), box.height()) / 2.0;
    const qreal inner = outer * 0.45;
    for (int i = 0; i < 10; ++i) {
        const qreal r = (i % 2) ? inner : outer;
        const qreal angle = -M_PI / 2 + i * M_PI / 5;
        const QPointF p(c.x() + r * qCos(angle), c.y() + r * qSin(angle));
        i ? path.lineTo(p) : path.moveTo(p);
    }
    path.closeSubpath();
    return path;
}

} // namespace

ZRatingLabel::ZRatingLabel(QWidget *parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ZRatingLabel::setRating(int rating)
{
    rating = qBound(0, rating, maxRating);
    if (rating == m_rating)
        return;
    m_rating = rating;
    update();
    emit ratingChanged(m_rating);
}

int ZRatingLabel::starAt(const QPoint &pos) const
{
    if (width() <= 0 || pos.x() < 0)
        return 0;
    return qBound(1, pos.x() * maxRating / width() + 1, maxRating);
}

QSize ZRatingLabel::sizeHint() const
{
    return QSize(maxRating * 12, 12);
}

void ZRatingLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = qreal(width()) / maxRating;
    for (int i = 0; i < maxRating; ++i) {
        const QRectF box(i * w + 0.5, 0.5, w - 1, height() - 1);
        const bool lit = i < m_rating;
        painter.setPen(QPen(lit ? QColor(0xc8, 0x8a, 0x00) : QColor(0xa0, 0xa0, 0xa0), 1));
        painter.setBrush(lit ? QColor(0xff, 0xc4, 0x1f) : QColor(0xe8, 0xe8, 0xe8));
        painter.drawPath(starPath(box));
    }
}

void ZRatingLabel::mousePressEvent(QMouseEvent *event)
{
    if (m_readOnly || event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int star = starAt(event->position().toPoint());
    setRating(star == m_rating && star == 1 ? 0 : star);
    event->accept();
}

} // namespace zubrel
