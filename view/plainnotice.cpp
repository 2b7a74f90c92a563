#include "plainnotice.h"

#include "htmlescapes.h"
#include "plainbody.h"

namespace zubrel {

QString PlainNotice::words(const QString &html)
{
    if (html.isEmpty() || html.front() == u' ' || html.back() == u' ')
        return {};
    QString out;
    out.reserve(html.size());
    for (qsizetype i = 0; i < html.size(); ++i) {
        const QChar c = html.at(i);
        // Markup, and white space the importer folds or breaks lines at.
        if (c == u'<' || c == u'>' || c.unicode() < 0x20 || (c.isSpace() && c != u' ')
            || (c == u' ' && html.at(i - 1) == u' '))
            return {};
        if (c != u'&') {
            out += c;
            continue;
        }
        const HtmlEscapes::Escape *escape = HtmlEscapes::at(QStringView(html).mid(i));
        if (!escape)
            return {};
        out += escape->character;
        i += escape->text.size() - 1;
    }
    return out;
}

void PlainNotice::fill(QTextDocument *document, const QString &style, const QString &words)
{
    PlainBody::fill(document, QStringLiteral("<span style=\"") + style + QStringLiteral("\">"), words,
                    QStringLiteral("</span>"));
}

} // namespace zubrel
