#pragma once
// The HTML templates every entry of a chat tab's message view is built from,
// and the small text rules around them (placeholders, style stripping, time
// forms). The strings are fixed: other clients and the chat log read the
// stored conversation, so they must not drift.

#include <QDateTime>
#include <QString>

namespace zubrel {

class MessageTemplates
{
public:
    enum Kind { Own, Incoming, Mobile, Log, System, Notify, Error, Blocked };

    // The full entry: a header band with %alias and %time above the %msg body
    // for Own/Incoming/Mobile/Log, a one-line %msg notice for the others.
    static QString header(Kind kind);
    // The header-less entry that follows one from the same sender (dots
    // picture above the body). Empty for the notice kinds, which never group.
    static QString continuation(Kind kind);
    // The play/save links of a push message, used as the %msg of an entry.
    static QString pushMessageEntry(const QString &clipPath, const QString &playText, const QString &saveText);

    // Replaces every "%alias", "%time", "%abstime" and "%msg" of the template.
    // The template is scanned once, so a value that itself contains a
    // placeholder (an alias "%msg") is inserted literally, never expanded.
    static QString fill(const QString &tmpl, const QString &alias, const QString &time,
                        const QString &abstime, const QString &msg);
    // Removes every styled span start tag ("<span style=" up to the next '"'
    // followed by '>') and every "</span>". Other tags stay.
    static QString stripStyles(const QString &html);

    static QString shortTime(const QDateTime &time); // "hh:mm"
    static QString longTime(const QDateTime &time);  // locale's short date, "hh:mm:ss"

    static bool isNotice(Kind kind) { return kind >= System; }
    // The style of an entry's body div (header kinds) or notice span, as the
    // kind's template writes it; the view lays bodies out with them.
    static QString bodyStyle(Kind kind);
    static QString lineStyle(Kind kind);
};

} // namespace zubrel
