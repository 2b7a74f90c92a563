#pragma once
// The character format Qt's HTML importer gives text inside one inline tag
// (a styled span, a link, bold, italic, underline), learnt once per tag as
// written (per palette for links, whose colour comes from it). Bodies of such
// tags around words are put into their documents directly with these
// formats instead of through the importer.

#include "wrapperformats.h"

#include <QString>
#include <QTextFormat>

#include <optional>

class QTextDocument;

namespace zubrel {

class InlineTags
{
public:
    // Fills an empty document as setHtml(open + html + close) would, given
    // the wrappers' formats: each piece of text gets the wrappers' text format
    // merged with what its own tags set. False, with the document untouched,
    // for any markup, white space or entity not known to come out the same.
    static bool fill(QTextDocument *document, const WrapperFormats &wrappers, const QString &html);

private:
    // What the importer gives "x" in <div>open x close</div>; none when that
    // is not one piece of text.
    static std::optional<QTextCharFormat> learn(const QString &open, const QString &close);
};

} // namespace zubrel
