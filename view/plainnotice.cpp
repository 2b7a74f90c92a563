#include "plainnotice.h"

#include "plainbody.h"

namespace zubrel {

QString PlainNotice::words(const QString &html)
{
    static const struct
    {
        QLatin1StringView escape;
        QChar character;
    } escapes[] = {{QLatin1StringView("&amp;"), u'&'},
                   {QLatin1StringView("&lt;"), u'<'},
                   {QLatin1StringView("&gt;"), u'>'},
                   {QLatin1StringView("&quot;"), u'"'}};
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
        const QStringView rest = QStringView(html).mid(i);
        bool known = false;
        for (const auto &e : escapes) {
            if (rest.startsWith(e.escape)) {
                out += e.character;
                i += e.escape.size() - 1;
                known = true;
                break;
            }
        }
        if (!known)
            return {};
    }
    return out;
}

void PlainNotice::fill(QTextDocument *document, const QString &style, const QString &words)
{
    PlainBody::fill(document, QStringLiteral("<span style=\"") + style + QStringLiteral("\">"), words,
                    QStringLiteral("</span>"));
}

} // namespace zubrel
