#pragma once
// Counts the deferred work the application runs: one-shot deferrals
// (QTimer::singleShot, as the module defers user actions by 20 ms) and
// firings of other timers of 40 ms or less (a window's shake). Settling
// after a replay step waits until a whole quiet period passes without any,
// so a chain of deferrals that traces nothing until its last link still
// finishes before the next step, however slowly a busy machine runs it.
// Queued calls need no count: they run at the start of the next round.

#include <QObject>

namespace zubrel {

class ReplayDeferrals : public QObject
{
    Q_OBJECT
public:
    // Repeating timers count up to this interval; longer ones (polls,
    // blinking cursors, animations frame by frame) would keep a replay from
    // ever settling.
    static constexpr int shortTimerMs = 40;

    // Watches every event of the application's thread until destroyed.
    explicit ReplayDeferrals(QObject *parent = nullptr);
    ~ReplayDeferrals() override;

    quint64 count() const { return m_count; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static bool isDeferral(QObject *receiver, int timerId);

    quint64 m_count = 0;
};

} // namespace zubrel
