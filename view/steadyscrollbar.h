#pragma once
// A scroll bar that repaints only when it would look different. Every append
// to the message view moves the maximum, but in a long conversation the
// slider stays on the same pixels; painting the styled bar (and the frame
// behind it) anyway cost a third of an append.

#include <QScrollBar>
#include <QStyle>

#include <optional>

namespace zubrel {

class SteadyScrollBar final : public QScrollBar
{
public:
    using QScrollBar::QScrollBar;

    // An append first grows the range (the slider leaves the bottom for a
    // moment) and then follows the bottom again; held, the bar judges only
    // the final state.
    void hold() { ++m_held; }
    void release();

    // Past about half a million the style places the slider in floating
    // point, and at the end of the range it lands a pixel short or not as the
    // range grows: a long conversation's slider shivered, and was painted
    // again, on one append in eight. The same proportions in a range small
    // enough for the style's exact arithmetic place it steadily.
    void initStyleOption(QStyleOptionSlider *option) const override;

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // What a style draws from the slider state: the slider's and groove's
    // rectangles and whether either end is reached (arrows may grey out),
    // besides the widget state; not the exact value or range.
    struct Look
    {
        QRect slider;
        QRect groove;
        bool atMinimum = false;
        bool atMaximum = false;
        QStyle::State state;
        QStyle::SubControls active;
        bool operator==(const Look &) const = default;
    };

    Look look() const;

    std::optional<Look> m_painted;
    int m_held = 0;
    bool m_pending = false;
};

} // namespace zubrel
