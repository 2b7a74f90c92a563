#include "tracecompare.h"

#include <QJsonDocument>

namespace zubrel {

namespace {

// Fields that hold request ids, alone or as lists.
bool isIdField(const QString &name)
{
    return name == QLatin1String("req") || name == QLatin1String("unanswered") || name == QLatin1String("unfreed");
}

QString shown(const QJsonValue &value)
{
    if (value.isUndefined())
        return QStringLiteral("(absent)");
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact).mid(1).chopped(1));
}

} // namespace

bool TraceCompare::parse(const QByteArray &text, QList<QJsonObject> *events, QString *error)
{
    int lineNumber = 0;
    for (const QByteArray &raw : text.split('\n')) {
        ++lineNumber;
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        QJsonParseError parseError;
        const QJsonDocument document = QJsonDocument::fromJson(line, &parseError);
        if (!document.isObject()) {
            *error = QStringLiteral("line %1 is not a JSON object: %2").arg(lineNumber).arg(parseError.errorString());
            return false;
        }
        events->append(document.object());
    }
    return true;
}

bool TraceCompare::fail(const QString &path, const QString &what)
{
    m_mismatch = path + QStringLiteral(": ") + what;
    return false;
}

bool TraceCompare::compare(const QList<QJsonObject> &expected, const QList<QJsonObject> &actual)
{
    m_expectedToActual.clear();
    m_actualToExpected.clear();
    m_mismatch.clear();
    for (qsizetype i = 0; i < expected.size(); ++i) {
        const QString path = QStringLiteral("event %1").arg(i + 1);
        if (i >= actual.size())
            return fail(path, QStringLiteral("missing, expected %1").arg(shown(expected.at(i))));
        if (!matchValue(expected.at(i), actual.at(i), path, false))
            return false;
    }
    if (actual.size() > expected.size())
        return fail(QStringLiteral("event %1").arg(expected.size() + 1),
                    QStringLiteral("unexpected %1").arg(shown(actual.at(expected.size()))));
    return true;
}

bool TraceCompare::matchId(const QJsonValue &expected, const QJsonValue &actual, const QString &path)
{
    if (!expected.isDouble() || !actual.isDouble())
        return expected == actual || fail(path, QStringLiteral("expected id %1, got %2").arg(shown(expected), shown(actual)));
    const qint64 e = qint64(expected.toDouble());
    const qint64 a = qint64(actual.toDouble());
    const auto known = m_expectedToActual.constFind(e);
    if (known != m_expectedToActual.cend()) {
        if (known.value() != a)
            return fail(path, QStringLiteral("request %1 was %2 before, now %3").arg(e).arg(known.value()).arg(a));
        return true;
    }
    if (m_actualToExpected.contains(a))
        return fail(path, QStringLiteral("request %1 already stands for expected %2, not %3")
                              .arg(a).arg(m_actualToExpected.value(a)).arg(e));
    m_expectedToActual.insert(e, a);
    m_actualToExpected.insert(a, e);
    return true;
}

bool TraceCompare::globMatch(const QString &pattern, const QString &text)
{
    const QStringList pieces = pattern.split(QLatin1Char('*'));
    if (!text.startsWith(pieces.first()) || !text.endsWith(pieces.last())
        || text.size() < pieces.first().size() + pieces.last().size())
        return false;
    qsizetype at = pieces.first().size();
    const qsizetype end = text.size() - pieces.last().size();
    for (qsizetype i = 1; i + 1 < pieces.size(); ++i) {
        at = text.indexOf(pieces.at(i), at);
        if (at < 0 || at + pieces.at(i).size() > end)
            return false;
        at += pieces.at(i).size();
    }
    return true;
}

bool TraceCompare::matchValue(const QJsonValue &expected, const QJsonValue &actual, const QString &path, bool ids)
{
    if (expected == QJsonValue(QStringLiteral("*")))
        return !actual.isUndefined() || fail(path, QStringLiteral("missing"));
    if (expected.isString() && expected.toString().contains(QLatin1Char('*'))) {
        if (actual.isString() && globMatch(expected.toString(), actual.toString()))
            return true;
        return fail(path, QStringLiteral("expected %1, got %2").arg(shown(expected), shown(actual)));
    }
    if (ids && !expected.isArray())
        return matchId(expected, actual, path);
    if (expected.isObject()) {
        if (!actual.isObject())
            return fail(path, QStringLiteral("expected an object, got %1").arg(shown(actual)));
        const QJsonObject e = expected.toObject();
        const QJsonObject a = actual.toObject();
        for (auto it = e.constBegin(); it != e.constEnd(); ++it) {
            if (!a.contains(it.key()))
                return fail(path + QLatin1Char('.') + it.key(), QStringLiteral("missing"));
            if (!matchValue(it.value(), a.value(it.key()), path + QLatin1Char('.') + it.key(), isIdField(it.key())))
                return false;
        }
        return true;
    }
    if (expected.isArray()) {
        if (!actual.isArray())
            return fail(path, QStringLiteral("expected a list, got %1").arg(shown(actual)));
        const QJsonArray e = expected.toArray();
        const QJsonArray a = actual.toArray();
        if (e.size() != a.size())
            return fail(path, QStringLiteral("expected %1 items, got %2: %3").arg(e.size()).arg(a.size()).arg(shown(actual)));
        for (qsizetype i = 0; i < e.size(); ++i) {
            if (!matchValue(e.at(i), a.at(i), path + QStringLiteral("[%1]").arg(i), ids))
                return false;
        }
        return true;
    }
    if (expected != actual)
        return fail(path, QStringLiteral("expected %1, got %2").arg(shown(expected), shown(actual)));
    return true;
}

} // namespace zubrel
