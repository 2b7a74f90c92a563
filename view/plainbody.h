#pragma once
// Most messages are plain words in the sender's styled span inside the
// body's styled div. Reading each through the HTML importer parses both
// style sheets again for every message, which is most of what a new entry
// costs; a body of nothing but such wrappers around plain words is put into
// its document directly, with the formats the importer gave the same
// wrappers once.

#include <QString>

class QTextDocument;

namespace zubrel {

class PlainBody
{
public:
    // Fills an empty document as setHtml(html) would and returns true when
    // html is only <div> and <span> tags around words PlainNotice::words()
    // accepts; returns false, leaving the document empty, otherwise.
    static bool fill(QTextDocument *document, const QString &html);
    // Fills an empty document as setHtml(open + text + close) would, given
    // the words of text; false when the wrappers make more than one block.
    static bool fill(QTextDocument *document, const QString &open, const QString &words, const QString &close);
};

} // namespace zubrel
