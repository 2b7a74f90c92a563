#include "plainbody.h"

#include "plainnotice.h"
#include "wrapperformats.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <optional>

namespace zubrel {

namespace {

// The end of the tag starting at `from` when it is a <div> or <span> whose
// attribute values are quoted, -1 otherwise.
qsizetype wrapperEnd(const QString &html, qsizetype from)
{
    const QStringView rest = QStringView(html).mid(from);
    const qsizetype name = rest.startsWith(u"<span") ? 5 : rest.startsWith(u"<div") ? 4 : 0;
    if (name == 0 || rest.size() <= name || (rest[name] != u' ' && rest[name] != u'>'))
        return -1;
    QChar quote;
    for (qsizetype i = from + name; i < html.size(); ++i) {
        const QChar c = html.at(i);
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u'>') {
            return i;
        } else if (c == u'<') {
            return -1;
        }
    }
    return -1;
}

bool onlyClosings(QStringView close)
{
    while (!close.isEmpty()) {
        if (close.startsWith(u"</span>"))
            close = close.mid(7);
        else if (close.startsWith(u"</div>"))
            close = close.mid(6);
        else
            return false;
    }
    return true;
}

} // namespace

bool PlainBody::fill(QTextDocument *document, const QString &html)
{
    qsizetype textFrom = 0;
    while (textFrom < html.size() && html.at(textFrom) == u'<') {
        const qsizetype end = wrapperEnd(html, textFrom);
        if (end < 0)
            return false;
        textFrom = end + 1;
    }
    qsizetype textEnd = html.indexOf(u'<', textFrom);
    if (textEnd < 0)
        textEnd = html.size();
    if (!onlyClosings(QStringView(html).mid(textEnd)))
        return false;
    const QString words = PlainNotice::words(html.mid(textFrom, textEnd - textFrom));
    return !words.isNull() && fill(document, html.left(textFrom), words, html.mid(textEnd));
}

bool PlainBody::fill(QTextDocument *document, const QString &open, const QString &words, const QString &close)
{
    const std::optional<WrapperFormats> formats = WrapperFormats::of(open, close);
    if (!formats)
        return false;
    QTextCursor cursor(document);
    cursor.setBlockFormat(formats->block);
    cursor.setBlockCharFormat(formats->blockChar);
    cursor.insertText(words, formats->text);
    return true;
}

} // namespace zubrel
