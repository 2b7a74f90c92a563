#pragma once
// Notices ("Anna has joined the Multi Chat.") are one styled span of plain
// words. A busy group shows one per join, and reading each through the HTML
// importer parses the span's style sheet again every time; a notice whose
// HTML holds nothing but text and the escapes QString::toHtmlEscaped()
// writes is put into its document directly, with the formats the importer
// gave the same span once.

#include <QString>

class QTextDocument;

namespace zubrel {

class PlainNotice
{
public:
    // The words of a notice body, or a null string when the body needs the
    // HTML importer (markup, other entities, white space it would fold).
    static QString words(const QString &html);
    // Fills an empty document as setHtml() of <span style="style">html</span>
    // would, given the words of that html.
    static void fill(QTextDocument *document, const QString &style, const QString &words);
};

} // namespace zubrel
