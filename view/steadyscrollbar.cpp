#include "steadyscrollbar.h"

#include <QStyleOptionSlider>

namespace zubrel {

void SteadyScrollBar::release()
{
    if (--m_held > 0 || !m_pending)
        return;
    m_pending = false;
    if (!m_painted || look() != *m_painted)
        update();
}

void SteadyScrollBar::sliderChange(SliderChange change)
{
    if (m_held > 0) {
        m_pending = true;
        return;
    }
    if (m_painted && look() == *m_painted)
        return;
    QScrollBar::sliderChange(change);
}

void SteadyScrollBar::paintEvent(QPaintEvent *event)
{
    m_painted = look();
    QScrollBar::paintEvent(event);
}

SteadyScrollBar::Look SteadyScrollBar::look() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    Look l;
    l.slider = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    l.groove = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, this);
    l.atMinimum = option.sliderValue <= option.minimum;
    l.atMaximum = option.sliderValue >= option.maximum;
    l.state = option.state;
    l.active = option.activeSubControls;
    return l;
}

} // namespace zubrel
