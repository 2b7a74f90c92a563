#include "zshakewidget.h"

#include "zhostevents.h"

#include <QTimer>
#include <QWidget>

namespace zubrel {

ZShakeWidget::ZShakeWidget(QWidget *widget)
    : QObject(widget)
    , m_window(widget ? widget->window() : nullptr)
{
    m_timer = new QTimer(this);
    m_timer->setInterval(25);
    connect(m_timer, &QTimer::timeout, this, &ZShakeWidget::step);
}

void ZShakeWidget::shakeWidget()
{
    if (isShaking())
        return;
    ZHostEvents::instance()->report(QStringLiteral("shake"),
                                    {{QStringLiteral("widget"),
                                      QVariant::fromValue<QObject *>(m_window.data())}});
    if (!m_window) {
        finish();
        return;
    }
    // One swing at a time: a second one would take the swung place for the
    // window's home and leave the window there.
    for (const ZShakeWidget *other : m_window->findChildren<ZShakeWidget *>()) {
        if (other != this && other->isShaking()) {
            finish();
            return;
        }
    }
    m_origin = m_window->pos();
    m_step = 0;
    m_timer->start();
}

void ZShakeWidget::step()
{
    if (!m_window || m_step >= steps) {
        finish();
        return;
    }
    // Decaying left-right swing around the original place.
    const int amplitude = 10 * (steps - m_step) / steps + 2;
    const int dx = (m_step % 2) ? -amplitude : amplitude;
    m_window->move(m_origin + QPoint(dx, 0));
    ++m_step;
}

void ZShakeWidget::finish()
{
    m_timer->stop();
    if (m_window && m_step >= 0)
        m_window->move(m_origin);
    m_step = -1;
    emit done();
    deleteLater();
}

} // namespace zubrel
