#include "loggedhtml.h"

#include <QCoreApplication>

#include "messagehtmlguard.h"

namespace zubrel {

namespace {
// Elements whose content is never shown as text.
bool hidesContent(QStringView name)
{
    return name.compare(u"style", Qt::CaseInsensitive) == 0 || name.compare(u"script", Qt::CaseInsensitive) == 0
           || name.compare(u"head", Qt::CaseInsensitive) == 0 || name.compare(u"title", Qt::CaseInsensitive) == 0;
}
} // namespace

bool LoggedHtml::showsSomething(const QString &html)
{
    // One pass in the way Qt's parser treats the cases that hide text: a
    // comment, a hiding element or a tag runs to its end or, unclosed, to
    // the end of the record.
    const QStringView s(html);
    qsizetype i = 0;
    while (i < s.size()) {
        if (s[i] != u'<') {
            if (!s[i].isSpace())
                return true;
            ++i;
            continue;
        }
        if (s.mid(i, 4) == u"<!--") {
            const qsizetype end = s.indexOf(u"-->", i + 4);
            if (end < 0)
                return false;
            i = end + 3;
            continue;
        }
        const qsizetype end = s.indexOf(u'>', i + 1);
        if (end < 0)
            return false;
        qsizetype n = i + 1;
        while (n < end && s[n].isLetterOrNumber())
            ++n;
        const QStringView name = s.mid(i + 1, n - i - 1);
        if (name.compare(u"img", Qt::CaseInsensitive) == 0 || name.compare(u"hr", Qt::CaseInsensitive) == 0)
            return true;
        i = end + 1;
        if (hidesContent(name)) {
            const qsizetype close = s.indexOf(QString(QStringLiteral("</") + name.toString()), i, Qt::CaseInsensitive);
            if (close < 0)
                return false;
            i = close;
        }
    }
    return false;
}

QString LoggedHtml::forView(const QString &html)
{
    if (html.trimmed().isEmpty() || showsSomething(html))
        return html;
    // Cut before escaping: the escaped form is what the guard would cut.
    QString text = html.left(MessageHtmlGuard::MaxTextChars).toHtmlEscaped();
    text.replace(u'\n', QStringLiteral("<br />"));
    return text + QStringLiteral("<br /><i>") + noteText().toHtmlEscaped() + QStringLiteral("</i>");
}

QString LoggedHtml::noteText()
{
    return QCoreApplication::translate("zubrel::LoggedHtml",
                                       "This message from the history could not be read as formatted text and "
                                       "is shown as it was stored.");
}

} // namespace zubrel
