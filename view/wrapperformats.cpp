#include "wrapperformats.h"

#include "boundedcache.h"

#include <QTextBlock>
#include <QTextDocument>

namespace zubrel {

std::optional<WrapperFormats> WrapperFormats::of(const QString &open, const QString &close)
{
    // Senders' styles are few, but a bound keeps odd input from growing it.
    static BoundedCache<QString, std::optional<WrapperFormats>> known(256);
    return known.value(open + QChar(0) + close, [&] { return learn(open, close); });
}

std::optional<WrapperFormats> WrapperFormats::learn(const QString &open, const QString &close)
{
    QTextDocument sample;
    sample.setHtml(open + u'x' + close);
    const QTextBlock block = sample.begin();
    auto fragments = block.begin();
    if (sample.blockCount() != 1 || sample.toPlainText() != u"x" || fragments.atEnd())
        return std::nullopt;
    const QTextCharFormat text = fragments.fragment().charFormat();
    if (!(++fragments).atEnd())
        return std::nullopt;
    return WrapperFormats{block.blockFormat(), block.charFormat(), text};
}

} // namespace zubrel
