#pragma once
// A small frameless bubble with a title and a text, shown next to a widget
// or at a point, that goes away by itself after a while or when clicked.
// Only one is shown at a time; showing another replaces it.

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace zubrel {

class ZBalloonTip : public QWidget
{
    Q_OBJECT
public:
    // Below the anchor's centre. msecs <= 0 keeps it until hidden. The
    // balloon goes with the anchor when the anchor is destroyed.
    static void showBalloon(QWidget *anchor, const QString &title, const QString &text,
                            int msecs = 10000);
    // At a global screen position.
    static void showBalloon(const QPoint &globalPos, const QString &title, const QString &text,
                            int msecs = 10000);
    static void hideBalloon();
    static bool isActive();
    // The balloon on show, for tests and for styling; nullptr when none.
    static ZBalloonTip *current();

    QString title() const;
    QString text() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    ZBalloonTip(QWidget *anchor, const QString &title, const QString &text);
    static void present(ZBalloonTip *balloon, const QPoint &globalPos, int msecs);

    QPointer<QWidget> m_anchor;
    QLabel *m_title = nullptr;
    QLabel *m_text = nullptr;
    QTimer m_timer;
};

} // namespace zubrel
