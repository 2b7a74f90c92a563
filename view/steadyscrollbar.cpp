#include "steadyscrollbar.h"

#include <QStyleOptionSlider>

#include <climits>

namespace zubrel {

void SteadyScrollBar::release()
{
    if (--m_held > 0 || !m_pending)
        return;
    m_pending = false;
    if (!m_painted || look() != *m_painted)
        update();
}

void SteadyScrollBar::initStyleOption(QStyleOptionSlider *option) const
{
    QScrollBar::initStyleOption(option);
    constexpr qint64 exact = INT_MAX / 4096;
    const qint64 minimum = option->minimum;
    const qint64 range = qint64(option->maximum) - minimum;
    if (range <= exact)
        return;
    const qint64 factor = range / exact + 1;
    const auto scaled = [&](int value) { return int((value - minimum) / factor); };
    option->minimum = 0;
    option->maximum = scaled(option->maximum);
    option->sliderPosition = scaled(option->sliderPosition);
    option->sliderValue = scaled(option->sliderValue);
    option->pageStep = qMax(1, int(option->pageStep / factor));
    option->singleStep = qMax(1, int(option->singleStep / factor));
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
