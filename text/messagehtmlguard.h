#pragma once
// Bounds what one message body can cost before it reaches a text document.
// A contact decides the HTML; Qt's rich-text engine lays out nested tables,
// deep inline nesting and long unbroken words in more than linear time and
// memory, and parses nesting recursively. One pass over the text keeps the
// markup that ordinary messages use and drops what exceeds the limits below
// (the text inside dropped tags stays), so every message is shown, in
// bounded time, with a note when it had to be shortened.

#include <QString>

namespace zubrel {

class MessageHtmlGuard
{
public:
    // Characters of text shown per message: a long letter fits, and laying
    // out this many stays far below a second; the rest is cut with a note.
    static constexpr int MaxTextChars = 100'000;
    // Open elements at once: messages written in the client nest a handful;
    // parsing and layout cost grow with every level, and thousands of levels
    // overflow the parser's stack.
    static constexpr int MaxDepth = 24;
    // Tables inside tables: layout time triples with every two levels.
    static constexpr int MaxTableDepth = 2;
    // Cells per message: each is a frame the layout revisits.
    static constexpr int MaxTableCells = 1'000;
    // Links per message: every anchor carries its own character format, about
    // a hundred times the bytes of its text.
    static constexpr int MaxLinks = 500;
    // Pictures per message, and the largest width or height a message may ask
    // for: a declared 100000 x 100000 picture would be scaled into gigabytes.
    static constexpr int MaxImages = 100;
    static constexpr int MaxImageSide = 2'048;
    // Longest run of text without a break opportunity: line breaking of an
    // unbroken word is quadratic in its length, so longer runs get a
    // zero-width break opportunity (invisible, removed again when copied).
    static constexpr int MaxWordChars = 120;

    // The bounded body; `shortened` (optional) tells whether text was cut.
    static QString bounded(const QString &html, bool *shortened = nullptr);
    // Appended to a cut message.
    static QString shortenedNote();
};

} // namespace zubrel
