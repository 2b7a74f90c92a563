#include "linkrecognizer.h"

#include <QDate>

namespace zubrel {

namespace {

bool startsWithAny(const QString &word, const QStringList &list)
{
    for (const QString &entry : list) {
        if (word.startsWith(entry))
            return true;
    }
    return false;
}

bool isAllDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Rule d: local@domain.tld with a listed top-level domain.
bool isMailAddress(const QString &word)
{
    const int dot = word.lastIndexOf(u'.');
    const int at = dot > 0 ? word.lastIndexOf(u'@', dot - 1) : -1;
    if (at < 0)
        return false;
    const QStringView tld = QStringView(word).mid(dot);
    return LinkRecognizer::isTopLevelDomain(tld) && dot - at - 1 >= 2 && at >= 1;
}

// Rule e: name.tld (or www...) with a listed top-level domain.
bool isWebAddress(const QString &word)
{
    if (!word.contains(u'.') && !word.startsWith(QLatin1String("www")))
        return false;
    const int dot = word.lastIndexOf(u'.');
    if (dot < 2)
        return false;
    return word.at(dot - 1).isLetterOrNumber()
           && LinkRecognizer::isTopLevelDomain(QStringView(word).mid(dot));
}

LinkRecognizer::Match telephoneNumber(const QString &word, bool *dateFound)
{
    LinkRecognizer::Match match;
    if (LinkRecognizer::isDate(word)) {
        *dateFound = true;
        return match;
    }
    if ((word.startsWith(u'0') && word.contains(u'+')) || word.size() < 6)
        return match;
    QString digits;
    QString href;
    digits.reserve(word.size());
    href.reserve(word.size());
    for (QChar c : word) {
        const bool separator = c == u'-' || c == u'.' || c == u'/' || c == u'\\';
        if (!separator)
            href.append(c);
        if (!separator && c != u'+' && c != u'#' && c != u'*')
            digits.append(c);
    }
    if (!isAllDigits(digits))
        return match;
    match.form = LinkRecognizer::Form::Sip;
    match.find = word;
    match.href = href;
    match.text = word;
    return match;
}

LinkRecognizer::Match shortNumber(const QString &word)
{
    LinkRecognizer::Match match;
    const qulonglong number = isAllDigits(word) ? word.toULongLong() : 0;
    const bool service = word.startsWith(QLatin1String("10")) && word.size() == 5 && number >= 10000;
    const bool local = number >= 400000 && word.size() < 7;
    if (service || local) {
        match.form = LinkRecognizer::Form::Sip;
        match.find = word;
        match.href = word;
        match.text = word;
    }
    return match;
}

} // namespace

const QStringList &LinkRecognizer::schemes()
{
    static const QStringList list{QStringLiteral("http://"), QStringLiteral("https://"),
                                  QStringLiteral("ftp://"), QStringLiteral("ftps://"),
                                  QStringLiteral("sftp://")};
    return list;
}

const QStringList &LinkRecognizer::mailSchemes()
{
    static const QStringList list{QStringLiteral("mailto:"), QStringLiteral("imap:"),
                                  QStringLiteral("news:")};
    return list;
}

const QStringList &LinkRecognizer::sipSchemes()
{
    static const QStringList list{QStringLiteral("sip:"), QStringLiteral("sips:")};
    return list;
}

const QStringList &LinkRecognizer::topLevelDomains()
{
    static const QStringList list{
    ".arpa", ".pro", ".org", ".net", ".name", ".int", ".info", ".com", ".biz", ".travel", ".tel",
    ".museum", ".mobi", ".mil", ".jobs", ".gov", ".edu", ".coop", ".cat", ".aero", ".ac", ".ad",
    ".ae", ".af", ".ag", ".ai", ".al", ".am", ".an", ".ao", ".aq", ".ar", ".as", ".at", ".au",
    ".aw", ".ax", ".az", ".ba", ".bb", ".bd", ".be", ".bf", ".bg", ".bh", ".bi", ".bj", ".bm",
    ".bn", ".bo", ".br", ".bs", ".bt", ".bv", ".bw", ".by", ".bz", ".ca", ".cc", ".cd", ".cf",
    ".cg", ".ch", ".ci", ".ck", ".cl", ".cm", ".cn", ".co", ".cr", ".cs", ".cu", ".cv", ".cx",
    ".cy", ".cz", ".dd", ".de", ".dj", ".dk", ".dm", ".do", ".dz", ".ec", ".ee", ".eg", ".eh",
    ".er", ".es", ".et", ".eu", ".fi", ".fj", ".fk", ".fm", ".fo", ".fr", ".fx", ".ga", ".gb",
    ".gd", ".ge", ".gf", ".gg", ".gh", ".gi", ".gl", ".gm", ".gn", ".gp", ".gq", ".gr", ".gs",
    ".gt", ".gu", ".gw", ".gy", ".hk", ".hm", ".hn", ".hr", ".ht", ".hu", ".id", ".ie", ".il",
    ".im", ".in", ".io", ".iq", ".ir", ".is", ".it", ".je", ".jm", ".jo", ".jp", ".ke", ".kg",
    ".kh", ".ki", ".km", ".kn", ".kp", ".kr", ".kw", ".ky", ".kz", ".la", ".lb", ".lc", ".li",
    ".lk", ".lr", ".ls", ".lt", ".lu", ".lv", ".ly", ".ma", ".mc", ".md", ".me", ".mg", ".mh",
    ".mk", ".ml", ".mm", ".mn", ".mo", ".mp", ".mq", ".mr", ".ms", ".mt", ".mu", ".mv", ".mw",
    ".mx", ".my", ".mz", ".na", ".nc", ".ne", ".nf", ".ng", ".ni", ".nl", ".no", ".np", ".nr",
    ".nu", ".nz", ".om", ".pa", ".pe", ".pf", ".pg", ".ph", ".pk", ".pl", ".pm", ".pn", ".pr",
    ".ps", ".pt", ".pw", ".py", ".qa", ".re", ".ro", ".rs", ".ru", ".rw", ".sa", ".sb", ".sc",
    ".sd", ".se", ".sg", ".sh", ".si", ".sj", ".sk", ".sl", ".sm", ".sn", ".so", ".sr", ".st",
    ".su", ".sv", ".sy", ".sz", ".tc", ".td", ".tf", ".tg", ".th", ".tj", ".tk", ".tl", ".tm",
    ".tn", ".to", ".tp", ".tr", ".tt", ".tv", ".tw", ".tz", ".ua", ".ug", ".uk", ".um", ".us",
    ".uy", ".uz", ".va", ".vc", ".ve", ".vg", ".vi", ".vn", ".vu", ".wf", ".ws", ".ye", ".yt",
    ".yu", ".za", ".zm", ".zw",    };
    return list;
}

bool LinkRecognizer::isTopLevelDomain(QStringView tld)
{
    // Asked for nearly every word of a message: two-letter codes come from a
    // 26 x 26 table, the few longer names are compared directly.
    struct Table {
        bool twoLetter[26][26] = {};
        QStringList longer;
    };
    static const Table table = [] {
        Table t;
        for (const QString &entry : topLevelDomains()) {
            if (entry.size() == 3)
                t.twoLetter[entry.at(1).unicode() - 'a'][entry.at(2).unicode() - 'a'] = true;
            else
                t.longer.append(entry);
        }
        return t;
    }();
    if (tld.size() < 3 || tld.size() > 7 || tld.at(0) != u'.')
        return false;
    if (tld.size() == 3) {
        const char16_t a = tld.at(1).unicode();
        const char16_t b = tld.at(2).unicode();
        return a >= 'a' && a <= 'z' && b >= 'a' && b <= 'z' && table.twoLetter[a - 'a'][b - 'a'];
    }
    for (const QString &entry : table.longer) {
        if (tld == entry)
            return true;
    }
    return false;
}

const QStringList &LinkRecognizer::dateFormats()
{
    static const QStringList list{
        QStringLiteral("dd.MM.yy"),   QStringLiteral("dd.MMyy"),   QStringLiteral("ddMMyy"),
        QStringLiteral("dd.MM.yyy"),  QStringLiteral("dd.MMyyy"),  QStringLiteral("ddMMyyy"),
        QStringLiteral("dd.MM.yyyy"), QStringLiteral("dd.MMyyyy"), QStringLiteral("ddMMyyyy")};
    return list;
}

namespace {

// Reads one of the date formats strictly: "dd" and "MM" two digits, "yy"
// two (19yy, as the date parser reads it), "yyyy" four, "." itself. A
// three-letter year run never matches, as with the date parser.
bool matchesDateFormat(QStringView word, QStringView format)
{
    int day = -1, month = -1, year = -1;
    qsizetype at = 0;
    for (qsizetype f = 0; f < format.size();) {
        const QChar c = format.at(f);
        if (c == u'.') {
            if (at >= word.size() || word.at(at) != u'.')
                return false;
            ++at;
            ++f;
            continue;
        }
        qsizetype run = 1;
        while (f + run < format.size() && format.at(f + run) == c)
            ++run;
        if (run == 3 || at + run > word.size())
            return false;
        int value = 0;
        for (qsizetype i = 0; i < run; ++i) {
            const QChar digit = word.at(at + i);
            if (digit < u'0' || digit > u'9')
                return false;
            value = value * 10 + digit.unicode() - '0';
        }
        if (c == u'd')
            day = value;
        else if (c == u'M')
            month = value;
        else
            year = run == 2 ? 1900 + value : value;
        at += run;
        f += run;
    }
    return at == word.size() && QDate(year, month, day).isValid();
}

} // namespace

bool LinkRecognizer::isDate(const QString &word)
{
    // A date is digits and dots only; most words fail here at once.
    if (word.size() < 6 || word.size() > 10)
        return false;
    for (QChar c : word) {
        if (c != u'.' && (c < u'0' || c > u'9'))
            return false;
    }
    for (const QString &format : dateFormats()) {
        if (matchesDateFormat(word, format))
            return true;
    }
    return false;
}

bool LinkRecognizer::isBlocking(QChar c)
{
    return c == u':' || c == u'/' || c == u'<' || c == u'"';
}

LinkRecognizer::Match LinkRecognizer::classify(QString word)
{
    if (word.endsWith(u'.'))
        word.chop(1);
    Match match;
    if (word.isEmpty())
        return match;
    if (startsWithAny(word, schemes())) {
        // The HTML form escapes "&", so the word is searched (and linked)
        // the way it stands there.
        word.replace(u'&', QLatin1String("&amp;"));
        return {Form::Plain, word, word, word};
    }
    if (startsWithAny(word, mailSchemes()) || startsWithAny(word, sipSchemes()))
        return {Form::Plain, word, word, word};

    bool tryWeb = true;
    if (word.contains(u'.') && word.contains(u'@')) {
        if (isMailAddress(word))
            return {Form::Mail, word, word, word};
        tryWeb = false; // a failed mail address goes straight to the numbers
    }
    if (tryWeb && isWebAddress(word)) {
        for (const QString &scheme : schemes()) {
            const int at = word.indexOf(scheme);
            if (at >= 0) {
                const QString part = word.mid(at);
                return {Form::Plain, part, part, part};
            }
        }
        return {Form::Web, word, word, word};
    }
    if (word.startsWith(u'+') || word.startsWith(u'0')) {
        bool dateFound = false;
        match = telephoneNumber(word, &dateFound);
        if (dateFound || match.form != Form::None)
            return match;
    }
    return shortNumber(word);
}

QString LinkRecognizer::linkMarkup(const Match &match)
{
    // Built by concatenation: arg() parses its pattern every time, and a
    // long message holds thousands of links.
    const QLatin1String open("<a href=\"");
    const QLatin1String middle("\">");
    const QLatin1String close("</a>");
    switch (match.form) {
    case Form::Plain:
        return open + match.href + middle + match.href + close;
    case Form::Mail:
        return open + QLatin1String("mailto:") + match.href + middle + match.href + close;
    case Form::Web:
        return open + QLatin1String("http://") + match.href + middle + match.href + close;
    case Form::Sip:
        return open + QLatin1String("sip:") + match.href + middle + match.text + close;
    case Form::None:
        break;
    }
    return match.find;
}

QStringList LinkRecognizer::words(const QString &plainText)
{
    QString text = plainText;
    text.replace(QLatin1String("\r\n"), QLatin1String("  "));
    text.replace(u'\n', u' ');
    text.replace(u'\t', u' ');
    return text.split(u' ', Qt::KeepEmptyParts);
}

QString LinkRecognizer::linkify(const QString &plainText, const QString &html)
{
    QString out;
    out.reserve(html.size() + html.size() / 4);
    qsizetype copied = 0; // html[0, copied) is already in out
    qsizetype search = 0; // where the next word is looked for
    for (const QString &word : words(plainText)) {
        if (word.isEmpty())
            continue;
        const Match match = classify(word);
        if (match.form == Form::None)
            continue;
        const qsizetype found = html.indexOf(match.find, search);
        if (found < 0)
            continue; // escaped differently in the HTML: left unlinked, search stays
        // The search resumes right after what was just handled, so neither
        // the new link nor the following words are skipped or linked twice.
        search = found + match.find.size();
        if (found > 0 && isBlocking(html.at(found - 1)))
            continue;
        out.append(QStringView(html).mid(copied, found - copied));
        out.append(linkMarkup(match));
        copied = search;
    }
    out.append(QStringView(html).mid(copied));
    return out;
}

QString LinkRecognizer::messageBody(const QString &html)
{
    const qsizetype p = html.indexOf(QLatin1String("<p"));
    if (p < 0)
        return QString();
    const qsizetype start = html.indexOf(u'>', p);
    const qsizetype end = html.lastIndexOf(QLatin1String("</p>"));
    if (start < 0 || end <= start)
        return QString();
    return html.mid(start + 1, end - start - 1);
}

} // namespace zubrel
