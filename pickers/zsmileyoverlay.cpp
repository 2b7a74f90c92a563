#include "zsmileyoverlay.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHash>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include "guardedtextdocument.h"
#include "zsmileytheme.h"

namespace zubrel {

ZSmileyOverlay::ZSmileyOverlay(QTextEdit *edit)
    : QObject(edit)
    , m_edit(edit)
{
    edit->installEventFilter(this);
    connect(edit->verticalScrollBar(), &QScrollBar::valueChanged, this, &ZSmileyOverlay::slotMoveWidgets);
    connect(edit->document(), &QTextDocument::contentsChanged, this,
            &ZSmileyOverlay::slotMoveWidgetsTimer);
    connect(edit->document(), &QTextDocument::contentsChange, this, &ZSmileyOverlay::slotContentsChange);
}

void ZSmileyOverlay::slotContentsChange(int position, int removed, int added)
{
    // Keep every label on its own picture: pictures that were deleted lose
    // their label, later ones move by what was inserted or taken out.
    for (int i = m_positions.size() - 1; i >= 0; --i) {
        int &at = m_positions[i];
        if (at < position)
            continue;
        // A format change reports the range as removed and added again;
        // a picture still in its place keeps its label.
        const bool reformatted = removed == added && m_edit
                                 && m_edit->document()->characterAt(at) == QChar::ObjectReplacementCharacter;
        if (at < position + removed && !reformatted) {
            if (QLabel *label = m_widgets.at(i)) {
                label->hide();
                label->deleteLater();
            }
            m_positions.removeAt(i);
            m_widgets.removeAt(i);
            continue;
        }
        if (at >= position + removed)
            at += added - removed;
    }
}

bool ZSmileyOverlay::isAnimated(const QString &path)
{
    static QHash<QString, bool> cache;
    const auto it = cache.constFind(path);
    if (it != cache.constEnd())
        return *it;
    QImageReader reader(path);
    const bool animated = reader.supportsAnimation() && reader.imageCount() != 1;
    cache.insert(path, animated);
    return animated;
}

QLabel *ZSmileyOverlay::createMovieLabel(QWidget *parent, const QString &path)
{
    auto *label = new QLabel(parent);
    // On a screen with two device pixels to the point the theme's <name>@2x
    // picture plays, at the size of the first.
    QString file = path;
    qreal scale = 1.0;
    if (parent && parent->devicePixelRatio() > 1.0) {
        const QString sharp = ZSmileyTheme::sharpPicturePath(path);
        if (!sharp.isEmpty()) {
            file = sharp;
            scale = 2.0;
        }
    }
    auto *movie = new QMovie(file, QByteArray(), label);
    movie->setCacheMode(QMovie::CacheAll);
    label->setAutoFillBackground(true);
    QObject::connect(movie, &QMovie::frameChanged, label, [label, movie, scale] {
        QPixmap frame = movie->currentPixmap();
        frame.setDevicePixelRatio(scale);
        label->setPixmap(frame);
    });
    movie->jumpToFrame(0);
    label->resize((QSizeF(movie->currentImage().size()) / scale).toSize());
    movie->start();
    return label;
}

void ZSmileyOverlay::add(int position, const QString &path)
{
    if (!m_edit)
        return;
    QLabel *label = createMovieLabel(m_edit->viewport(), path);
    m_positions.append(position);
    m_widgets.append(label);
    label->show();
    QTimer::singleShot(placeDelay, this, &ZSmileyOverlay::slotMoveWidgets);
}

void ZSmileyOverlay::addEntry(int base, const QString &entryHtml)
{
    if (!entryHtml.contains(QLatin1String("img src=\"")))
        return;
    // Lay the entry out on its own to learn where its pictures fall; the
    // entry holds a contact's HTML, so it loads only what the view would.
    GuardedTextDocument scratch;
    scratch.setHtml(entryHtml);
    const QString text = scratch.toRawText();
    QList<int> objects;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QChar::ObjectReplacementCharacter)
            objects.append(i);
    }
    const QLatin1String marker("img src=\"");
    qsizetype at = 0;
    for (int image = 0; (at = entryHtml.indexOf(marker, at)) >= 0; ++image) {
        at += marker.size();
        const qsizetype end = entryHtml.indexOf(u'"', at);
        if (end < 0)
            break;
        const QString path = entryHtml.mid(at, end - at);
        if (image < objects.size() && isAnimated(path))
            add(base + objects.at(image), path);
        at = end;
    }
}

void ZSmileyOverlay::clear()
{
    for (const QPointer<QLabel> &label : std::as_const(m_widgets)) {
        if (label) {
            label->hide();
            delete label.data();
        }
    }
    m_widgets.clear();
    m_positions.clear();
}

QList<QLabel *> ZSmileyOverlay::widgets() const
{
    QList<QLabel *> list;
    for (const QPointer<QLabel> &label : m_widgets)
        list.append(label.data());
    return list;
}

void ZSmileyOverlay::slotMoveWidgets()
{
    if (!m_edit)
        return;
    QTextDocument *doc = m_edit->document();
    const int length = doc->characterCount();
    for (int i = 0; i < m_positions.size() && i < m_widgets.size(); ++i) {
        QLabel *label = m_widgets.at(i);
        const int position = m_positions.at(i);
        if (!label || position < 0 || position >= length)
            continue;
        QTextCursor cursor(doc);
        cursor.setPosition(position);
        if (cursor.isNull())
            continue;
        const QRect rect = m_edit->cursorRect(cursor);
        // The picture stands on the baseline: the caret's bottom less the
        // descent of the text around it. Fixed offsets drift with the font.
        QTextCursor after(doc);
        after.setPosition(qMin(position + 1, length - 1));
        const int descent = QFontMetrics(after.charFormat().font()).descent();
        label->move(rect.left(), rect.bottom() - descent - (label->height() - 1));
    }
}

void ZSmileyOverlay::slotMoveWidgetsTimer()
{
    if (!m_positions.isEmpty())
        QTimer::singleShot(moveDelay, this, &ZSmileyOverlay::slotMoveWidgets);
}

bool ZSmileyOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit && event->type() == QEvent::Resize)
        slotMoveWidgetsTimer();
    return QObject::eventFilter(watched, event);
}

} // namespace zubrel
