#pragma once
// Compares a replay trace with the expected one. Events must match one for
// one and in order; a field the expected event does not mention is ignored,
// so traces may grow new fields. Request ids need not have the same values,
// only the same pattern: the first id seen in the expected trace must
// always pair with the same id in the actual one, and the other way round.
// The text "*" in the expected trace matches any value; inside a longer
// text each "*" stands for any run of characters ("Tester *\nHello" for a
// view line with a clock time).

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QString>

namespace zubrel {

class TraceCompare
{
public:
    // One event per non-blank line; false and an error for a line that is
    // not a JSON object.
    static bool parse(const QByteArray &text, QList<QJsonObject> *events, QString *error);

    // True when actual matches expected; otherwise mismatch describes the
    // first difference (event number and path).
    bool compare(const QList<QJsonObject> &expected, const QList<QJsonObject> &actual);
    QString mismatch() const { return m_mismatch; }

private:
    bool matchValue(const QJsonValue &expected, const QJsonValue &actual, const QString &path, bool ids);
    bool matchId(const QJsonValue &expected, const QJsonValue &actual, const QString &path);
    bool fail(const QString &path, const QString &what);
    static bool globMatch(const QString &pattern, const QString &text);

    QHash<qint64, qint64> m_expectedToActual;
    QHash<qint64, qint64> m_actualToExpected;
    QString m_mismatch;
};

} // namespace zubrel
