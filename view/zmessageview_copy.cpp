// The selection as HTML, for pasting into other applications.
#include "zmessageview.h"

#include "messagelayout.h"
#include "messageviewmodel.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

namespace zubrel {

namespace {
// Pictures are embedded up to this many bytes in all: a selection of a
// whole long history must not put hundreds of megabytes on the clipboard.
constexpr qsizetype maxEmbeddedBytes = 16 * 1024 * 1024;

QString fragmentBody(const QString &html)
{
    const qsizetype start = html.indexOf(QLatin1String("<!--StartFragment-->"));
    const qsizetype end = html.indexOf(QLatin1String("<!--EndFragment-->"));
    if (start < 0 || end < start)
        return html;
    return html.mid(start + 20, end - start - 20);
}

// Another application cannot resolve the module's own picture names: each
// picture the entry's document has loaded goes along as a data: URL.
QString embedPictures(const QString &html, QTextDocument *doc, qsizetype *budget)
{
    static const QRegularExpression source(QStringLiteral("<img([^>]*?)src=\"([^\"]*)\""));
    QString out;
    qsizetype last = 0;
    auto it = source.globalMatch(html);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(html).mid(last, m.capturedStart(2) - last);
        last = m.capturedEnd(2);
        const QString name = m.captured(2);
        const QVariant resource = doc->resource(QTextDocument::ImageResource, QUrl(name));
        const QImage image = resource.value<QImage>();
        QByteArray png;
        if (!image.isNull() && *budget > 0) {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        }
        if (png.isEmpty() || png.size() > *budget) {
            out += name.toHtmlEscaped();
            continue;
        }
        *budget -= png.size();
        out += QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    }
    out += QStringView(html).mid(last);
    return out;
}
} // namespace

QString ZMessageView::selectedHtml()
{
    if (!hasSelection())
        return {};
    const Position start = qMin(m_anchor, m_cursor);
    const Position end = qMax(m_anchor, m_cursor);
    qsizetype budget = maxEmbeddedBytes;
    QString out;
    for (int i = start.entry; i <= end.entry && i < m_model->count(); ++i) {
        const int from = i == start.entry ? start.pos : -1;
        const int to = i == end.entry ? end.pos : INT_MAX;
        const MessageEntry &entry = m_model->entry(i);
        const bool hasHeader = !entry.continuation && !MessageTemplates::isNotice(entry.kind);
        if (from < 0 && to >= 0 && hasHeader)
            out += QStringLiteral("<p><b>%1</b> %2</p>\n").arg(entry.alias.toHtmlEscaped(),
                                                              entry.time.toHtmlEscaped());
        if (to < 0)
            continue;
        QTextDocument *doc = measuredDocument(i);
        const int last = doc->characterCount() - 1;
        QTextCursor cursor(doc);
        cursor.setPosition(qBound(0, from, last));
        cursor.setPosition(qBound(0, to, last), QTextCursor::KeepAnchor);
        if (!cursor.hasSelection())
            continue;
        const QString body = fragmentBody(QTextDocumentFragment(cursor).toHtml());
        out += QStringLiteral("<div>") + embedPictures(body, doc, &budget) + QStringLiteral("</div>\n");
    }
    return QStringLiteral("<html><body>\n") + out + QStringLiteral("</body></html>");
}

} // namespace zubrel
