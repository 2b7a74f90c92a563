#pragma once
// Fades a widget in or out by laying a sheet of the widget's background
// colour over it and changing the sheet's opacity. The fader is a child of
// the widget, so it dies with it; after the fade it deletes itself.

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <QTimer>

namespace zubrel {

class ZFaderWidget : public QWidget
{
    Q_OBJECT
public:
    explicit ZFaderWidget(QWidget *widget);

    // Duration of the next fade, in milliseconds.
    void setDuration(int ms) { m_duration = qMax(ms, 1); }
    int duration() const { return m_duration; }

    void fadeIn();
    void fadeOut();

signals:
    // Emitted once at the end: fadedOut is true after fadeOut(), false after
    // fadeIn(). Emitted before the fader deletes itself.
    void done(bool fadedOut);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void start(bool out);
    void step();

    QPointer<QWidget> m_widget;
    QPointer<QTimer> m_timer;
    QColor m_color;
    int m_duration = 250;
    int m_elapsed = 0;
    bool m_out = false;
    bool m_running = false;
};

} // namespace zubrel
