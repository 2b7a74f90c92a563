#include "zfaderwidget.h"

#include <QPainter>
#include <QTimer>

namespace zubrel {

namespace {
constexpr int stepMs = 20;
}

ZFaderWidget::ZFaderWidget(QWidget *widget)
    : QWidget(widget)
    , m_widget(widget)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer = new QTimer(this);
    m_timer->setInterval(stepMs);
    connect(m_timer, &QTimer::timeout, this, &ZFaderWidget::step);
    if (widget) {
        m_color = widget->palette().color(widget->backgroundRole());
        resize(widget->size());
    }
    hide();
}

void ZFaderWidget::fadeIn()
{
    start(false);
}

void ZFaderWidget::fadeOut()
{
    start(true);
}

void ZFaderWidget::start(bool out)
{
    // Without a widget there is nothing to cover; finish at once so the
    // caller's done() handling still runs and nothing is left behind.
    m_out = out;
    m_elapsed = 0;
    m_running = true;
    if (!m_widget) {
        step();
        return;
    }
    resize(m_widget->size());
    raise();
    show();
    m_timer->start();
    update();
}

void ZFaderWidget::step()
{
    m_elapsed += stepMs;
    if (m_widget && m_elapsed < m_duration) {
        update();
        return;
    }
    if (!m_running)
        return;
    m_running = false;
    m_timer->stop();
    hide();
    emit done(m_out);
    deleteLater();
}

void ZFaderWidget::paintEvent(QPaintEvent *)
{
    const qreal progress = qBound(0.0, qreal(m_elapsed) / m_duration, 1.0);
    // Fading in uncovers the widget, fading out covers it.
    const qreal alpha = m_out ? progress : 1.0 - progress;
    QColor color = m_color;
    color.setAlphaF(alpha);
    QPainter painter(this);
    painter.fillRect(rect(), color);
}

} // namespace zubrel
