#include "inlinebody.h"

#include "inlinetags.h"
#include "wrapperformats.h"

#include <QList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace zubrel {

namespace {

bool isInlineTag(QStringView name)
{
    static const QStringView tags[] = {u"a",    u"b",     u"big", u"br", u"code", u"em",   u"font", u"i",
                                       u"img",  u"s",     u"small", u"span", u"strong", u"sub", u"sup", u"tt",
                                       u"u"};
    for (QStringView tag : tags) {
        if (name.compare(tag, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

bool InlineBody::inlineOnly(const QString &html)
{
    // Words by which markup inside a tag reaches the block: CSS display,
    // margins, alignment, white-space handling, Qt's own block properties.
    static const QLatin1StringView blockWords[] = {
        QLatin1StringView("display"), QLatin1StringView("margin"), QLatin1StringView("padding"),
        QLatin1StringView("align"), QLatin1StringView("indent"), QLatin1StringView("float"),
        QLatin1StringView("line-height"), QLatin1StringView("white-space"), QLatin1StringView("page-break"),
        QLatin1StringView("-qt-"), QLatin1StringView("dir")};
    for (qsizetype at = html.indexOf(u'<'); at >= 0; at = html.indexOf(u'<', at + 1)) {
        qsizetype start = at + 1;
        if (start < html.size() && html.at(start) == u'/')
            ++start;
        qsizetype end = start;
        while (end < html.size() && html.at(end).isLetterOrNumber())
            ++end;
        if (end == start || !isInlineTag(QStringView(html).mid(start, end - start)))
            return false;
        const qsizetype close = html.indexOf(u'>', end);
        if (close < 0)
            return false;
        const QStringView tag = QStringView(html).mid(end, close - end);
        for (const QLatin1StringView word : blockWords) {
            if (tag.contains(word, Qt::CaseInsensitive))
                return false;
        }
        at = close;
    }
    return true;
}

bool InlineBody::fill(QTextDocument *document, const QString &style, const QString &html)
{
    const std::optional<WrapperFormats> formats =
        WrapperFormats::of(QStringLiteral("<div style=\"") + style + QStringLiteral("\">"), QStringLiteral("</div>"));
    if (!formats)
        return false;
    // Links, line breaks, bold and styled spans around words need no importer.
    if (InlineTags::fill(document, *formats, html))
        return true;
    // A div of its own, so that line breaks stay inside the one block.
    document->setHtml(QStringLiteral("<div>") + html + QStringLiteral("</div>"));
    if (document->blockCount() != 1)
        return false;
    // Each piece keeps what its own markup set over what the div passes down.
    struct Piece
    {
        int position;
        int length;
        QTextCharFormat format;
    };
    QList<Piece> pieces;
    for (auto it = document->begin().begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        QTextCharFormat format = formats->text;
        format.merge(fragment.charFormat());
        pieces.append({fragment.position(), fragment.length(), format});
    }
    QTextCursor cursor(document);
    // One edit: a cursor moved outside one lays the block out to learn its x.
    cursor.beginEditBlock();
    cursor.setBlockFormat(formats->block);
    cursor.setBlockCharFormat(formats->blockChar);
    for (const Piece &piece : pieces) {
        cursor.setPosition(piece.position);
        cursor.setPosition(piece.position + piece.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(piece.format);
    }
    cursor.endEditBlock();
    return true;
}

} // namespace zubrel
