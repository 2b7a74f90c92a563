#include "messagelayout.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>
#include <QTextCursor>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>

#include <cmath>

#include "guardedtextdocument.h"
#include "inlinebody.h"
#include "palettecolours.h"
#include "plainbody.h"
#include "ztextbrowser.h"

namespace zubrel {

namespace {

// Enough documents for a tall screen plus the entries just scrolled past.
constexpr int cacheSize = 64;
constexpr int headerGap = 4;   // the template's blank picture above a band
constexpr int bandHeight = 22;
constexpr int entryGap = 2;

struct Look
{
    const char *frame;
    const char *cell;
    const char *icon;
    int aliasPercent;
    QColor aliasColour;
    QColor timeColour;
};

Look lookOf(MessageTemplates::Kind kind)
{
    using K = MessageTemplates;
    switch (kind) {
    case K::Own: return {"#f5f5f5", "#f8f8f8", ":/msg_orange", 60, QColor(0, 0, 0), QColor(0x44, 0x44, 0x44)};
    case K::Incoming: return {"#f2f6fb", "#dfedff", ":/msg_blue", 60, QColor(0, 0, 0), QColor(0x44, 0x44, 0x44)};
    case K::Mobile: return {"#f2f6fb", "#dfedff", ":/msg_mobile", 70, QColor(0, 0, 0), QColor(0x44, 0x44, 0x44)};
    case K::Log: return {"#f5f5f5", "#f8f8f8", ":/msg_white", 60, QColor(0x9a, 0x9a, 0x9a), QColor(0x9f, 0x9f, 0x9f)};
    case K::System: return {"#f6f6f6", "#efefef", nullptr, 0, {}, {}};
    case K::Notify: return {"#f6f6f6", "#dfedff", ":/msg_notify", 0, {}, {}};
    case K::Error: return {"#f6f6f6", "#dfedff", ":/msg_error", 0, {}, {}};
    case K::Blocked: return {"#f6f6f6", "#dfedff", ":/msg_blocked", 0, {}, {}};
    }
    return {"#f6f6f6", "#efefef", nullptr, 0, {}, {}};
}

// Stand-ins for the module's own pictures, so a build without them still
// shows where headers, notices and push links are.
QImage drawnFallback(const QString &name)
{
    if (name == u":/blank")
        return QImage(1, headerGap, QImage::Format_ARGB32_Premultiplied);
    const bool dots = name == u":/msg_dots";
    const bool push = name.startsWith(u":/pushaudio");
    QImage image(dots ? QSize(22, 6) : push ? QSize(36, 36) : QSize(16, 16), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    if (dots) {
        p.setBrush(QColor(0xb0, 0xb0, 0xb0));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QRectF(2 + i * 7, 1, 4, 4));
        return image;
    }
    QColor colour(0x3b, 0x7d, 0xd8);
    if (name == u":/msg_orange")
        colour = QColor(0xf0, 0x8a, 0x24);
    else if (name == u":/msg_white")
        colour = QColor(0xd8, 0xd8, 0xd8);
    else if (name == u":/msg_mobile")
        colour = QColor(0x5a, 0x9a, 0x4a);
    else if (name == u":/msg_error" || name == u":/msg_blocked")
        colour = QColor(0xc0, 0x39, 0x2b);
    p.setBrush(colour);
    const QRectF box = QRectF(image.rect()).adjusted(1, 1, -1, -1);
    if (push) {
        QPainterPath speaker;
        speaker.moveTo(6, 14);
        speaker.lineTo(13, 14);
        speaker.lineTo(21, 7);
        speaker.lineTo(21, 29);
        speaker.lineTo(13, 22);
        speaker.lineTo(6, 22);
        speaker.closeSubpath();
        p.drawPath(speaker);
        p.setPen(QPen(colour, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(18, 11, 10, 14), -60 * 16, 120 * 16);
        return image;
    }
    p.drawRoundedRect(box, 3, 3);
    p.setPen(Qt::white);
    QFont font;
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    const QString mark = name == u":/msg_notify" ? QStringLiteral("i")
                         : name == u":/msg_error"  ? QStringLiteral("!")
                         : name == u":/msg_blocked" ? QStringLiteral("x")
                                                     : QString();
    if (!mark.isEmpty())
        p.drawText(box, Qt::AlignCenter, mark);
    return image;
}

QString resourcePath(const QUrl &url)
{
    if (url.scheme() == u"qrc")
        return u':' + url.path();
    if (url.scheme().isEmpty() && url.path().startsWith(u":/"))
        return url.path();
    return {};
}

QVariant provideResource(const QUrl &url)
{
    // Shared for resource pictures only (a bounded set); other files are
    // loaded by each document itself so received pictures do not pile up.
    const QString path = resourcePath(url);
    if (path.isEmpty() || GuardedTextDocument::allowedFile(url).isEmpty())
        return {};
    const QImage image = MessageLayout::image(path);
    return image.isNull() ? QVariant() : QVariant(image);
}

QImage resourceImage(QTextDocument *doc, const QString &name)
{
    const QVariant resource = doc->resource(QTextDocument::ImageResource, QUrl(name));
    if (resource.canConvert<QImage>())
        return resource.value<QImage>();
    return resource.value<QPixmap>().toImage();
}

// The room a picture has on one line of a block of a body laid out at
// `width` (the body's style indents it).
qreal pictureRoom(const QTextDocument *doc, const QTextBlock &block, int width)
{
    const QTextBlockFormat format = block.blockFormat();
    return qMax<qreal>(16, width - 2 * doc->documentMargin() - format.leftMargin() - format.rightMargin()
                               - qMax<qreal>(0, format.textIndent()) - 4);
}

// Pictures wider than the body are shown scaled down to its width, keeping
// their aspect, instead of being cut off at the view's edge.
void fitPictures(QTextDocument *doc, int width)
{
    struct Fit
    {
        int from;
        int length;
        int blockStart;
        QTextImageFormat format;
    };
    QList<Fit> fits;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const qreal room = pictureRoom(doc, block, width);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            QSizeF size(format.width(), format.height());
            if (size.width() <= 0 || size.height() <= 0) {
                const QImage image = resourceImage(doc, format.name());
                if (image.isNull() || image.width() <= 0)
                    continue;
                const qreal ratio = qreal(image.height()) / image.width();
                if (size.width() > 0)
                    size.setHeight(size.width() * ratio);
                else if (size.height() > 0)
                    size.setWidth(size.height() / ratio);
                else
                    size = image.deviceIndependentSize();
            }
            if (size.width() <= room)
                continue;
            format.setWidth(room);
            format.setHeight(size.height() * room / size.width());
            fits.append({fragment.position(), fragment.length(), block.position(), format});
        }
    }
    // Back to front, so the line breaks put in do not move the pictures
    // still to be fitted.
    for (auto fit = fits.crbegin(); fit != fits.crend(); ++fit) {
        QTextCursor cursor(doc);
        cursor.setPosition(fit->from);
        cursor.setPosition(fit->from + fit->length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(fit->format);
        // A picture as wide as the body never shares its line, and Qt gives
        // the line it wraps away from the picture's full height: text before
        // it would stand at the foot of an empty band. A line break of its
        // own keeps that line as tall as its text.
        if (fit->from > fit->blockStart && doc->characterAt(fit->from - 1) != QChar::LineSeparator) {
            cursor.setPosition(fit->from);
            cursor.insertText(QString(QChar::LineSeparator));
        }
    }
}

int ceilHeight(const QTextDocument *doc)
{
    return int(std::ceil(doc->size().height()));
}

} // namespace

MessageLayout::MessageLayout()
{
    m_font = QFont(QStringLiteral("Tahoma"));
    m_font.setPixelSize(12);
    m_bold = m_font;
    m_bold.setBold(true);
}

MessageLayout::~MessageLayout() = default;

QImage MessageLayout::image(const QString &name)
{
    static QHash<QString, QImage> cache;
    const auto found = cache.constFind(name);
    if (found != cache.constEnd())
        return *found;
    QImage image(name);
    if (image.isNull() && !name.endsWith(u"@2x")
        && (name.startsWith(u":/msg_") || name == u":/blank" || name.startsWith(u":/pushaudio")))
        image = drawnFallback(name);
    if (name.startsWith(u':'))
        cache.insert(name, image);
    return image;
}

QImage MessageLayout::sharpImage(const QString &name, qreal devicePixelRatio)
{
    if (devicePixelRatio > 1.0) {
        QImage sharp = image(name + QStringLiteral("@2x"));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return image(name);
}

void MessageLayout::setWidth(int width)
{
    width = qMax(width, 60);
    if (width == m_width)
        return;
    m_width = width;
    invalidate();
}

void MessageLayout::setPalette(const QPalette &palette)
{
    const bool dark = PaletteColours::isDark(palette);
    const bool changed = dark != PaletteColours::isDark(m_palette)
                         || (dark && palette.color(QPalette::Base) != m_palette.color(QPalette::Base));
    m_palette = palette;
    if (changed)
        clearCache();
}

void MessageLayout::setPlain(bool plain)
{
    if (plain == m_plain)
        return;
    m_plain = plain;
    invalidate();
}

void MessageLayout::invalidate()
{
    ++m_generation;
    clearCache();
}

void MessageLayout::clearCache()
{
    m_cache.clear();
    m_order.clear();
}

QString MessageLayout::bodyHtml(const MessageEntry &entry) const
{
    const QString body = m_plain ? MessageTemplates::stripStyles(entry.body) : entry.body;
    if (MessageTemplates::isNotice(entry.kind))
        return QStringLiteral("<span style=\"") + MessageTemplates::lineStyle(entry.kind) + QStringLiteral("\">")
               + body + QStringLiteral("</span>");
    return QStringLiteral("<div style=\"") + MessageTemplates::bodyStyle(entry.kind) + QStringLiteral("\">") + body
           + QStringLiteral("</div>");
}

QTextDocument *MessageLayout::document(int index, MessageEntry &entry)
{
    if (const auto found = m_cache.find(index); found != m_cache.end()) {
        m_order.splice(m_order.begin(), m_order, found->second.order);
        return found->second.document.get();
    }
    std::unique_ptr<QTextDocument> doc = std::make_unique<GuardedTextDocument>();
    doc->setUndoRedoEnabled(false);
    doc->setDefaultFont(m_font);
    doc->setDocumentMargin(MessageTemplates::isNotice(entry.kind) ? 1 : 2);
    doc->setResourceProvider(&provideResource);
    const QString html = bodyHtml(entry);
    // Plain words in wrappers need no importer at all; other inline markup
    // needs it, but not for the body style's div around it.
    const bool notice = MessageTemplates::isNotice(entry.kind);
    const QString body = m_plain && !notice ? MessageTemplates::stripStyles(entry.body) : entry.body;
    if (!PlainBody::fill(doc.get(), html)
        && (notice || !InlineBody::inlineOnly(body)
            || !InlineBody::fill(doc.get(), MessageTemplates::bodyStyle(entry.kind), body)))
        doc->setHtml(html);
    PaletteColours::adaptDocument(doc.get(), m_palette);
    const int bodyWidth = geometry(entry, 0).bodyWidth;
    if (entry.body.contains(QLatin1String("<img")))
        fitPictures(doc.get(), bodyWidth);
    // Without the cache each block's glyphs are dropped right after layout
    // and shaped a second time for the first paint; a cached document is
    // painted several times, so keeping them is worth the memory.
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        block.layout()->setCacheEnabled(true);
    doc->setTextWidth(bodyWidth);
    QTextDocument *raw = doc.get();
    m_order.push_front(index);
    m_cache.emplace(index, Cached{std::move(doc), m_order.begin()});
    while (int(m_order.size()) > cacheSize) {
        m_cache.erase(m_order.back());
        m_order.pop_back();
    }
    return raw;
}

int MessageLayout::measure(int index, MessageEntry &entry)
{
    QTextDocument *doc = document(index, entry);
    if (!entry.textKnown) {
        // Break opportunities the message guard inserted are not the sender's text.
        entry.text = doc->toPlainText().remove(QChar::ObjectReplacementCharacter).remove(QChar(0x200B));
        entry.textKnown = true;
    }
    entry.generation = m_generation;
    return geometry(entry, ceilHeight(doc)).height;
}

void MessageLayout::shiftCache(int by)
{
    std::unordered_map<int, Cached> shifted;
    shifted.reserve(m_cache.size());
    for (auto &[index, cached] : m_cache)
        shifted.emplace(index + by, std::move(cached));
    for (int &index : m_order)
        index += by;
    m_cache = std::move(shifted);
}

int MessageLayout::estimate(const MessageEntry &entry) const
{
    const QFontMetrics metrics(m_font);
    const int perLine = qMax(1, m_width / qMax(1, metrics.averageCharWidth()));
    // Markup is roughly half of a stored body.
    const int lines = 1 + int(entry.body.size() / 2) / perLine;
    return geometry(entry, qMin(lines, 40) * metrics.lineSpacing()).height;
}

MessageLayout::Geometry MessageLayout::geometry(const MessageEntry &entry, int bodyHeight) const
{
    Geometry g;
    const int cx = qRound(m_width * 0.02);
    const int cw = m_width - 2 * cx;
    const Look look = lookOf(entry.kind);
    const QImage icon = look.icon ? image(QString::fromLatin1(look.icon)) : QImage();
    const QSize iconSize = icon.isNull() ? QSize() : icon.size().boundedTo(QSize(64, bandHeight - 4));

    if (MessageTemplates::isNotice(entry.kind)) {
        const int innerWidth = cw - 2;
        const int lead = innerWidth * 3 / 100;
        const int textWidth = look.icon ? innerWidth * 92 / 100 - 4 : innerWidth * 97 / 100;
        const int bandH = qMax(bodyHeight, 16) + 4;
        g.band = QRect(cx, headerGap, cw, bandH);
        const QRect inner = g.band.adjusted(1, 1, -1, -1);
        const int textX = inner.x() + lead + (look.icon ? 4 : 0);
        g.bodyOrigin = QPoint(textX, inner.y() + (inner.height() - bodyHeight) / 2);
        g.bodyWidth = qMax(textWidth, 10);
        if (look.icon)
            g.icon = QRect(QPoint(inner.x() + lead + innerWidth * 92 / 100 + 2,
                                  inner.y() + (inner.height() - iconSize.height()) / 2), iconSize);
        g.height = g.band.bottom() + 1 + entryGap;
        return g;
    }
    g.bodyWidth = qMax(cw, 10);
    if (entry.continuation) {
        const QImage dots = image(QStringLiteral(":/msg_dots"));
        g.dots = QRect(QPoint(qRound(m_width * 0.025), entryGap), dots.size().boundedTo(QSize(200, 40)));
        g.bodyOrigin = QPoint(cx, g.dots.bottom() + 1 + entryGap);
    } else {
        g.band = QRect(cx, headerGap, cw, bandHeight);
        const QRect inner = g.band.adjusted(1, 1, -1, -1);
        const int iconCell = inner.width() * 5 / 100;
        const int aliasWidth = inner.width() * look.aliasPercent / 100;
        g.icon = QRect(QPoint(inner.x() + qMax(0, iconCell - iconSize.width()),
                              inner.y() + (inner.height() - iconSize.height()) / 2), iconSize);
        g.alias = QRect(inner.x() + iconCell + 4, inner.y(), qMax(aliasWidth - 4, 0), inner.height());
        const int timeX = inner.x() + iconCell + aliasWidth;
        g.time = QRect(timeX, inner.y(), qMax(inner.right() - 4 - timeX, 0), inner.height());
        g.bodyOrigin = QPoint(cx, g.band.bottom() + 1 + entryGap);
    }
    g.height = g.bodyOrigin.y() + bodyHeight + entryGap;
    return g;
}

void MessageLayout::paint(QPainter &painter, int index, MessageEntry &entry, const QPalette &palette,
                          const Selection &selection)
{
    QTextDocument *doc = document(index, entry);
    const int bodyHeight = ceilHeight(doc);
    const Geometry g = geometry(entry, bodyHeight);
    const Look look = lookOf(entry.kind);
    const QColor highlight = palette.color(QPalette::Highlight);
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;

    if (!g.band.isNull()) {
        painter.fillRect(g.band, PaletteColours::band(QColor(QString::fromLatin1(look.frame)), palette));
        painter.fillRect(g.band.adjusted(1, 1, -1, -1), PaletteColours::band(QColor(QString::fromLatin1(look.cell)), palette));
        if (look.icon && !g.icon.isEmpty())
            painter.drawImage(g.icon, sharpImage(QString::fromLatin1(look.icon), ratio));
        if (!MessageTemplates::isNotice(entry.kind)) {
            painter.setFont(m_bold);
            painter.setPen(PaletteColours::text(look.aliasColour, palette));
            const QString alias = m_headerText.elided(m_bold, 1, entry.alias, g.alias.width());
            m_headerText.draw(painter, g.alias, Qt::AlignLeft, 1, alias);
            painter.setFont(m_font);
            painter.setPen(PaletteColours::text(look.timeColour, palette));
            m_headerText.draw(painter, g.time, Qt::AlignRight, 0, entry.time);
        }
    }
    if (!g.dots.isNull())
        painter.drawImage(g.dots, sharpImage(QStringLiteral(":/msg_dots"), ratio));
    if (selection.active && selection.header) {
        QColor wash = highlight;
        wash.setAlpha(90);
        painter.fillRect(g.band.isNull() ? g.dots : g.band, wash);
    }

    painter.save();
    painter.translate(g.bodyOrigin);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette;
    context.palette.setColor(QPalette::Text, PaletteColours::text(Qt::black, palette));
    context.clip = QRectF(0, 0, g.bodyWidth, bodyHeight);
    if (selection.active && selection.from < selection.to) {
        QAbstractTextDocumentLayout::Selection sel;
        sel.cursor = QTextCursor(doc);
        const int end = doc->characterCount() - 1;
        sel.cursor.setPosition(qBound(0, selection.from, end));
        sel.cursor.setPosition(qBound(0, selection.to, end), QTextCursor::KeepAnchor);
        sel.format.setBackground(highlight);
        sel.format.setForeground(palette.color(QPalette::HighlightedText));
        context.selections.append(sel);
    }
    doc->documentLayout()->draw(&painter, context);
    painter.restore();
}

int MessageLayout::positionAt(int index, MessageEntry &entry, const QPoint &local)
{
    QTextDocument *doc = document(index, entry);
    const int bodyHeight = ceilHeight(doc);
    const Geometry g = geometry(entry, bodyHeight);
    const QPoint p = local - g.bodyOrigin;
    if (p.y() < 0 && !MessageTemplates::isNotice(entry.kind))
        return -1;
    if (p.y() >= bodyHeight)
        return doc->characterCount() - 1;
    const int hit = doc->documentLayout()->hitTest(QPointF(qMax(p.x(), 0), qMax(p.y(), 0)), Qt::FuzzyHit);
    return hit < 0 ? 0 : hit;
}

QRect MessageLayout::cursorRect(int index, MessageEntry &entry, int position)
{
    QTextDocument *doc = document(index, entry);
    const Geometry g = geometry(entry, ceilHeight(doc));
    if (position < 0) {
        const QRect head = g.band.isNull() ? g.dots : g.band;
        return head.isNull() ? QRect(g.bodyOrigin, QSize(1, 1)) : head;
    }
    position = qMin(position, doc->characterCount() - 1);
    const QTextBlock block = doc->findBlock(position);
    const QTextLine line = block.layout() ? block.layout()->lineForTextPosition(position - block.position())
                                          : QTextLine();
    const QPointF origin = doc->documentLayout()->blockBoundingRect(block).topLeft();
    if (!line.isValid())
        return QRect(origin.toPoint() + g.bodyOrigin, QSize(1, 1));
    const qreal x = origin.x() + line.cursorToX(position - block.position());
    return QRectF(x, origin.y() + line.y(), 1, line.height()).toAlignedRect().translated(g.bodyOrigin);
}

QString MessageLayout::anchorAt(int index, MessageEntry &entry, const QPoint &local)
{
    QTextDocument *doc = document(index, entry);
    const Geometry g = geometry(entry, ceilHeight(doc));
    const QPoint p = local - g.bodyOrigin;
    if (p.x() < 0 || p.y() < 0)
        return {};
    return doc->documentLayout()->anchorAt(p);
}

QString MessageLayout::imageAt(int index, MessageEntry &entry, const QPoint &local)
{
    QTextDocument *doc = document(index, entry);
    const Geometry g = geometry(entry, ceilHeight(doc));
    return ZTextBrowser::imageAt(doc, local - g.bodyOrigin);
}

QImage MessageLayout::fullPictureAt(int index, MessageEntry &entry, const QPoint &local)
{
    QTextDocument *doc = document(index, entry);
    const Geometry g = geometry(entry, ceilHeight(doc));
    const QPoint p = local - g.bodyOrigin;
    const QString name = ZTextBrowser::imageAt(doc, p);
    if (name.isEmpty())
        return {};
    const int hit = doc->documentLayout()->hitTest(p, Qt::FuzzyHit);
    const QImage image = resourceImage(doc, name);
    const QTextBlock block = doc->findBlock(qMax(hit, 0));
    return image.deviceIndependentSize().width() > pictureRoom(doc, block, g.bodyWidth) ? image : QImage();
}

QRect MessageLayout::imageRect(int index, MessageEntry &entry, int ordinal)
{
    QTextDocument *doc = document(index, entry);
    const Geometry g = geometry(entry, ceilHeight(doc));
    int seen = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !fragment.charFormat().isImageFormat())
                continue;
            // Neighbouring equal pictures share one fragment.
            if (ordinal >= seen + fragment.length()) {
                seen += fragment.length();
                continue;
            }
            const int at = fragment.position() + (ordinal - seen) - block.position();
            const QTextLine line = block.layout() ? block.layout()->lineForTextPosition(at) : QTextLine();
            if (!line.isValid())
                return {};
            const QTextImageFormat format = fragment.charFormat().toImageFormat();
            QSizeF size(format.width(), format.height());
            if (size.width() <= 0 || size.height() <= 0) {
                const QVariant res = doc->resource(QTextDocument::ImageResource, QUrl(format.name()));
                const QImage img = res.value<QImage>();
                size = img.isNull() ? QSizeF(line.cursorToX(at + 1) - line.cursorToX(at), line.ascent()) : QSizeF(img.size());
            }
            const QPointF origin = doc->documentLayout()->blockBoundingRect(block).topLeft();
            const qreal x = origin.x() + qMin(line.cursorToX(at), line.cursorToX(at + 1));
            const qreal y = origin.y() + line.y() + line.ascent() - size.height();
            return QRectF(QPointF(x, y), size).toAlignedRect().translated(g.bodyOrigin);
        }
    }
    return {};
}

} // namespace zubrel
