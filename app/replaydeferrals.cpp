#include "replaydeferrals.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QTimerEvent>

namespace zubrel {

ReplayDeferrals::ReplayDeferrals(QObject *parent)
    : QObject(parent)
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->installEventFilter(this);
}

ReplayDeferrals::~ReplayDeferrals()
{
    if (QCoreApplication *app = QCoreApplication::instance())
        app->removeEventFilter(this);
}

bool ReplayDeferrals::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Timer && isDeferral(watched, static_cast<QTimerEvent *>(event)->timerId()))
        ++m_count;
    return QObject::eventFilter(watched, event);
}

bool ReplayDeferrals::isDeferral(QObject *receiver, int timerId)
{
    // QTimer::singleShot's own timer object fires once and deletes itself.
    if (qstrcmp(receiver->metaObject()->className(), "QSingleShotTimer") == 0)
        return true;
    // The timer is still registered while its event is delivered.
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance(receiver->thread());
    if (!dispatcher)
        return false;
    for (const QAbstractEventDispatcher::TimerInfo &timer : dispatcher->registeredTimers(receiver)) {
        if (timer.timerId == timerId)
            return timer.interval <= shortTimerMs;
    }
    return false;
}

} // namespace zubrel
