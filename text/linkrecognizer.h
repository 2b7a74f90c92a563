#pragma once
// Turns addresses, mail addresses and telephone numbers of a typed message
// into links. Works on the input's plain text (to find the words) and on its
// HTML form (where the links go), so the user's formatting survives.
#include <QString>
#include <QStringList>

namespace zubrel {

class LinkRecognizer
{
public:
    enum class Form { None, Plain, Mail, Web, Sip };

    // What one word becomes: the text to find in the HTML form and the link
    // that replaces it. form None: the word stays as it is.
    struct Match {
        Form form = Form::None;
        QString find;  // text searched in the HTML form
        QString href;  // %1 of the form
        QString text;  // %2 of the SIP form (the number as typed)
    };

    static const QStringList &schemes();
    static const QStringList &mailSchemes();
    static const QStringList &sipSchemes();
    // The 273 top-level domains, each with its leading dot.
    static const QStringList &topLevelDomains();
    static bool isTopLevelDomain(QStringView tld);
    static const QStringList &dateFormats();
    static bool isDate(const QString &word);
    static bool isBlocking(QChar c);

    // Applies the rules to one word (a trailing dot is dropped first).
    static Match classify(QString word);
    // The markup that replaces match.find.
    static QString linkMarkup(const Match &match);

    // The words of the plain text in order: line breaks and tabs count as
    // blanks, split at single blanks (empty parts kept).
    static QStringList words(const QString &plainText);
    // The HTML form with every recognised word linked. One forward pass over
    // the HTML: a word is searched from where the previous link ended.
    static QString linkify(const QString &plainText, const QString &html);
    // The part of a rich-text document's HTML that is sent: from the end of
    // the first "<p" start tag to the last "</p>".
    static QString messageBody(const QString &html);
};

} // namespace zubrel
