#include "chatlogsearch.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>

#include "chatlogstore.h"

namespace zubrel {

namespace {

// unicode61 folds case and, with remove_diacritics 2, accents: "cafe"
// finds "Café".
const char CreateIndex[] = "CREATE VIRTUAL TABLE IF NOT EXISTS messages_fts USING fts5("
                           "chat, body, content='', tokenize='unicode61 remove_diacritics 2')";
const char CreateState[] = "CREATE TABLE IF NOT EXISTS search_state (indexed_upto INTEGER NOT NULL)";
const char SeedState[] = "INSERT INTO search_state SELECT 0 WHERE NOT EXISTS (SELECT 1 FROM search_state)";

// Only this much of a record's markup is indexed: a damaged or hostile record
// of megabytes must not make every write or catch-up slow.
constexpr int MaxIndexedHtml = 200'000;
// A search without an indexable word (only punctuation) reads the newest
// records of the conversation instead, up to this many.
constexpr int MaxScanned = 20'000;

bool run(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery query(db);
    return query.exec(sql);
}

qint64 scalar(QSqlDatabase &db, const QString &sql, bool *ok = nullptr)
{
    QSqlQuery query(db);
    const bool done = query.exec(sql) && query.next();
    if (ok)
        *ok = done;
    return done ? query.value(0).toLongLong() : 0;
}

// The conversation as one token of the `chat` column: letters and digits
// only, so it never meets the tokenizer's rules or the query syntax.
QString chatToken(const QString &chatId, const QUuid &uuid)
{
    if (!chatId.isEmpty())
        return QStringLiteral("k") + QString::fromLatin1(chatId.toUtf8().toHex());
    if (!uuid.isNull())
        return QStringLiteral("u") + QString::fromLatin1(uuid.toRfc4122().toHex());
    return QStringLiteral("none");
}

// Records are filed as the store files them: one-to-one and random chats by
// the partner or chat id, multi chats by their logger's uuid.
QString recordToken(const MessageStruct &m)
{
    if (m.chatKind != 0 && !m.contact.isEmpty())
        return chatToken(m.contact, QUuid());
    return chatToken(QString(), m.uuid);
}

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c.isMark();
}

bool hasWordChar(const QString &word)
{
    return std::any_of(word.cbegin(), word.cend(), isWordChar);
}

bool allWordChars(const QString &word)
{
    return std::all_of(word.cbegin(), word.cend(), isWordChar);
}

QString entity(QStringView name)
{
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.size() > 1 && (name[1] == u'x' || name[1] == u'X') ? name.mid(2).toUInt(&ok, 16)
                                                                                  : name.mid(1).toUInt(&ok, 10);
        if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return {};
        return QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
    }
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")}, {QStringLiteral("nbsp"), QStringLiteral(" ")},
    };
    return named.value(name.toString().toLower());
}

bool separates(QString name)
{
    if (name.startsWith(u'/'))
        name.remove(0, 1);
    static const QSet<QString> blocks = {
        QStringLiteral("br"), QStringLiteral("p"),  QStringLiteral("div"), QStringLiteral("li"),
        QStringLiteral("tr"), QStringLiteral("td"), QStringLiteral("th"),  QStringLiteral("table"),
        QStringLiteral("h1"), QStringLiteral("h2"), QStringLiteral("h3"),  QStringLiteral("img"),
        QStringLiteral("hr"), QStringLiteral("ul"), QStringLiteral("ol"),  QStringLiteral("blockquote"),
        QStringLiteral("pre"), QStringLiteral("body"), QStringLiteral("html")};
    return blocks.contains(name);
}

} // namespace

QString ChatLogSearch::plainText(const QString &source)
{
    const QStringView html = QStringView(source).left(MaxIndexedHtml);
    QString out;
    out.reserve(html.size());
    qsizetype i = 0;
    while (i < html.size()) {
        const QChar c = html[i];
        if (c == u'<') {
            if (html.mid(i, 4) == u"<!--") {
                const qsizetype end = html.indexOf(u"-->", i + 4);
                i = end < 0 ? html.size() : end + 3;
                continue;
            }
            const qsizetype end = html.indexOf(u'>', i + 1);
            if (end < 0) { // a lone '<' is text
                out += c;
                ++i;
                continue;
            }
            qsizetype n = i + 1;
            while (n < end && (html[n].isLetterOrNumber() || html[n] == u'/'))
                ++n;
            const QString name = html.mid(i + 1, n - i - 1).toString().toLower();
            i = end + 1;
            if (name == u"style" || name == u"script" || name == u"head" || name == u"title") {
                const qsizetype close = html.indexOf(QString(QStringLiteral("</") + name), i, Qt::CaseInsensitive);
                i = close < 0 ? html.size() : close;
            }
            // Line and block tags separate words ("a<br>b" is two); inline
            // ones do not ("<b>wor</b>ld" is one).
            if (separates(name) && !out.isEmpty() && !out.back().isSpace())
                out += u' ';
            continue;
        }
        if (c == u'&') {
            const qsizetype semi = html.indexOf(u';', i + 1);
            if (semi > i + 1 && semi - i <= 10) {
                const QString decoded = entity(html.mid(i + 1, semi - i - 1));
                if (!decoded.isEmpty()) {
                    out += decoded;
                    i = semi + 1;
                    continue;
                }
            }
        }
        out += c.isSpace() ? QChar(u' ') : c;
        ++i;
    }
    return out.simplified();
}

QString ChatLogSearch::matchExpression(const QString &text)
{
    QStringList parts;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString trimmed = word.trimmed();
        if (!hasWordChar(trimmed))
            continue;
        // A quoted phrase is always a string to FTS5: NEAR, AND, *, -, ( and
        // ^ inside it are only characters the tokenizer drops.
        QString quoted = trimmed;
        quoted.replace(u'"', QStringLiteral("\"\""));
        // Whole words: a prefix query merges every word that starts alike,
        // hundreds of milliseconds for a common one in a long history.
        parts << QStringLiteral("body : \"%1\"").arg(quoted);
    }
    return parts.join(QStringLiteral(" AND "));
}

bool ChatLogSearch::ensureTables(QSqlDatabase &db)
{
    if (!run(db, QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    const bool ok = run(db, QString::fromLatin1(CreateIndex)) && run(db, QString::fromLatin1(CreateState))
                    && run(db, QString::fromLatin1(SeedState));
    if (ok && run(db, QStringLiteral("COMMIT")))
        return true;
    run(db, QStringLiteral("ROLLBACK"));
    return false;
}

qint64 ChatLogSearch::unindexed(QSqlDatabase &db)
{
    bool ok = false;
    const qint64 gap = scalar(db,
                              QStringLiteral("SELECT coalesce((SELECT max(id) FROM messages), 0)"
                                             " - (SELECT indexed_upto FROM search_state)"),
                              &ok);
    return ok ? qMax<qint64>(0, gap) : 0;
}

ChatLogSearch::Batch::Batch(QSqlDatabase &db)
    : m_db(db)
    , m_insert(db)
{
    bool ok = false;
    const qint64 gap = scalar(db,
                              QStringLiteral("SELECT coalesce((SELECT max(id) FROM messages), 0)"
                                             " - (SELECT indexed_upto FROM search_state)"),
                              &ok);
    m_active = ok && gap <= 0
               && m_insert.prepare(QStringLiteral("INSERT INTO messages_fts (rowid, chat, body) VALUES (?, ?, ?)"));
}

void ChatLogSearch::Batch::add(qint64 id, const MessageStruct &message)
{
    if (!m_active)
        return;
    m_insert.bindValue(0, id);
    m_insert.bindValue(1, recordToken(message));
    m_insert.bindValue(2, plainText(message.message));
    // On failure the rest stays unindexed and is caught up on a later open;
    // what went in is counted, so nothing is indexed twice.
    m_active = m_insert.exec();
    if (m_active)
        m_last = id;
}

void ChatLogSearch::Batch::finish()
{
    m_insert.finish();
    if (m_last == 0)
        return;
    QSqlQuery state(m_db);
    state.prepare(QStringLiteral("UPDATE search_state SET indexed_upto = ?"));
    state.bindValue(0, m_last);
    state.exec();
}

int ChatLogSearch::catchUp(QSqlDatabase &db, int limit)
{
    if (!run(db, QStringLiteral("BEGIN IMMEDIATE")))
        return -1;
    // Read under the write lock: the writer or another process may have
    // moved indexed_upto meanwhile.
    bool ok = false;
    qint64 upto = scalar(db, QStringLiteral("SELECT indexed_upto FROM search_state"), &ok);
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    QSqlQuery insert(db);
    ok = ok
         && rows.prepare(QStringLiteral("SELECT contact, time_ms, message, uuid, alias, chat_kind, direction, id"
                                        " FROM messages WHERE id > ? ORDER BY id LIMIT ?"))
         && insert.prepare(QStringLiteral("INSERT INTO messages_fts (rowid, chat, body) VALUES (?, ?, ?)"));
    int done = 0;
    if (ok) {
        rows.bindValue(0, upto);
        rows.bindValue(1, limit);
        ok = rows.exec();
    }
    while (ok && rows.next()) {
        const MessageStruct m = ChatLogStore::recordAt(rows, 0);
        upto = rows.value(7).toLongLong();
        insert.bindValue(0, upto);
        insert.bindValue(1, recordToken(m));
        insert.bindValue(2, plainText(m.message));
        ok = insert.exec();
        ++done;
    }
    rows.finish();
    QSqlQuery state(db);
    ok = ok && state.prepare(QStringLiteral("UPDATE search_state SET indexed_upto = ?"));
    state.bindValue(0, upto);
    ok = ok && state.exec() && run(db, QStringLiteral("COMMIT"));
    if (!ok) {
        run(db, QStringLiteral("ROLLBACK"));
        return -1;
    }
    return done;
}

QList<LogRecord> ChatLogSearch::search(QSqlDatabase &db, const QString &text, int limit, const QString &chatId,
                                       const QUuid &uuid)
{
    QList<LogRecord> found;
    const QStringList words = text.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty() || limit <= 0 || (chatId.isEmpty() && uuid.isNull()))
        return found;
    // Words with punctuation ("C++", "(ok)", "-1") must match as typed; the
    // index only knows their letters and digits, so candidates are checked.
    QStringList literal;
    for (const QString &word : words) {
        if (!allWordChars(word))
            literal << word;
    }
    const QString expression = matchExpression(text);
    const QString columns = QStringLiteral(
        "SELECT contact, time_ms, message, uuid, alias, chat_kind, direction, id FROM messages ");
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!expression.isEmpty()) {
        query.prepare(columns
                      + QStringLiteral("WHERE id IN (SELECT rowid FROM messages_fts WHERE messages_fts MATCH ?"
                                       " ORDER BY rowid DESC LIMIT ?) ORDER BY id DESC"));
        query.bindValue(0, QStringLiteral("chat : \"%1\" AND %2").arg(chatToken(chatId, uuid), expression));
        query.bindValue(1, literal.isEmpty() ? limit : limit * 8);
    } else {
        query.prepare(columns
                      + (chatId.isEmpty() ? QStringLiteral("WHERE uuid = ? ORDER BY id DESC LIMIT ?")
                                          : QStringLiteral("WHERE chat_id = ? ORDER BY id DESC LIMIT ?")));
        query.bindValue(0, chatId.isEmpty() ? uuid.toString(QUuid::WithoutBraces) : chatId);
        query.bindValue(1, MaxScanned);
    }
    if (!query.exec())
        return found;
    while (query.next() && found.size() < limit) {
        LogRecord record{query.value(7).toLongLong(), ChatLogStore::recordAt(query, 0)};
        if (!literal.isEmpty()) {
            const QString plain = plainText(record.message.message);
            const bool all = std::all_of(literal.cbegin(), literal.cend(), [&](const QString &word) {
                return plain.contains(word, Qt::CaseInsensitive);
            });
            if (!all)
                continue;
        }
        found.append(record);
    }
    return found;
}

} // namespace zubrel
