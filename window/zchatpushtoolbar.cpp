#include "zchatpushtoolbar.h"

#include "zdir.h"
#include "zpushmessagefiles.h"
#include "zsound.h"
#include "zresourceicon.h"

#include <QAction>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QTimerEvent>

namespace zubrel {

namespace {

QWidget *spacer(QWidget *parent)
{
    auto *gap = new QWidget(parent);
    gap->setFixedWidth(5);
    return gap;
}

} // namespace

ZChatPushToolBar::ZChatPushToolBar(QWidget *parent)
    : QToolBar(parent)
{
    setObjectName(QStringLiteral("pushToolBar"));
    setWindowTitle(tr("zubrel push message toolbar"));
    setIconSize(QSize(22, 22));
    setMovable(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    for (int i = 0; i < 8; ++i)
        m_levels.append(QPixmap(QStringLiteral(":/streamlevel%1").arg(i)));

    addWidget(spacer(this));
    m_level = new QLabel(this);
    m_level->setObjectName(QStringLiteral("pushLevel"));
    m_level->setPixmap(m_levels.first());
    m_levelAction = addWidget(m_level);
    m_unavailable = new QLabel(tr("Recording is not available on this computer."), this);
    m_unavailable->setObjectName(QStringLiteral("pushUnavailable"));
    m_unavailableAction = addWidget(m_unavailable);
    addWidget(spacer(this));
    m_progress = new QProgressBar(this);
    m_progress->setTextVisible(false);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    QPalette pal = m_progress->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        pal.setColor(group, QPalette::Highlight, QColor(QStringLiteral("#86b58b")));
    m_progress->setPalette(pal);
    addWidget(m_progress);
    addWidget(spacer(this));
    m_stop = addAction(ZResourceIcon::get(QStringLiteral(":/play_stop-16")), tr("Stop recording"));
    m_abort = addAction(tr("ESC to abort"));
    connect(m_stop, &QAction::triggered, this, &ZChatPushToolBar::slotEmitStopTimer);
    connect(m_abort, &QAction::triggered, this, &ZChatPushToolBar::slotEmitCloseTimer);

    ZSound *sound = ZSound::instance();
    if (sound->isAvailable())
        connect(sound, &ZSound::pegelChanged, this, &ZChatPushToolBar::slotPegel);
    showAvailability();
    hide();
}

void ZChatPushToolBar::showAvailability()
{
    // Say so at once rather than let the user talk into nothing.
    const bool canRecord = ZSound::instance()->canRecord();
    m_levelAction->setVisible(canRecord);
    m_unavailableAction->setVisible(!canRecord);
}

int ZChatPushToolBar::progress() const
{
    return m_progress->value();
}

void ZChatPushToolBar::startRecording()
{
    showAvailability();
    ZSound *sound = ZSound::instance();
    m_recording = false;
    if (sound->isAvailable()) {
        sound->setDevice(0);
        sound->setChannels(1);
        sound->setSampleRate(8000);
        sound->setRecordTime(10000);
        sound->setBits(8);
        sound->record();
        m_recording = true;
    }
    m_levelIndex = 0;
    m_level->setPixmap(m_levels.first());
    m_timer.start(tickMs, this);
    m_progress->setValue(0);
}

void ZChatPushToolBar::stopTimer()
{
    m_timer.stop();
}

void ZChatPushToolBar::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId()) {
        QToolBar::timerEvent(event);
        return;
    }
    slotRecord();
}

void ZChatPushToolBar::slotRecord()
{
    if (m_progress->value() >= 100) {
        m_timer.stop();
        save();
        emit hid();
        return;
    }
    m_progress->setValue(m_progress->value() + stepPerTick);
}

void ZChatPushToolBar::slotEmitStopTimer()
{
    QTimer::singleShot(deferMs, this, &ZChatPushToolBar::slotEmitStop);
}

void ZChatPushToolBar::slotEmitStop()
{
    // A second stop (a double click) must not send the clip twice.
    if (!m_timer.isActive())
        return;
    m_timer.stop();
    save();
    emit hid();
}

void ZChatPushToolBar::slotEmitCloseTimer()
{
    QTimer::singleShot(deferMs, this, &ZChatPushToolBar::slotEmitClose);
}

void ZChatPushToolBar::slotEmitClose()
{
    cancel();
    emit hid();
}

void ZChatPushToolBar::cancel()
{
    m_timer.stop();
    // An aborted recording must not keep the microphone open.
    if (m_recording && ZSound::instance()->isRecording())
        ZSound::instance()->stop();
    m_recording = false;
}

void ZChatPushToolBar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        slotEmitClose();
        return;
    }
    QToolBar::keyPressEvent(event);
}

void ZChatPushToolBar::save()
{
    ZSound *sound = ZSound::instance();
    const QString fileName = ZPushMessageFiles::nextRecordingPath(ZDir::pushMessagesTempPath(true));
    bool saved = false;
    if (sound->isAvailable() && m_recording) {
        sound->stop();
        saved = sound->createFile(fileName);
    }
    m_recording = false;
    // Sending a name without a file would show the user a clip that never
    // reached the partner.
    if (!saved || !QFileInfo(fileName).isFile()) {
        emit recordingFailed(sound->canRecord() ? tr("Nothing could be recorded, so no push message was sent.")
                                                : tr("Recording is not available on this computer."));
        return;
    }
    emit sendPushMessage(fileName);
}

void ZChatPushToolBar::slotPegel(int pegel)
{
    // The loudest input shows the top picture.
    int index = -1;
    if (pegel >= 0 && pegel <= 1)
        index = 0;
    else if (pegel <= 16 && pegel >= 2)
        index = 1;
    else if (pegel <= 33 && pegel >= 17)
        index = 2;
    else if (pegel <= 49 && pegel >= 34)
        index = 3;
    else if (pegel <= 66 && pegel >= 50)
        index = 4;
    else if (pegel <= 83 && pegel >= 67)
        index = 5;
    else if (pegel <= 98 && pegel >= 84)
        index = 6;
    else if (pegel >= 99)
        index = 7;
    if (index < 0)
        return;
    m_levelIndex = index;
    m_level->setPixmap(m_levels.at(index));
}

} // namespace zubrel
