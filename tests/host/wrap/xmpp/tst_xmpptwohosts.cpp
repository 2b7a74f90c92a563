// Two full module hosts (zubrel-host processes, each with a profile of its
// own) chatting through the run's private Prosody, one after the other:
// what one types while the other is away reaches the other's module when
// it signs in, shown with the offline notice and its send time.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "xmppfixture.h"
#include "zdatetime.h"

class TestXmppTwoHosts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(m_server.isUp(), "no server: run through ctest (fixture xmpp_server)"); }
    void offlineMessagesBothWays();

private:
    void run(const QString &user, const QByteArray &script, QList<QJsonObject> *trace);
    static QList<QJsonObject> events(const QList<QJsonObject> &trace, const QString &kind, int a, int b);
    static QString view(const QList<QJsonObject> &trace, const QString &chat);

    XmppFixture m_server;
    QTemporaryDir m_work;
};

void TestXmppTwoHosts::run(const QString &user, const QByteArray &script, QList<QJsonObject> *trace)
{
    const QDir profile(m_work.filePath(user));
    // The same fixed numbers in both profiles, so the scripts can name the chats.
    const QString ids = profile.filePath(QStringLiteral("xmpp/%1/ids.json").arg(XmppFixture::jid(user)));
    QVERIFY(QDir().mkpath(QFileInfo(ids).path()));
    QFile idFile(ids);
    QVERIFY(idFile.open(QIODevice::WriteOnly));
    idFile.write(R"({"next": 10003, "ids": {"carol@localhost": 10001, "dave@localhost": 10002}})");
    idFile.close();
    QFile scriptFile(m_work.filePath(user + QLatin1String(".replay")));
    QVERIFY(scriptFile.open(QIODevice::WriteOnly) && scriptFile.write(script) == script.size());
    scriptFile.close();
    const QString traceFile = m_work.filePath(user + QLatin1String(".trace"));
    QProcess host;
    host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    host.start(qEnvironmentVariable("ZUBREL_HOST"),
               {QStringLiteral("--xmpp"), XmppFixture::jid(user), QStringLiteral("--xmpp-server"),
                QStringLiteral("127.0.0.1:%1").arg(m_server.port()), QStringLiteral("--xmpp-password-file"),
                m_server.folder.filePath(user + QLatin1String(".password")), QStringLiteral("--profile"), profile.path(),
                QStringLiteral("--replay"), scriptFile.fileName(), QStringLiteral("--trace"), traceFile});
    QVERIFY(host.waitForFinished(90000));
    QCOMPARE(host.exitCode(), 0);
    QFile output(traceFile);
    QVERIFY(output.open(QIODevice::ReadOnly));
    trace->clear();
    while (!output.atEnd())
        trace->append(QJsonDocument::fromJson(output.readLine()).object());
}

QList<QJsonObject> TestXmppTwoHosts::events(const QList<QJsonObject> &trace, const QString &kind, int a, int b)
{
    QList<QJsonObject> found;
    for (const QJsonObject &event : trace) {
        if (event.value(QLatin1String("ev")).toString() == kind
            && event.value(QLatin1String("cmd")).toArray() == QJsonArray{a, b})
            found.append(event);
    }
    return found;
}

// The message view of a chat in the last state dump.
QString TestXmppTwoHosts::view(const QList<QJsonObject> &trace, const QString &chat)
{
    QString text;
    for (const QJsonObject &event : trace) {
        if (event.value(QLatin1String("ev")).toString() != QLatin1String("state"))
            continue;
        for (const QJsonValue &window : event.value(QLatin1String("chats")).toArray()) {
            if (window[QLatin1String("key")].toString() == chat)
                text = window[QLatin1String("tabs")][0][QLatin1String("view")].toString();
        }
    }
    return text;
}

void TestXmppTwoHosts::offlineMessagesBothWays()
{
    // Carol writes to Dave, who is away; the server keeps it.
    QList<QJsonObject> carol;
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    run(QStringLiteral("carol"), R"({"do": "start"}
{"do": "wait", "ms": 2500}
{"do": "in", "cmd": [1, 61600], "args": [[6, 1, "10002"]]}
{"do": "type", "chat": "10002", "text": "Tea & <cake>?"}
{"do": "key", "chat": "10002", "key": "Return"}
{"do": "wait", "ms": 1500}
{"do": "dump"}
)",
        &carol);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(events(carol, QStringLiteral("sent"), 4, 1).size(), 1);
    QVERIFY2(view(carol, QStringLiteral("10002")).contains(QLatin1String("Tea & <cake>?")), qPrintable(view(carol, QStringLiteral("10002"))));

    // Dave signs in: the message, its send time, the notice; he answers.
    QList<QJsonObject> dave;
    run(QStringLiteral("dave"), R"({"do": "start"}
{"do": "wait", "ms": 3000}
{"do": "dump"}
{"do": "type", "chat": "10001", "text": "Back now"}
{"do": "key", "chat": "10001", "key": "Return"}
{"do": "wait", "ms": 1500}
)",
        &dave);
    if (QTest::currentTestFailed())
        return;
    const QList<QJsonObject> received = events(dave, QStringLiteral("received"), 4, 0xF0A1);
    QCOMPARE(received.size(), 1);
    const QJsonArray args = received.first().value(QLatin1String("args")).toArray();
    QCOMPARE(args.size(), 3);
    QCOMPARE(args[0][2].toObject().value(QLatin1String("s")).toString(), QStringLiteral("10001"));
    const QDateTime sent = zubrel::ZDateTime::fromWinTime(args[2][2].toObject().value(QLatin1String("d")).toDouble());
    QVERIFY2(sent >= before && sent <= QDateTime::currentDateTimeUtc(), qPrintable(sent.toString(Qt::ISODate)));
    const QString daveView = view(dave, QStringLiteral("10001"));
    QVERIFY2(daveView.contains(QLatin1String("Tea & <cake>?")), qPrintable(daveView));
    QVERIFY(daveView.contains(QLatin1String("This message was sent to you while you were offline.")));

    run(QStringLiteral("carol"), R"({"do": "start"}
{"do": "wait", "ms": 3000}
{"do": "dump"}
)",
        &carol);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(events(carol, QStringLiteral("received"), 4, 0xF0A1).size(), 1);
    QVERIFY2(view(carol, QStringLiteral("10002")).contains(QLatin1String("Back now")), qPrintable(view(carol, QStringLiteral("10002"))));
}

QTEST_MAIN(TestXmppTwoHosts)
#include "tst_xmpptwohosts.moc"
