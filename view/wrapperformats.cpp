#include "wrapperformats.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

namespace zubrel {

const std::optional<WrapperFormats> &WrapperFormats::of(const QString &open, const QString &close)
{
    // Senders' styles are few, but a bound keeps odd input from growing it.
    constexpr int most = 256;
    static QHash<QString, std::optional<WrapperFormats>> known;
    const QString key = open + QChar(0) + close;
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    if (known.size() >= most)
        known.clear();
    QTextDocument sample;
    sample.setHtml(open + u'x' + close);
    const QTextBlock block = sample.begin();
    std::optional<WrapperFormats> formats;
    auto fragments = block.begin();
    if (sample.blockCount() == 1 && sample.toPlainText() == u"x" && !fragments.atEnd()) {
        const QTextCharFormat text = fragments.fragment().charFormat();
        if ((++fragments).atEnd())
            formats = WrapperFormats{block.blockFormat(), block.charFormat(), text};
    }
    return *known.insert(key, formats);
}

} // namespace zubrel
