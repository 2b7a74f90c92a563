#include "wrapperformats.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>

namespace zubrel {

std::optional<WrapperFormats> WrapperFormats::of(const QString &open, const QString &close)
{
    // Senders' styles are few, but a bound keeps odd input from growing it.
    constexpr int most = 256;
    static QHash<QString, std::optional<WrapperFormats>> known;
    const QString key = open + QChar(0) + close;
    if (const auto found = known.constFind(key); found != known.constEnd())
        return *found;
    if (known.size() >= most)
        known.clear();
    return *known.insert(key, learn(open, close));
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
