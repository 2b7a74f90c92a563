#include "messagetemplates.h"

#include <QLocale>

namespace zubrel {

namespace {

// Style values of the templates, kept exactly as other clients write them
// (the body style really names the family twice and glues "font-size" on).
constexpr auto kFont = "font-family: Tahoma, Geneva, Arial, Helvetica, sans-serif; ";
const QString sAlias = QString::fromLatin1(kFont) + QStringLiteral("font-size: 12px; color: #000; font-weight: bold; text-align: left;");
const QString sAliasGrey = QString::fromLatin1(kFont) + QStringLiteral("font-size: 12px; color: #9a9a9a; font-weight: bold; text-align: left;");
const QString sTime = QString::fromLatin1(kFont) + QStringLiteral("font-size: 12px; color: #444;");
const QString sTimeRight = QString::fromLatin1(kFont) + QStringLiteral("font-size: 12px; color: #444; text-align: right;");
const QString sTimeGrey = QString::fromLatin1(kFont) + QStringLiteral("font-size: 12px; color: #9f9f9f;");
const QString sBodyStart = QStringLiteral("margin-left: 20px; margin-right: 2px; ") + QString::fromLatin1(kFont)
                           + QStringLiteral("font-family: Tahoma, Geneva, Arial, Helvetica, sans-serif;font-size: 12px; ");
const QString sBody = sBodyStart + QStringLiteral("color: #000;");
const QString sBodyGrey = sBodyStart + QStringLiteral("color: #c1c1c1;");
const QString sLine = QString::fromLatin1(kFont) + QStringLiteral("font-size: 12px; color: #9a9a9a; font-weight: normal; text-align: left;");
const QString sLineRed = QString::fromLatin1(kFont) + QStringLiteral("font-size: 12px; color: #8d2514; font-weight: normal; text-align: left;");

const QString frameStart = QStringLiteral(
    "<center><table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><img src=\":/blank\">"
    "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"1\"><tr><td bgcolor=\"%1\">"
    "<table width=\"100%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr>");
// One cell end tag fewer than opened, as the conversation has always been
// written.
const QString frameEnd = QStringLiteral("</tr></table></tr></table></td></tr></table>");

QString body(const QString &style, bool ownMark)
{
    return QStringLiteral("<table width=\"96%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td><div style=\"")
           + style + QStringLiteral("\">%msg</div>")
           + (ownMark ? QStringLiteral("<span style=\"color: #ffffff\"></span>") : QString())
           + QStringLiteral("</td></tr></table></center>");
}

struct HeaderLook
{
    const char *frame;
    const char *cell;
    const char *icon;
    const char *w2;
    const char *w3;
    const QString *alias;
    const QString *time;
    const QString *body;
};

QString headerEntry(const HeaderLook &l, bool ownMark)
{
    const QString cell = QString::fromLatin1(l.cell);
    return QString(frameStart).replace(QStringLiteral("%1"), QString::fromLatin1(l.frame))
           + QStringLiteral("<td width=\"5%\" align=\"right\" bgcolor=\"") + cell + QStringLiteral("\"><img src=\"")
           + QString::fromLatin1(l.icon) + QStringLiteral("\"></td>")
           + QStringLiteral("<td width=\"") + QString::fromLatin1(l.w2) + QStringLiteral("\" bgcolor=\"") + cell
           + QStringLiteral("\">&nbsp;<span style=\"") + *l.alias + QStringLiteral("\">%alias</span></td>")
           + QStringLiteral("<td width=\"") + QString::fromLatin1(l.w3) + QStringLiteral("\" bgcolor=\"") + cell
           + QStringLiteral("\" align=\"right\"><span style=\"") + *l.time + QStringLiteral("\">%time</span></td>")
           + frameEnd + body(*l.body, ownMark);
}

QString noticeEntry(const char *cellColour, const QString &lineStyle, const char *icon)
{
    const QString cell = QString::fromLatin1(cellColour);
    QString out = QString(frameStart).replace(QStringLiteral("%1"), QStringLiteral("#f6f6f6"))
                  + QStringLiteral("<td width=\"3%\" align=\"right\" bgcolor=\"") + cell + QStringLiteral("\">&nbsp;</td>");
    if (!icon) {
        out += QStringLiteral("<td width=\"97%\" bgcolor=\"") + cell + QStringLiteral("\"><span style=\"") + lineStyle
               + QStringLiteral("\">%msg</span></td>");
    } else {
        out += QStringLiteral("<td width=\"92%\" bgcolor=\"") + cell + QStringLiteral("\">&nbsp;<span style=\"")
               + lineStyle + QStringLiteral("\">%msg</span></td><td width=\"5%\" align=\"left\" bgcolor=\"") + cell
               + QStringLiteral("\"><img src=\"") + QString::fromLatin1(icon) + QStringLiteral("\"></td>");
    }
    return out + frameEnd + QStringLiteral("</center>");
}

QString continuationEntry(const QString &bodyStyle)
{
    return QStringLiteral("<center><table width=\"95%\" border=\"0\" cellspacing=\"0\" cellpadding=\"0\"><tr><td>"
                          "<img src=\":/msg_dots\"></td></tr></table>")
           + body(bodyStyle, false);
}

} // namespace

QString MessageTemplates::header(Kind kind)
{
    static const QString own = headerEntry({"#f5f5f5", "#f8f8f8", ":/msg_orange", "60%", "35%", &sAlias, &sTime, &sBody}, true);
    static const QString incoming = headerEntry({"#f2f6fb", "#dfedff", ":/msg_blue", "60%", "35%", &sAlias, &sTime, &sBody}, false);
    static const QString mobile = headerEntry({"#f2f6fb", "#dfedff", ":/msg_mobile", "70%", "25%", &sAlias, &sTimeRight, &sBody}, false);
    static const QString log = headerEntry({"#f5f5f5", "#f8f8f8", ":/msg_white", "60%", "35%", &sAliasGrey, &sTimeGrey, &sBodyGrey}, false);
    static const QString system = noticeEntry("#efefef", sLine, nullptr);
    static const QString notify = noticeEntry("#dfedff", sLine, ":/msg_notify");
    static const QString error = noticeEntry("#dfedff", sLineRed, ":/msg_error");
    static const QString blocked = noticeEntry("#dfedff", sLineRed, ":/msg_blocked");
    switch (kind) {
    case Own: return own;
    case Incoming: return incoming;
    case Mobile: return mobile;
    case Log: return log;
    case System: return system;
    case Notify: return notify;
    case Error: return error;
    case Blocked: return blocked;
    }
    return system;
}

QString MessageTemplates::continuation(Kind kind)
{
    static const QString normal = continuationEntry(sBody);
    static const QString grey = continuationEntry(sBodyGrey);
    if (isNotice(kind))
        return {};
    return kind == Log ? grey : normal;
}

QString MessageTemplates::bodyStyle(Kind kind)
{
    return kind == Log ? sBodyGrey : sBody;
}

QString MessageTemplates::lineStyle(Kind kind)
{
    return kind == Error || kind == Blocked ? sLineRed : sLine;
}

QString MessageTemplates::pushMessageEntry(const QString &clipPath, const QString &playText, const QString &saveText)
{
    // Escaped so that a path or text with quotes or ampersands cannot break
    // out of the link; ordinary paths come out unchanged.
    const QString path = clipPath.toHtmlEscaped();
    return QStringLiteral("<table border=\"0\" cellpadding=\"2\" cellspacing=\"5\"><tr><td><a href=\"pushplay:") + path
           + QStringLiteral("\"><img src=\":/pushaudio-36\"></a></td><td><a href=\"pushplay:") + path
           + QStringLiteral("\">") + playText.toHtmlEscaped() + QStringLiteral("</a><br><a href=\"pushsave:") + path
           + QStringLiteral("\">") + saveText.toHtmlEscaped() + QStringLiteral("</a></td></tr></table>");
}

QString MessageTemplates::fill(const QString &tmpl, const QString &alias, const QString &time, const QString &abstime,
                               const QString &msg)
{
    struct Placeholder { QLatin1StringView name; const QString *value; };
    // "%abstime" before "%time" is not needed for matching ("%time" is not a
    // part of "%abstime"), but longest names first keeps the scan obvious.
    const Placeholder placeholders[] = {{QLatin1StringView("%abstime"), &abstime},
                                        {QLatin1StringView("%alias"), &alias},
                                        {QLatin1StringView("%time"), &time},
                                        {QLatin1StringView("%msg"), &msg}};
    QString out;
    out.reserve(tmpl.size() + alias.size() + time.size() + abstime.size() + msg.size());
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = tmpl.indexOf(u'%', from);
        if (at < 0)
            break;
        out += QStringView(tmpl).mid(from, at - from);
        const QStringView rest = QStringView(tmpl).mid(at);
        bool matched = false;
        for (const Placeholder &p : placeholders) {
            if (rest.startsWith(p.name)) {
                out += *p.value;
                from = at + p.name.size();
                matched = true;
                break;
            }
        }
        if (!matched) {
            out += u'%';
            from = at + 1;
        }
    }
    out += QStringView(tmpl).mid(from);
    return out;
}

QString MessageTemplates::stripStyles(const QString &html)
{
    static const QString open = QStringLiteral("<span style=");
    static const QString close = QStringLiteral("</span>");
    QString out;
    out.reserve(html.size());
    qsizetype from = 0;
    while (from < html.size()) {
        const qsizetype openAt = html.indexOf(open, from);
        const qsizetype closeAt = html.indexOf(close, from);
        if (openAt < 0 && closeAt < 0)
            break;
        if (closeAt >= 0 && (openAt < 0 || closeAt < openAt)) {
            out += QStringView(html).mid(from, closeAt - from);
            from = closeAt + close.size();
            continue;
        }
        // The start tag runs to the next '"' that is followed by '>'.
        const qsizetype end = html.indexOf(QStringLiteral("\">"), openAt + open.size());
        if (end < 0) {
            // An unterminated tag is left as it is rather than swallowing
            // the rest of the message.
            out += QStringView(html).mid(from, openAt + open.size() - from);
            from = openAt + open.size();
            continue;
        }
        out += QStringView(html).mid(from, openAt - from);
        from = end + 2;
    }
    out += QStringView(html).mid(from);
    return out;
}

namespace {

// Every entry formats its time twice, and a busy chat gets many entries
// within one second: the last second's forms are kept. Kept per thread, as
// the formatting itself is.
struct TimeForms
{
    QDate date;
    int second = -1;
    QLocale locale;
    QString dateForm; // the locale's short date, kept while the day lasts
    QString shortForm;
    QString longForm;
};

void appendTwoDigits(QString &out, int value)
{
    out += QChar(u'0' + value / 10);
    out += QChar(u'0' + value % 10);
}

const TimeForms &formsOf(const QDateTime &time)
{
    thread_local TimeForms last;
    const QDate date = time.date();
    const int second = time.isValid() ? time.time().msecsSinceStartOfDay() / 1000 : -1;
    const QLocale locale;
    if (second < 0) {
        last = TimeForms();
        last.shortForm = time.toString(QStringLiteral("hh:mm"));
        last.longForm = locale.toString(date, QLocale::ShortFormat) + u' ' + time.toString(QStringLiteral("hh:mm:ss"));
        return last;
    }
    if (second != last.second || date != last.date || locale != last.locale) {
        // The reader's own date order: a fixed year/day/month form reads
        // 7 December as 12 July for nearly everyone. A page of history
        // spans few days, so the date is formatted once per day.
        if (date != last.date || locale != last.locale || last.dateForm.isNull())
            last.dateForm = locale.toString(date, QLocale::ShortFormat);
        last.date = date;
        last.second = second;
        last.locale = locale;
        // Times with ASCII digits, as QDateTime::toString("hh:mm") writes them.
        QString hm;
        hm.reserve(5);
        appendTwoDigits(hm, second / 3600);
        hm += u':';
        appendTwoDigits(hm, second / 60 % 60);
        last.shortForm = hm;
        QString full;
        full.reserve(last.dateForm.size() + 9);
        full += last.dateForm;
        full += u' ';
        full += hm;
        full += u':';
        appendTwoDigits(full, second % 60);
        last.longForm = full;
    }
    return last;
}

} // namespace

QString MessageTemplates::shortTime(const QDateTime &time)
{
    return formsOf(time).shortForm;
}

QString MessageTemplates::longTime(const QDateTime &time)
{
    return formsOf(time).longForm;
}

} // namespace zubrel
