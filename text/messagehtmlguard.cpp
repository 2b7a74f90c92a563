#include "messagehtmlguard.h"

#include <QCoreApplication>
#include <QList>

namespace zubrel {

namespace {

constexpr QChar zeroWidthSpace(0x200B);

bool isVoidElement(QStringView name)
{
    static const char *const names[] = {"br", "img", "hr", "meta", "link", "input", "col", "area", "base", "wbr"};
    for (const char *known : names) {
        if (name == QLatin1String(known))
            return true;
    }
    return false;
}

bool isTablePart(QStringView name)
{
    static const char *const names[] = {"table", "tr", "td", "th", "tbody", "thead", "tfoot", "caption", "col",
                                        "colgroup"};
    for (const char *known : names) {
        if (name == QLatin1String(known))
            return true;
    }
    return false;
}

bool isBreakable(QChar c)
{
    return c.isSpace() || c == u'-' || c == zeroWidthSpace;
}

// The value of attribute `name` in a tag's attribute text, unquoted.
QString attribute(QStringView tag, QLatin1String name)
{
    qsizetype at = 0;
    while ((at = tag.indexOf(name, at, Qt::CaseInsensitive)) >= 0) {
        const bool startsWord = at > 0 && (tag.at(at - 1).isSpace() || tag.at(at - 1) == u'/');
        qsizetype after = at + name.size();
        while (after < tag.size() && tag.at(after).isSpace())
            ++after;
        if (!startsWord || after >= tag.size() || tag.at(after) != u'=') {
            at += name.size();
            continue;
        }
        ++after;
        while (after < tag.size() && tag.at(after).isSpace())
            ++after;
        if (after >= tag.size())
            return {};
        const QChar quote = tag.at(after);
        if (quote == u'"' || quote == u'\'') {
            const qsizetype end = tag.indexOf(quote, after + 1);
            return tag.mid(after + 1, end < 0 ? -1 : end - after - 1).toString();
        }
        qsizetype end = after;
        while (end < tag.size() && !tag.at(end).isSpace() && tag.at(end) != u'>' && tag.at(end) != u'/')
            ++end;
        return tag.mid(after, end - after).toString();
    }
    return {};
}

// A picture tag rebuilt from its source and a bounded size: nothing else a
// contact writes into it (styles, other attributes) reaches the document.
QString boundedImage(QStringView tag)
{
    QString out = QStringLiteral("<img src=\"") + attribute(tag, QLatin1String("src")).toHtmlEscaped() + u'"';
    for (const QLatin1String side : {QLatin1String("width"), QLatin1String("height")}) {
        bool ok = false;
        const int value = attribute(tag, side).trimmed().toInt(&ok);
        if (ok && value > 0)
            out += QStringLiteral(" %1=\"%2\"").arg(side).arg(qMin(value, MessageHtmlGuard::MaxImageSide));
    }
    return out + QStringLiteral(" />");
}

// Pictures the module writes itself (src and nothing else, or a size within
// bounds) pass unchanged.
bool needsBounds(QStringView tag)
{
    if (!attribute(tag, QLatin1String("style")).isEmpty())
        return true;
    for (const QLatin1String side : {QLatin1String("width"), QLatin1String("height")}) {
        const QString value = attribute(tag, side);
        if (!value.isEmpty() && value.trimmed().toInt() > MessageHtmlGuard::MaxImageSide)
            return true;
        if (!value.isEmpty() && value.contains(u'%'))
            return true;
    }
    return false;
}

class Guard
{
public:
    explicit Guard(const QString &html) : m_in(html) { m_out.reserve(qMin<qsizetype>(html.size(), 1 << 20)); }

    QString run(bool *shortened)
    {
        qsizetype at = 0;
        while (at < m_in.size() && !m_cut) {
            if (m_in.at(at) == u'<')
                at = tag(at);
            else
                at = text(at);
        }
        // Close what is still open, so the note after a cut stands on its own.
        while (m_cut && !m_open.isEmpty())
            m_out += QStringLiteral("</") + m_open.takeLast() + u'>';
        if (m_cut)
            m_out += QStringLiteral("<br /><i>") + MessageHtmlGuard::shortenedNote().toHtmlEscaped()
                     + QStringLiteral("</i>");
        if (shortened)
            *shortened = m_cut;
        return m_out;
    }

private:
    qsizetype text(qsizetype at)
    {
        const qsizetype next = m_in.indexOf(u'<', at);
        const qsizetype end = next < 0 ? m_in.size() : next;
        // Text goes out in runs: appending it a character at a time cost
        // more than the rest of placing a page of history.
        qsizetype run = at;
        while (at < end) {
            if (m_shown >= MessageHtmlGuard::MaxTextChars) {
                m_out += QStringView(m_in).mid(run, at - run);
                m_cut = true;
                return m_in.size();
            }
            const QChar c = m_in.at(at);
            qsizetype length = 1;
            if (c == u'&') {
                // An entity is one character: never split it.
                const qsizetype semicolon = m_in.indexOf(u';', at);
                if (semicolon > at && semicolon < end && semicolon - at <= 10)
                    length = semicolon - at + 1;
            } else if (c.isHighSurrogate() && at + 1 < end) {
                length = 2;
            }
            if (isBreakable(c)) {
                m_word = 0;
            } else if (++m_word > MessageHtmlGuard::MaxWordChars) {
                m_out += QStringView(m_in).mid(run, at - run);
                m_out += zeroWidthSpace;
                run = at;
                m_word = 1;
            }
            at += length;
            ++m_shown;
        }
        m_out += QStringView(m_in).mid(run, end - run);
        return end;
    }

    qsizetype tag(qsizetype at)
    {
        // Comments, declarations and processing instructions show nothing.
        if (QStringView(m_in).mid(at, 4) == u"<!--") {
            const qsizetype end = m_in.indexOf(QLatin1String("-->"), at + 4);
            return end < 0 ? m_in.size() : end + 3;
        }
        const qsizetype end = tagEnd(at);
        if (end < 0) {
            // A '<' that opens no tag is text.
            m_out += QStringLiteral("&lt;");
            ++m_shown;
            return at + 1;
        }
        const QStringView whole = QStringView(m_in).mid(at, end - at + 1);
        if (whole.size() > 1 && (whole.at(1) == u'!' || whole.at(1) == u'?'))
            return end + 1;
        const bool closing = whole.size() > 1 && whole.at(1) == u'/';
        qsizetype nameStart = closing ? 2 : 1;
        qsizetype nameEnd = nameStart;
        while (nameEnd < whole.size() && (whole.at(nameEnd).isLetterOrNumber()))
            ++nameEnd;
        const QString name = whole.mid(nameStart, nameEnd - nameStart).toString().toLower();
        if (name.isEmpty()) {
            m_out += QStringLiteral("&lt;");
            ++m_shown;
            return at + 1;
        }
        if (closing)
            close(name, whole);
        else
            open(name, whole);
        return end + 1;
    }

    // The '>' that ends the tag at `at`, skipping quoted attribute values.
    qsizetype tagEnd(qsizetype at) const
    {
        QChar quote;
        for (qsizetype i = at + 1; i < m_in.size(); ++i) {
            const QChar c = m_in.at(i);
            if (!quote.isNull()) {
                if (c == quote)
                    quote = QChar();
            } else if (c == u'"' || c == u'\'') {
                quote = c;
            } else if (c == u'>') {
                return i;
            } else if (c == u'<' && i == at + 1) {
                return -1;
            }
        }
        return -1;
    }

    void open(const QString &name, QStringView whole)
    {
        if (name == u"img") {
            if (++m_images <= MessageHtmlGuard::MaxImages)
                m_out += needsBounds(whole) ? boundedImage(whole) : whole.toString();
            return;
        }
        if (name == u"a" && ++m_links > MessageHtmlGuard::MaxLinks)
            return;
        if (isTablePart(name)) {
            if (name == u"table" && m_tables >= MessageHtmlGuard::MaxTableDepth)
                return;
            if ((name == u"td" || name == u"th") && ++m_cells > MessageHtmlGuard::MaxTableCells)
                return;
            if (name != u"table" && m_tables == 0)
                return; // a cell outside any kept table
            if (m_cells > MessageHtmlGuard::MaxTableCells)
                return;
        }
        if (isVoidElement(name)) {
            m_out += whole;
            return;
        }
        if (m_open.size() >= MessageHtmlGuard::MaxDepth)
            return;
        if (name == u"table")
            ++m_tables;
        m_open.append(name);
        m_out += whole;
    }

    void close(const QString &name, QStringView whole)
    {
        // Only elements that were let through are closed; a closing tag of a
        // dropped one is dropped with it.
        const qsizetype found = m_open.lastIndexOf(name);
        if (found < 0)
            return;
        while (m_open.size() > found) {
            const QString last = m_open.takeLast();
            if (last == u"table")
                --m_tables;
            if (m_open.size() == found)
                m_out += whole;
            else
                m_out += QStringLiteral("</") + last + u'>';
        }
    }

    const QString &m_in;
    QString m_out;
    QList<QString> m_open;
    int m_shown = 0;
    int m_word = 0;
    int m_tables = 0;
    int m_cells = 0;
    int m_links = 0;
    int m_images = 0;
    bool m_cut = false;
};

} // namespace

QString MessageHtmlGuard::bounded(const QString &html, bool *shortened)
{
    return Guard(html).run(shortened);
}

QString MessageHtmlGuard::shortenedNote()
{
    return QCoreApplication::translate("zubrel::MessageHtmlGuard",
                                       "This message is too long to show in full; the rest was left out.");
}

} // namespace zubrel
