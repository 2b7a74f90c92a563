#pragma once
// The tool bar that records a push message: the input level, the elapsed
// part of the allowed time, "Stop recording" (save and send) and "ESC to
// abort" (nothing is sent). The chat tab slides it in over its input and
// calls startRecording(); the recording itself is the host sound service's.
#include <QBasicTimer>
#include <QList>
#include <QPixmap>
#include <QToolBar>

class QAction;
class QLabel;
class QProgressBar;

namespace zubrel {

class ZChatPushToolBar : public QToolBar
{
    Q_OBJECT

public:
    static constexpr int tickMs = 500;
    static constexpr int stepPerTick = 4;
    static constexpr int deferMs = 20;

    explicit ZChatPushToolBar(QWidget *parent = nullptr);

    void startRecording();
    // Stops the tick timer without saving (the tab's fade-out finished).
    void stopTimer();
    // Ends a recording without saving or signalling (the tab closed the
    // bar another way than "Stop recording").
    void cancel();
    bool isRunning() const { return m_timer.isActive(); }
    int progress() const;
    QLabel *levelLabel() const { return m_level; }
    // The level picture shown now, 0..7.
    int levelIndex() const { return m_levelIndex; }
    QAction *stopAction() const { return m_stop; }
    QAction *abortAction() const { return m_abort; }
    // The note shown instead of the level when nothing can be recorded.
    QLabel *unavailableLabel() const { return m_unavailable; }

signals:
    void hid();
    void sendPushMessage(const QString &fileName);
    // Stopping produced no clip; the text says why.
    void recordingFailed(const QString &reason);

public slots:
    void slotEmitStopTimer();
    void slotEmitStop();
    void slotEmitCloseTimer();
    void slotEmitClose();
    void slotRecord();
    void slotPegel(int pegel);

protected:
    void timerEvent(QTimerEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void save();
    void showAvailability();

    QList<QPixmap> m_levels;
    QLabel *m_level = nullptr;
    QLabel *m_unavailable = nullptr;
    QAction *m_levelAction = nullptr;
    QAction *m_unavailableAction = nullptr;
    QProgressBar *m_progress = nullptr;
    QAction *m_stop = nullptr;
    QAction *m_abort = nullptr;
    QBasicTimer m_timer;
    int m_levelIndex = 0;
    bool m_recording = false; // this bar started the running capture
};

} // namespace zubrel
