#include "zsmileyviewoverlay.h"

#include "texttohtml.h"
#include "zmessageview.h"
#include "zsmileyoverlay.h"

#include <QEvent>
#include <QLabel>
#include <QMovie>
#include <QTimer>

namespace zubrel {

namespace {
// A movie that nobody sees still decodes and repaints every frame: with a
// long conversation full of emoticons that is most of the tab's CPU time.
void setPlaying(QLabel *label, bool playing)
{
    QMovie *movie = label ? label->findChild<QMovie *>() : nullptr;
    if (!movie)
        return;
    if (playing && movie->state() == QMovie::Paused)
        movie->setPaused(false);
    else if (!playing && movie->state() == QMovie::Running)
        movie->setPaused(true);
}
} // namespace

ZSmileyViewOverlay::ZSmileyViewOverlay(ZMessageView *view)
    : QObject(view)
    , m_view(view)
{
    // A hidden tab or a minimised window shows no emoticon.
    view->installEventFilter(this);
    connect(view, &ZMessageView::viewportLayoutChanged, this, &ZSmileyViewOverlay::slotMoveWidgets);
    // Older history above: labels follow their entries' new numbers, and the
    // new entries get theirs.
    connect(view, &ZMessageView::entriesPrepended, this, [this](int count) {
        for (Placed &placed : m_placed)
            placed.entry += count;
        for (int index = 0; index < count; ++index)
            addEntry(index, QString());
    });
}

ZMessageView *ZSmileyViewOverlay::view() const
{
    return static_cast<ZMessageView *>(m_view.data());
}

void ZSmileyViewOverlay::addEntry(int index, const QString &entryHtml)
{
    ZMessageView *target = view();
    if (!target || index < 0)
        return;
    // Picture numbers count in the body only, not in the template around it.
    const QString body = target->entryBodyHtml(index);
    const QStringList sources = TextToHtml::imageSources(body.isEmpty() ? entryHtml : body, true);
    for (int ordinal = 0; ordinal < sources.size(); ++ordinal) {
        const QString &path = sources.at(ordinal);
        if (!ZSmileyOverlay::isAnimated(path))
            continue;
        QLabel *label = ZSmileyOverlay::createMovieLabel(target->viewport(), path);
        setPlaying(label, false); // until placed in sight
        m_placed.append({index, ordinal, label});
    }
    QTimer::singleShot(placeDelay, this, &ZSmileyViewOverlay::slotMoveWidgets);
}

void ZSmileyViewOverlay::clear()
{
    for (const Placed &placed : std::as_const(m_placed))
        delete placed.label.data();
    m_placed.clear();
}

QList<QLabel *> ZSmileyViewOverlay::widgets() const
{
    QList<QLabel *> list;
    for (const Placed &placed : m_placed)
        list.append(placed.label.data());
    return list;
}

void ZSmileyViewOverlay::slotMoveWidgets()
{
    ZMessageView *target = view();
    if (!target)
        return;
    const QRect visible = target->viewport()->rect();
    const bool shown = target->isVisible();
    for (const Placed &placed : std::as_const(m_placed)) {
        if (!placed.label)
            continue;
        const QRect rect = target->entryImageRect(placed.entry, placed.ordinal);
        // Pictures scrolled away (or gone with plain mode) hide their label.
        if (rect.isNull() || !rect.intersects(visible)) {
            placed.label->hide();
            setPlaying(placed.label, false);
            continue;
        }
        placed.label->move(rect.topLeft());
        placed.label->show();
        setPlaying(placed.label, shown);
    }
}

bool ZSmileyViewOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Hide) {
        for (const Placed &placed : std::as_const(m_placed))
            setPlaying(placed.label, false);
    } else if (watched == m_view && event->type() == QEvent::Show) {
        slotMoveWidgets();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zubrel
