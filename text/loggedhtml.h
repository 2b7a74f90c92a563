#pragma once
// Records read back from the chat log, made fit to show. A log written by an
// older client, or damaged on disk, can hold markup that shows nothing at
// all (an unclosed comment or style element swallows the rest, a record cut
// in the middle of a tag): such a record is shown as its text, escaped, with
// a note, rather than as an empty entry. Very long records are cut later, by
// MessageHtmlGuard, with its own note.

#include <QString>

namespace zubrel {

class LoggedHtml
{
public:
    // `html` itself when it shows text or a picture, otherwise its characters
    // as plain text (escaped) followed by noteText(); empty stays empty.
    static QString forView(const QString &html);
    static QString noteText();

private:
    static bool showsSomething(const QString &html);
};

} // namespace zubrel
