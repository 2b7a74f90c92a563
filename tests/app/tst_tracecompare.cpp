// The checker that decides whether a replay still behaves: it must catch
// real differences, tolerate new fields and renumbered requests, and insist
// that request ids keep their pattern.

#include <QTest>

#include "tracecompare.h"

using namespace zubrel;

class tst_TraceCompare : public QObject
{
    Q_OBJECT

private:
    static QList<QJsonObject> events(const char *text)
    {
        QList<QJsonObject> result;
        QString error;
        if (!TraceCompare::parse(text, &result, &error))
            qFatal("bad test data: %s", qPrintable(error));
        return result;
    }
    static bool same(const char *expected, const char *actual, QString *why = nullptr)
    {
        TraceCompare compare;
        const bool ok = compare.compare(events(expected), events(actual));
        if (why)
            *why = compare.mismatch();
        return ok;
    }

private slots:
    void identicalTracesMatch()
    {
        QVERIFY(same("{\"ev\":\"sent\",\"req\":1,\"cmd\":[1,2]}\n", "{\"ev\":\"sent\",\"req\":1,\"cmd\":[1,2]}\n"));
    }

    void extraFieldsInTheActualTraceAreIgnored()
    {
        QVERIFY(same("{\"ev\":\"box\",\"kind\":\"question\"}", "{\"ev\":\"box\",\"kind\":\"question\",\"new\":1}"));
    }

    void missingOrDifferentFieldsFail()
    {
        QString why;
        QVERIFY(!same("{\"ev\":\"box\",\"kind\":\"question\"}", "{\"ev\":\"box\"}", &why));
        QVERIFY(why.contains(QLatin1String("event 1.kind")));
        QVERIFY(!same("{\"ev\":\"box\",\"kind\":\"question\"}", "{\"ev\":\"box\",\"kind\":\"information\"}"));
        QVERIFY(!same("{\"ev\":\"state\",\"chats\":[1,2]}", "{\"ev\":\"state\",\"chats\":[1]}"));
    }

    void eventCountAndOrderMatter()
    {
        QVERIFY(!same("{\"ev\":\"a\"}\n{\"ev\":\"b\"}", "{\"ev\":\"b\"}\n{\"ev\":\"a\"}"));
        QVERIFY(!same("{\"ev\":\"a\"}", "{\"ev\":\"a\"}\n{\"ev\":\"b\"}"));
        QVERIFY(!same("{\"ev\":\"a\"}\n{\"ev\":\"b\"}", "{\"ev\":\"a\"}"));
    }

    void requestIdsMayBeRenumberedConsistently()
    {
        QVERIFY(same("{\"ev\":\"sent\",\"req\":1}\n{\"ev\":\"sent\",\"req\":2}\n{\"ev\":\"freed\",\"req\":1}\n"
                     "{\"ev\":\"end\",\"unanswered\":[],\"unfreed\":[2]}",
                     "{\"ev\":\"sent\",\"req\":11}\n{\"ev\":\"sent\",\"req\":12}\n{\"ev\":\"freed\",\"req\":11}\n"
                     "{\"ev\":\"end\",\"unanswered\":[],\"unfreed\":[12]}"));
    }

    void requestIdsMustKeepTheirPattern()
    {
        // The module freed the wrong request: same count, other id.
        QVERIFY(!same("{\"ev\":\"sent\",\"req\":1}\n{\"ev\":\"sent\",\"req\":2}\n{\"ev\":\"freed\",\"req\":1}",
                      "{\"ev\":\"sent\",\"req\":1}\n{\"ev\":\"sent\",\"req\":2}\n{\"ev\":\"freed\",\"req\":2}"));
        // Two expected requests may not collapse into one actual request.
        QVERIFY(!same("{\"ev\":\"sent\",\"req\":1}\n{\"ev\":\"sent\",\"req\":2}",
                      "{\"ev\":\"sent\",\"req\":5}\n{\"ev\":\"sent\",\"req\":5}"));
    }

    void starMatchesAnyPresentValue()
    {
        QVERIFY(same("{\"ev\":\"history\",\"time\":\"*\"}", "{\"ev\":\"history\",\"time\":\"2026-01-01T00:00:00Z\"}"));
        QVERIFY(!same("{\"ev\":\"history\",\"time\":\"*\"}", "{\"ev\":\"history\"}"));
    }

    void starsInsideTextMatchAnyRun()
    {
        QVERIFY(same("{\"ev\":\"state\",\"view\":\"Tester *\\nHello\"}", "{\"ev\":\"state\",\"view\":\"Tester 20:31\\nHello\"}"));
        QVERIFY(same("{\"ev\":\"state\",\"view\":\"a*b*c\"}", "{\"ev\":\"state\",\"view\":\"abc\"}"));
        QVERIFY(!same("{\"ev\":\"state\",\"view\":\"Tester *\\nHello\"}", "{\"ev\":\"state\",\"view\":\"Tester 20:31\\nBye\"}"));
        QVERIFY(!same("{\"ev\":\"state\",\"view\":\"ab*ba\"}", "{\"ev\":\"state\",\"view\":\"aba\"}"));
        QVERIFY(!same("{\"ev\":\"state\",\"view\":\"a*\"}", "{\"ev\":\"state\",\"view\":5}"));
    }

    void malformedLinesAreReported()
    {
        QList<QJsonObject> result;
        QString error;
        QVERIFY(!TraceCompare::parse("{\"ev\":\"a\"}\nnot json\n", &result, &error));
        QVERIFY(error.contains(QLatin1String("line 2")));
    }
};

QTEST_GUILESS_MAIN(tst_TraceCompare)
#include "tst_tracecompare.moc"
