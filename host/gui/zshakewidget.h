#pragma once
// Shakes a top-level window left and right for a moment (the "attention"
// nudge of a chat) and then puts it back where it was. Lives as a child of
// the window, so it dies with it, and deletes itself when done.

#include <QObject>
#include <QPoint>
#include <QPointer>

#include <QTimer>
class QWidget;

namespace zubrel {

class ZShakeWidget : public QObject
{
    Q_OBJECT
public:
    static constexpr int steps = 16;

    explicit ZShakeWidget(QWidget *widget);

    void shakeWidget();
    bool isShaking() const { return m_step >= 0; }

signals:
    void done();

private:
    void step();
    void finish();

    QPointer<QWidget> m_window;
    QPointer<QTimer> m_timer;
    QPoint m_origin;
    int m_step = -1;
};

} // namespace zubrel
