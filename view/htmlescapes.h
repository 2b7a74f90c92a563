#pragma once
// The direct fills read bodies the module escaped itself, so they decode
// only the entities QString::toHtmlEscaped() writes; anything else sends a
// body back to the HTML importer.

#include <QLatin1StringView>
#include <QStringView>

#include <algorithm>
#include <iterator>

namespace zubrel::HtmlEscapes {

struct Escape
{
    QLatin1StringView text;
    QChar character;
};

// The escape that text starts with, or nullptr when it starts with none.
inline const Escape *at(QStringView text)
{
    static const Escape escapes[] = {{QLatin1StringView("&amp;"), u'&'},
                                     {QLatin1StringView("&lt;"), u'<'},
                                     {QLatin1StringView("&gt;"), u'>'},
                                     {QLatin1StringView("&quot;"), u'"'}};
    const auto found = std::find_if(std::begin(escapes), std::end(escapes),
                                    [text](const Escape &e) { return text.startsWith(e.text); });
    return found == std::end(escapes) ? nullptr : found;
}

} // namespace zubrel::HtmlEscapes
