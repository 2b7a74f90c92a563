#pragma once
// What Qt's HTML importer makes of the wrapper tags around a message body,
// learnt once per wrapper. The fast paths for plain and inline bodies give
// their text these formats instead of having the importer parse the
// wrappers' style sheets again for every message.

#include <QString>
#include <QTextFormat>

#include <optional>

namespace zubrel {

struct WrapperFormats
{
    QTextBlockFormat block;
    QTextCharFormat blockChar;
    QTextCharFormat text;

    // The formats setHtml(open + "x" + close) gives; none when the wrappers
    // make anything but one block holding the text. Remembered per wrapper;
    // a copy (the formats are shared), as the memory may forget it at the
    // next call.
    static std::optional<WrapperFormats> of(const QString &open, const QString &close);
    // The same, asked of the importer every time.
    static std::optional<WrapperFormats> learn(const QString &open, const QString &close);
};

} // namespace zubrel
