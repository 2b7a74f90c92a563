#include "zsmileyviewoverlay.h"

#include "texttohtml.h"
#include "zmessageview.h"
#include "zsmileyoverlay.h"

#include <QLabel>
#include <QMovie>
#include <QTimer>

namespace zubrel {

ZSmileyViewOverlay::ZSmileyViewOverlay(ZMessageView *view)
    : QObject(view)
    , m_view(view)
{
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
    for (const Placed &placed : std::as_const(m_placed)) {
        if (!placed.label)
            continue;
        const QRect rect = target->entryImageRect(placed.entry, placed.ordinal);
        // Pictures scrolled away (or gone with plain mode) hide their label.
        if (rect.isNull() || !rect.intersects(visible)) {
            placed.label->hide();
            continue;
        }
        placed.label->move(rect.topLeft());
        placed.label->show();
    }
}

} // namespace zubrel
