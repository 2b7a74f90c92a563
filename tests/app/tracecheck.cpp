// tracecheck EXPECTED ACTUAL: exit 0 when the actual replay trace matches
// the expected one (see TraceCompare), 1 with the first difference otherwise.

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "tracecompare.h"

using namespace zubrel;

static bool readEvents(const QString &path, QList<QJsonObject> *events)
{
    QFile file(path);
    QString error;
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    if (!TraceCompare::parse(file.readAll(), events, &error)) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(path), qPrintable(error));
        return false;
    }
    return true;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tracecheck EXPECTED ACTUAL\n");
        return 64;
    }
    QList<QJsonObject> expected, actual;
    if (!readEvents(args.at(1), &expected) || !readEvents(args.at(2), &actual))
        return 1;
    TraceCompare compare;
    if (!compare.compare(expected, actual)) {
        std::fprintf(stderr, "trace differs at %s\n", qPrintable(compare.mismatch()));
        return 1;
    }
    return 0;
}
