#include "inlinetags.h"

#include "boundedcache.h"
#include "htmlescapes.h"

#include <QGuiApplication>
#include <QList>
#include <QPalette>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

namespace zubrel {

namespace {

// Bodies nest a handful of tags; the guard allows more, which go to the importer.
constexpr int deepest = 8;

bool isName(QStringView name)
{
    for (QStringView known : {u"b", u"i", u"u", u"em", u"strong", u"span", u"a"}) {
        if (name == known)
            return true;
    }
    return false;
}

// The value of the single attribute `attribute` in the rest of a tag
// (` attribute="value"`), a null view otherwise.
QStringView attributeValue(QStringView rest, QStringView attribute)
{
    if (rest.size() < attribute.size() + 4 || rest[0] != u' ' || !rest.mid(1).startsWith(attribute)
        || rest[attribute.size() + 1] != u'=' || rest[attribute.size() + 2] != u'"' || rest.back() != u'"')
        return {};
    const QStringView value = rest.mid(attribute.size() + 3, rest.size() - attribute.size() - 4);
    // Entities and quotes would need the importer's decoding.
    if (value.contains(u'"') || value.contains(u'&') || value.contains(u'<'))
        return {};
    return value.isNull() ? QStringView(u"") : value;
}

struct Open
{
    QStringView name;
    QTextCharFormat format; // what the text inside gets, its outer tags' too
};

} // namespace

std::optional<QTextCharFormat> InlineTags::learn(const QString &open, const QString &close)
{
    const std::optional<WrapperFormats> formats =
        WrapperFormats::learn(QStringLiteral("<div>") + open, close + QStringLiteral("</div>"));
    if (!formats)
        return std::nullopt;
    return formats->text;
}

bool InlineTags::fill(QTextDocument *document, const WrapperFormats &wrappers, const QString &html)
{
    // Senders' styles are few, but a bound keeps odd input from growing it.
    static BoundedCache<QString, std::optional<QTextCharFormat>> known(256);
    static QRgb knownLink = 0;
    const QRgb link = QGuiApplication::palette().color(QPalette::Link).rgba();
    if (link != knownLink) {
        known.clear();
        knownLink = link;
    }
    const auto formatOf = [](const QString &open, QStringView name) {
        return known.value(open, [&] { return learn(open, QStringLiteral("</") + name.toString() + u'>'); });
    };
    static const std::optional<QTextCharFormat> plain = learn(QString(), QString());
    if (!plain)
        return false;

    struct Piece
    {
        QString text;
        QTextCharFormat format;
    };
    QList<Piece> pieces;
    QList<Open> open{{u"", *plain}};
    QChar last; // the last character put in; null at the start
    bool tagged = true; // tags opened or closed since the last character
    const auto put = [&](QChar c) {
        if (std::exchange(tagged, false))
            pieces.append({QString(), open.back().format});
        pieces.back().text += c;
        last = c;
    };
    const QStringView source(html);
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c == u'<') {
            const qsizetype end = source.indexOf(u'>', i);
            if (end < 0)
                return false;
            const QStringView tag = source.mid(i + 1, end - i - 1);
            i = end;
            tagged = true;
            if (tag == u"br" || tag == u"br/" || tag == u"br /") {
                // White space around a line break is the importer's to fold.
                if (last == u' ')
                    return false;
                put(QChar::LineSeparator);
                continue;
            }
            if (tag.startsWith(u'/')) {
                if (open.size() < 2 || tag.mid(1) != open.back().name)
                    return false;
                open.removeLast();
                continue;
            }
            qsizetype nameEnd = 0;
            while (nameEnd < tag.size() && tag[nameEnd] >= u'a' && tag[nameEnd] <= u'z')
                ++nameEnd;
            const QStringView name = tag.left(nameEnd);
            const QStringView rest = tag.mid(nameEnd);
            if (!isName(name) || open.size() > deepest)
                return false;
            QString key;
            QStringView href;
            if (name == u"a") {
                // One format for every link; only its target differs.
                href = attributeValue(rest, u"href");
                if (href.isEmpty())
                    return false;
                key = QStringLiteral("<a href=\"#\">");
            } else if (name == u"span") {
                if (attributeValue(rest, u"style").isNull())
                    return false;
                key = u'<' + tag.toString() + u'>';
            } else if (rest.isEmpty()) {
                key = u'<' + tag.toString() + u'>';
            } else {
                return false;
            }
            const std::optional<QTextCharFormat> own = formatOf(key, name);
            if (!own || (name == u"a" && own->anchorHref() != u"#"))
                return false;
            QTextCharFormat format = open.back().format;
            format.merge(*own);
            if (name == u"a")
                format.setAnchorHref(href.toString());
            open.append({name, format});
            continue;
        }
        if (c == u'&') {
            const HtmlEscapes::Escape *escape = HtmlEscapes::at(source.mid(i));
            if (!escape)
                return false;
            put(escape->character);
            i += escape->text.size() - 1;
            continue;
        }
        // The importer folds runs of white space and drops it at the ends of
        // the block and after a line break.
        if (c == u'>' || c.unicode() < 0x20 || (c.isSpace() && c != u' ')
            || (c == u' ' && (last.isNull() || last == u' ' || last == QChar::LineSeparator)))
            return false;
        put(c);
    }
    if (open.size() != 1 || last.isNull() || last == u' ')
        return false;
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.setBlockFormat(wrappers.block);
    cursor.setBlockCharFormat(wrappers.blockChar);
    for (const Piece &piece : pieces) {
        QTextCharFormat format = wrappers.text;
        format.merge(piece.format);
        cursor.insertText(piece.text, format);
    }
    cursor.endEditBlock();
    return true;
}

} // namespace zubrel
