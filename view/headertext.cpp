#include "headertext.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace zubrel {

namespace {

// Senders and times are few; a bound keeps odd input from growing the cache.
constexpr int most = 512;

QString keyOf(int fontTag, const QString &text, int width = 0)
{
    return QString::number(fontTag) + u'/' + QString::number(width) + u'/' + text;
}

// Text drawText would treat specially (line breaks, tabs, length variants)
// or align by its spaces is left to drawText itself.
bool plainLine(const QString &text)
{
    if (text.isEmpty() || text.front().isSpace() || text.back().isSpace())
        return false;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x9c || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    }
    return true;
}

} // namespace

HeaderText::HeaderText()
    : m_layouts(most)
    , m_elided(most)
{
}

HeaderText::~HeaderText() = default;

void HeaderText::clear()
{
    m_layouts.clear();
    m_elided.clear();
}

QString HeaderText::elided(const QFont &font, int fontTag, const QString &text, int width)
{
    return m_elided.value(keyOf(fontTag, text, width),
                          [&] { return QFontMetrics(font).elidedText(text, Qt::ElideRight, width); });
}

void HeaderText::draw(QPainter &painter, const QRect &rect, Qt::Alignment horizontal, int fontTag,
                      const QString &text)
{
    const QTransform::TransformationType type = painter.transform().type();
    // Right to left swaps the alignment; such painters are left to drawText.
    const Qt::LayoutDirection direction = painter.layoutDirection();
    if (!plainLine(text) || direction == Qt::RightToLeft || type > QTransform::TxScale
        || painter.transform().m22() == 0) {
        painter.drawText(rect, Qt::AlignVCenter | horizontal, text);
        return;
    }
    const QString key = keyOf(fontTag + (direction == Qt::LayoutDirectionAuto ? 2 : 0), text);
    const std::shared_ptr<QTextLayout> layout = m_layouts.value(key, [&] {
        auto made = std::make_shared<QTextLayout>(text, painter.font());
        made->setCacheEnabled(true);
        QTextOption option;
        option.setTextDirection(direction);
        option.setAlignment(Qt::AlignLeft);
        made->setTextOption(option);
        made->beginLayout();
        QTextLine line = made->createLine();
        line.setLineWidth(0x01000000);
        line.setPosition(QPointF(0, 0));
        made->endLayout();
        return made;
    });
    const QTextLine line = layout->lineAt(0);
    const QRectF r(rect);
    // Centred on whole device pixels, as drawText does.
    const qreal scale = painter.transform().m22();
    // The line's own height, not the whole pixels QTextLine::height() rounds it up to.
    const qreal height = line.ascent() + line.descent();
    const qreal yoff = -qRound(-(r.height() - height) / 2 * scale) / scale;
    const qreal width = line.naturalTextWidth();
    const qreal xoff = horizontal & Qt::AlignRight ? r.width() - line.horizontalAdvance() : 0;
    const QRectF bounds(r.x() + (horizontal & Qt::AlignRight ? r.width() - width : 0), r.y() + yoff, width, height);
    const bool clip = !r.contains(bounds);
    if (clip) {
        painter.save();
        painter.setClipRect(r, Qt::IntersectClip);
    }
    line.draw(&painter, QPointF(r.x() + xoff, r.y() + yoff));
    if (clip)
        painter.restore();
}

} // namespace zubrel
