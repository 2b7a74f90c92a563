#pragma once
// A message body of inline markup only (bold, links, pictures, coloured
// spans) is one block of the body style's div. Read through the HTML importer
// inside that div, the div's long style is parsed again for every message, a
// fifth of the work of showing one in a busy group; such a body is imported
// alone and given the formats the div passes down, learnt once per style.
// Links, line breaks, bold, italic and styled spans around words skip the
// importer altogether (InlineTags).

#include <QString>

class QTextDocument;

namespace zubrel {

class InlineBody
{
public:
    // False when the body may make blocks, frames or block formats of its
    // own (paragraphs, tables, alignment, margins); those go to the importer.
    static bool inlineOnly(const QString &html);
    // Fills an empty document as setHtml() of <div style="style">html</div>
    // would. False, with the document to be filled again, when the body made
    // more than one block after all.
    static bool fill(QTextDocument *document, const QString &style, const QString &html);
};

} // namespace zubrel
