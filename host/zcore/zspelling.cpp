#include "zspelling.h"

#include "zdir.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <hunspell/hunspell.hxx>
#include <iconv.h>


namespace zubrel {

namespace {

struct DictionaryFiles
{
    QString aff;
    QString dic;
};

QStringList searchFolders()
{
    return {ZDir::applicationPath() + QLatin1String("/spelling")};
}

// Converts between QString and a dictionary's 8-bit encoding. Hunspell names
// encodings as in its "SET" line; iconv knows them except for the
// "microsoft-" prefix. A word the encoding cannot hold is reported as failed
// rather than mangled into a different word.
class Encoding
{
public:
    explicit Encoding(const std::string &name)
    {
        QByteArray iconvName = QByteArray::fromStdString(name).trimmed().toUpper();
        if (iconvName.startsWith("MICROSOFT-"))
            iconvName = iconvName.mid(10);
        m_utf8 = iconvName.isEmpty() || iconvName == "UTF-8" || iconvName == "UTF8";
        if (!m_utf8) {
            m_to = iconv_open(iconvName.constData(), "UTF-8");
            m_from = iconv_open("UTF-8", iconvName.constData());
        }
    }
    ~Encoding()
    {
        if (m_to != invalid())
            iconv_close(m_to);
        if (m_from != invalid())
            iconv_close(m_from);
    }
    Encoding(const Encoding &) = delete;
    Encoding &operator=(const Encoding &) = delete;

    bool encode(const QString &text, std::string *out) const
    {
        const QByteArray utf8 = text.toUtf8();
        if (m_utf8) {
            *out = utf8.toStdString();
            return true;
        }
        return convert(m_to, utf8, out);
    }

    QString decode(const std::string &text) const
    {
        if (m_utf8)
            return QString::fromStdString(text);
        std::string utf8;
        if (!convert(m_from, QByteArray::fromStdString(text), &utf8))
            return {};
        return QString::fromStdString(utf8);
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }

    static bool convert(iconv_t cd, const QByteArray &in, std::string *out)
    {
        if (cd == invalid())
            return false;
        iconv(cd, nullptr, nullptr, nullptr, nullptr); // reset shift state
        QByteArray input = in;
        char *inPtr = input.data();
        size_t inLeft = size_t(input.size());
        std::string result(input.size() * 4 + 16, '\0');
        char *outPtr = result.data();
        size_t outLeft = result.size();
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1))
            return false;
        result.resize(result.size() - outLeft);
        *out = std::move(result);
        return true;
    }

    bool m_utf8 = true;
    iconv_t m_to = invalid();
    iconv_t m_from = invalid();
};

} // namespace

class ZSpelling::Private
{
public:
    QMap<QString, DictionaryFiles> dictionaries; // sorted by name
    QString current;
    std::unique_ptr<Hunspell> hunspell;
    std::unique_ptr<Encoding> encoding;

    void scan()
    {
        dictionaries.clear();
        for (const QString &folder : searchFolders()) {
            const QFileInfoList files = QDir(folder).entryInfoList(
                {QStringLiteral("*.dic")}, QDir::Files | QDir::Readable, QDir::Name);
            for (const QFileInfo &dic : files) {
                const QString name = dic.completeBaseName();
                const QString aff = dic.absolutePath() + QLatin1Char('/') + name + QLatin1String(".aff");
                if (name.isEmpty() || dictionaries.contains(name) || !QFileInfo(aff).isReadable())
                    continue;
                dictionaries.insert(name, {aff, dic.absoluteFilePath()});
            }
        }
    }

    void load(const QString &name)
    {
        hunspell.reset();
        encoding.reset();
        current = name;
        if (name.isEmpty())
            return;
        const DictionaryFiles files = dictionaries.value(name);
        hunspell = std::make_unique<Hunspell>(QFile::encodeName(files.aff).constData(),
                                              QFile::encodeName(files.dic).constData());
        encoding = std::make_unique<Encoding>(hunspell->get_dict_encoding());
    }

    QString defaultDictionary() const
    {
        if (dictionaries.contains(QStringLiteral("en_US")))
            return QStringLiteral("en_US");
        return dictionaries.isEmpty() ? QString() : dictionaries.firstKey();
    }
};

ZSpelling::ZSpelling()
    : d(std::make_unique<Private>())
{
    d->scan();
    d->load(d->defaultDictionary());
}

ZSpelling::~ZSpelling() = default;

ZSpelling *ZSpelling::instance()
{
    static ZSpelling spelling;
    return &spelling;
}

// Hunspell is linked in: the service is there even before the first
// dictionary is, so the spelling menu can offer to install one.
bool ZSpelling::isAvailable() const
{
    return true;
}

// Keeps the dictionary in use when it is still there; a reinstalled copy of
// it is loaded afresh.
void ZSpelling::reload()
{
    const QString previous = d->current;
    d->scan();
    d->load(d->dictionaries.contains(previous) ? previous : d->defaultDictionary());
    emit dictionariesChanged();
}

QStringList ZSpelling::dictionaries() const
{
    return d->dictionaries.keys();
}

QString ZSpelling::dictionary() const
{
    return d->current;
}

bool ZSpelling::setDictionary(const QString &name)
{
    if (!d->dictionaries.contains(name))
        return false;
    if (name != d->current)
        d->load(name);
    return true;
}

bool ZSpelling::isCorrect(const QString &word) const
{
    std::string encoded;
    if (!d->hunspell || !d->encoding->encode(word, &encoded))
        return false;
    return d->hunspell->spell(encoded);
}

QStringList ZSpelling::suggestions(const QString &word) const
{
    std::string encoded;
    if (!d->hunspell || word.isEmpty() || !d->encoding->encode(word, &encoded))
        return {};
    QStringList result;
    for (const std::string &suggestion : d->hunspell->suggest(encoded)) {
        const QString text = d->encoding->decode(suggestion);
        if (!text.isEmpty())
            result.append(text);
    }
    return result;
}

} // namespace zubrel
