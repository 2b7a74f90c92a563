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
    void typingAndMessagesWhileBothOnline();

private:
    void run(const QString &user, const QByteArray &script, QList<QJsonObject> *trace);
    // Starts a host on its script; finish() waits for it and reads its trace.
    QProcess *launch(const QString &user, const QByteArray &script);
    void finish(QProcess *host, const QString &user, QList<QJsonObject> *trace);
    static QList<QJsonObject> events(const QList<QJsonObject> &trace, const QString &kind, int a, int b);
    static QString view(const QList<QJsonObject> &trace, const QString &chat);

    XmppFixture m_server;
    QTemporaryDir m_work;
};

void TestXmppTwoHosts::run(const QString &user, const QByteArray &script, QList<QJsonObject> *trace)
{
    QProcess *host = launch(user, script);
    if (host)
        finish(host, user, trace);
}

QProcess *TestXmppTwoHosts::launch(const QString &user, const QByteArray &script)
{
    const QDir profile(m_work.filePath(user));
    // The same fixed numbers in both profiles, so the scripts can name the chats.
    const QString ids = profile.filePath(QStringLiteral("xmpp/%1/ids.json").arg(XmppFixture::jid(user)));
    QDir().mkpath(QFileInfo(ids).path());
    QFile idFile(ids);
    if (!idFile.open(QIODevice::WriteOnly))
        return nullptr;
    idFile.write(R"({"next": 10003, "ids": {"carol@localhost": 10001, "dave@localhost": 10002}})");
    idFile.close();
    QFile scriptFile(m_work.filePath(user + QLatin1String(".replay")));
    if (!scriptFile.open(QIODevice::WriteOnly) || scriptFile.write(script) != script.size())
        return nullptr;
    scriptFile.close();
    const QString traceFile = m_work.filePath(user + QLatin1String(".trace"));
    auto *host = new QProcess(this);
    host->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    host->start(qEnvironmentVariable("ZUBREL_HOST"),
               {QStringLiteral("--xmpp"), XmppFixture::jid(user), QStringLiteral("--xmpp-server"),
                QStringLiteral("127.0.0.1:%1").arg(m_server.port()), QStringLiteral("--xmpp-password-file"),
                m_server.folder.filePath(user + QLatin1String(".password")), QStringLiteral("--profile"), profile.path(),
                QStringLiteral("--replay"), scriptFile.fileName(), QStringLiteral("--trace"), traceFile});
    return host;
}

void TestXmppTwoHosts::finish(QProcess *host, const QString &user, QList<QJsonObject> *trace)
{
    std::unique_ptr<QProcess> owned(host);
    // The scripts wait for events, each with its own bound; this only
    // catches a host that hangs.
    QVERIFY(host->waitForFinished(240000));
    QCOMPARE(host->exitCode(), 0);
    QFile output(m_work.filePath(user + QLatin1String(".trace")));
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

void TestXmppTwoHosts::typingAndMessagesWhileBothOnline()
{
    // Signed in: the server's block list arrives first thing.
    const QByteArray signedIn = R"({"do": "until", "ev": "received", "cmd": [1, 61698]})";
    QProcess *daveHost = launch(QStringLiteral("dave"), "{\"do\": \"start\"}\n" + signedIn + R"(
{"do": "until", "ev": "received", "cmd": [4, 32771]}
{"do": "until", "ev": "received", "cmd": [4, 61601]}
{"do": "dump"}
{"do": "type", "chat": "10001", "text": "Got <it>"}
{"do": "key", "chat": "10001", "key": "Return"}
{"do": "until", "ev": "received", "cmd": [4, 61601], "count": 2}
{"do": "dump"}
)");
    QVERIFY(daveHost);
    // Carol comes once Dave is there, so her typing reaches him.
    const QString daveTrace = m_work.filePath(QStringLiteral("dave.trace"));
    QTRY_VERIFY_WITH_TIMEOUT(XmppFixture::read(daveTrace).contains("[1,61698]"), 120000);
    QList<QJsonObject> carol;
    run(QStringLiteral("carol"), "{\"do\": \"start\"}\n" + signedIn + R"(
{"do": "in", "cmd": [1, 61600], "args": [[6, 1, "10002"]]}
{"do": "type", "chat": "10002", "text": "Are you there?"}
{"do": "key", "chat": "10002", "key": "Return"}
{"do": "until", "ev": "received", "cmd": [4, 61601]}
{"do": "type", "chat": "10002", "text": "Good"}
{"do": "key", "chat": "10002", "key": "Return"}
{"do": "wait", "ms": 1000}
{"do": "dump"}
)",
        &carol);
    QList<QJsonObject> dave;
    finish(daveHost, QStringLiteral("dave"), &dave);
    if (QTest::currentTestFailed())
        return;
    // Each side's module shows what the other typed, once, in order.
    QCOMPARE(events(dave, QStringLiteral("received"), 4, 0xF0A1).size(), 2);
    QCOMPARE(events(dave, QStringLiteral("received"), 4, 0x8003).first()[QLatin1String("args")][0][2][QLatin1String("s")].toString(),
             QStringLiteral("10001"));
    const QString daveView = view(dave, QStringLiteral("10001"));
    QVERIFY2(daveView.indexOf(QLatin1String("Are you there?")) < daveView.indexOf(QLatin1String("Good")), qPrintable(daveView));
    QVERIFY(!daveView.contains(QLatin1String("offline")));
    QCOMPARE(events(carol, QStringLiteral("received"), 4, 0xF0A1).size(), 1);
    QVERIFY2(view(carol, QStringLiteral("10002")).contains(QLatin1String("Got <it>")), qPrintable(view(carol, QStringLiteral("10002"))));
}

QTEST_MAIN(TestXmppTwoHosts)
#include "tst_xmpptwohosts.moc"
