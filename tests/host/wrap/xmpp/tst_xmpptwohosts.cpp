// Full module hosts (zubrel-host processes, each with a profile of its own)
// chatting through the run's private Prosody: offline messages, typing and
// pictures, a multi chat's whole cycle, blocking, a private session and a
// random chat through zubrel-matchmaker. The scripts (scripts/*.replay)
// wait for events with the replay step "until", never for a
// guessed time; the test starts the next host once a trace shows that the
// one before got where it must be.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gloox/client.h>
#include <gloox/message.h>
#include <gloox/messagehandler.h>
#include <gloox/stanzaextension.h>
#include <gloox/tag.h>

#include "xmppfixture.h"
#include "zdatetime.h"

namespace {

// The hint that asks servers not to store a message, as a second resource
// of the receiver sees it on the wire.
class NoStoreHint : public gloox::StanzaExtension
{
public:
    static constexpr int type = gloox::ExtUser + 77;
    NoStoreHint() : gloox::StanzaExtension(type) {}
    const std::string &filterString() const override
    {
        static const std::string filter = "/message/no-store[@xmlns='urn:xmpp:hints']";
        return filter;
    }
    gloox::StanzaExtension *newInstance(const gloox::Tag *) const override { return new NoStoreHint; }
    gloox::Tag *tag() const override { return new gloox::Tag("no-store", "xmlns", "urn:xmpp:hints"); }
    gloox::StanzaExtension *clone() const override { return new NoStoreHint; }
};

struct HintWatch : gloox::MessageHandler
{
    QHash<QString, bool> noStore; // stanza id -> carried the hint
    void handleMessage(const gloox::Message &message, gloox::MessageSession *) override
    {
        noStore.insert(QString::fromStdString(message.id()), message.findExtension(NoStoreHint::type) != nullptr);
    }
};

} // namespace

class TestXmppTwoHosts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(m_server.isUp(), "no server: run through ctest (fixture xmpp_server)"); }
    // Every case starts from new profiles, so the numbers new JIDs get are known.
    void init() { m_work = std::make_unique<QTemporaryDir>(); }
    void offlineMessagesBothWays();
    void typingPicturesAndMessagesWhileBothOnline();
    void multiChatCycle();
    void blockedContactsMessagesDoNotArrive();
    void privateSessionAskedNotToBeStored();
    void randomChatThroughTheMatchmaker();

private:
    using Trace = QList<QJsonObject>;
    // script: the name of scripts/<script>.replay.
    void run(const QString &user, const QByteArray &script, Trace *trace);
    // Starts a host on its script; finish() waits for it and reads its trace.
    QProcess *launch(const QString &user, const QByteArray &script);
    void finish(QProcess *host, const QString &user, Trace *trace);
    // Waits until the user's running host has traced text that many times.
    void awaitTrace(const QString &user, const QByteArray &text, int times = 1);
    static QList<QJsonObject> events(const Trace &trace, const QString &kind, int a, int b);
    // An empty event when there is none, so a check fails instead of crashing.
    static QJsonObject firstOf(const QList<QJsonObject> &list) { return list.isEmpty() ? QJsonObject() : list.first(); }
    static QJsonObject lastOf(const QList<QJsonObject> &list) { return list.isEmpty() ? QJsonObject() : list.last(); }
    static QJsonObject window(const Trace &trace, const QString &chat);
    // The plain text of the chat's conversation in the last state dump.
    static QString view(const Trace &trace, const QString &chat);
    // The value of the event's argument i, as text.
    static QString arg(const QJsonObject &event, int i);

    XmppFixture m_server;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestXmppTwoHosts::run(const QString &user, const QByteArray &script, Trace *trace)
{
    QProcess *host = launch(user, script);
    if (host)
        finish(host, user, trace);
}

QProcess *TestXmppTwoHosts::launch(const QString &user, const QByteArray &script)
{
    const QDir profile(m_work->filePath(user));
    // The same fixed numbers in every profile, so the scripts can name the
    // chats: the first JID seen after these (a room, a stranger) is 10005.
    const QString ids = profile.filePath(QStringLiteral("xmpp/%1/ids.json").arg(XmppFixture::jid(user)));
    QDir().mkpath(QFileInfo(ids).path());
    QFile idFile(ids);
    if (!idFile.exists() && (!idFile.open(QIODevice::WriteOnly)
                             || idFile.write(R"({"next": 10005, "ids": {"carol@localhost": 10001, "dave@localhost": 10002,)"
                                             R"( "alice@localhost": 10003, "bob@localhost": 10004}})") < 0))
        return nullptr;
    idFile.close();
    QFile named(qEnvironmentVariable("ZUBREL_XMPP_SCRIPTS") + QLatin1Char('/') + QString::fromUtf8(script)
                + QLatin1String(".replay"));
    if (!named.open(QIODevice::ReadOnly))
        return nullptr;
    const QByteArray text = named.readAll();
    // A copy next to the profiles: paths in the script are relative to it.
    QFile scriptFile(m_work->filePath(user + QLatin1String(".replay")));
    if (!scriptFile.open(QIODevice::WriteOnly) || scriptFile.write(text) != text.size())
        return nullptr;
    scriptFile.close();
    const QString traceFile = m_work->filePath(user + QLatin1String(".trace"));
    QFile::remove(traceFile);
    auto *host = new QProcess(this);
    host->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    host->start(qEnvironmentVariable("ZUBREL_HOST"),
               {QStringLiteral("--xmpp"), XmppFixture::jid(user), QStringLiteral("--xmpp-server"),
                QStringLiteral("127.0.0.1:%1").arg(m_server.port()), QStringLiteral("--xmpp-password-file"),
                m_server.folder.filePath(user + QLatin1String(".password")), QStringLiteral("--profile"), profile.path(),
                QStringLiteral("--replay"), scriptFile.fileName(), QStringLiteral("--trace"), traceFile});
    return host;
}

void TestXmppTwoHosts::finish(QProcess *host, const QString &user, Trace *trace)
{
    std::unique_ptr<QProcess> owned(host);
    QVERIFY2(host, "the host could not be started");
    // The scripts wait for events, each with its own bound; this only
    // catches a host that hangs.
    QVERIFY(host->waitForFinished(240000));
    QCOMPARE(host->exitCode(), 0);
    QFile output(m_work->filePath(user + QLatin1String(".trace")));
    QVERIFY(output.open(QIODevice::ReadOnly));
    trace->clear();
    while (!output.atEnd())
        trace->append(QJsonDocument::fromJson(output.readLine()).object());
}

void TestXmppTwoHosts::awaitTrace(const QString &user, const QByteArray &text, int times)
{
    const QString file = m_work->filePath(user + QLatin1String(".trace"));
    QTRY_VERIFY_WITH_TIMEOUT(XmppFixture::read(file).count(text) >= times, 120000);
}

QString TestXmppTwoHosts::arg(const QJsonObject &event, int i)
{
    const QJsonObject value = event.value(QLatin1String("args"))[i][2].toObject();
    return value.isEmpty() ? QString() : value.begin().value().toVariant().toString();
}

QList<QJsonObject> TestXmppTwoHosts::events(const Trace &trace, const QString &kind, int a, int b)
{
    QList<QJsonObject> found;
    for (const QJsonObject &event : trace) {
        if (event.value(QLatin1String("ev")).toString() == kind
            && event.value(QLatin1String("cmd")).toArray() == QJsonArray{a, b})
            found.append(event);
    }
    return found;
}

// The chat's window in the last state dump.
QJsonObject TestXmppTwoHosts::window(const Trace &trace, const QString &chat)
{
    QJsonObject found;
    for (const QJsonObject &event : trace) {
        if (event.value(QLatin1String("ev")).toString() != QLatin1String("state"))
            continue;
        for (const QJsonValue &window : event.value(QLatin1String("chats")).toArray()) {
            if (window[QLatin1String("key")].toString() == chat)
                found = window.toObject();
        }
    }
    return found;
}

QString TestXmppTwoHosts::view(const Trace &trace, const QString &chat)
{
    return window(trace, chat)[QLatin1String("tabs")][0][QLatin1String("view")].toString();
}

void TestXmppTwoHosts::offlineMessagesBothWays()
{
    // Carol writes to Dave, who is away; the server keeps it.
    Trace carol;
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    run(QStringLiteral("carol"), "offline-carol-1", &carol);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(events(carol, QStringLiteral("sent"), 4, 1).size(), 1);
    QVERIFY2(view(carol, QStringLiteral("10002")).contains(QLatin1String("Tea & <cake>?")), qPrintable(view(carol, QStringLiteral("10002"))));

    // Dave signs in: the message, its send time, the notice; he answers.
    Trace dave;
    run(QStringLiteral("dave"), "offline-dave", &dave);
    if (QTest::currentTestFailed())
        return;
    const QList<QJsonObject> received = events(dave, QStringLiteral("received"), 4, 0xF0A1);
    QCOMPARE(received.size(), 1);
    QCOMPARE(received.first().value(QLatin1String("args")).toArray().size(), 3);
    QCOMPARE(arg(received.first(), 0), QStringLiteral("10001"));
    const QDateTime sent = zubrel::ZDateTime::fromWinTime(arg(received.first(), 2).toDouble());
    QVERIFY2(sent >= before && sent <= QDateTime::currentDateTimeUtc(), qPrintable(sent.toString(Qt::ISODate)));
    const QString daveView = view(dave, QStringLiteral("10001"));
    QVERIFY2(daveView.contains(QLatin1String("Tea & <cake>?")), qPrintable(daveView));
    QVERIFY(daveView.contains(QLatin1String("This message was sent to you while you were offline.")));

    run(QStringLiteral("carol"), "offline-carol-2", &carol);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(events(carol, QStringLiteral("received"), 4, 0xF0A1).size(), 1);
    QVERIFY2(view(carol, QStringLiteral("10002")).contains(QLatin1String("Back now")), qPrintable(view(carol, QStringLiteral("10002"))));
}

void TestXmppTwoHosts::typingPicturesAndMessagesWhileBothOnline()
{
    // A picture dropped into Carol's input goes with her second message.
    QFile picture(m_work->filePath(QStringLiteral("dot.png")));
    QVERIFY(picture.open(QIODevice::WriteOnly));
    picture.write(QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mP8z8DwHwAFBQIAX8jx0gAAAABJRU5ErkJggg=="));
    picture.close();
    QProcess *daveHost = launch(QStringLiteral("dave"), "online-dave");
    // Carol comes once Dave is there, so her typing reaches him.
    awaitTrace(QStringLiteral("dave"), "[1,61698]");
    Trace carol;
    run(QStringLiteral("carol"), "online-carol", &carol);
    Trace dave;
    finish(daveHost, QStringLiteral("dave"), &dave);
    if (QTest::currentTestFailed())
        return;
    // Each side's module shows what the other typed, once, in order.
    const QList<QJsonObject> received = events(dave, QStringLiteral("received"), 4, 0xF0A1);
    QCOMPARE(received.size(), 2);
    QCOMPARE(arg(firstOf(events(dave, QStringLiteral("received"), 4, 0x8003)), 0), QStringLiteral("10001"));
    const QString daveView = view(dave, QStringLiteral("10001"));
    QVERIFY2(daveView.indexOf(QLatin1String("Are you there?")) < daveView.indexOf(QLatin1String("Good")), qPrintable(daveView));
    QVERIFY(!daveView.contains(QLatin1String("offline")));
    QCOMPARE(events(carol, QStringLiteral("received"), 4, 0xF0A1).size(), 1);
    QVERIFY2(view(carol, QStringLiteral("10002")).contains(QLatin1String("Got <it>")), qPrintable(view(carol, QStringLiteral("10002"))));
    // The picture arrives as the module sent it, referenced from the text.
    const QJsonArray sentArgs = lastOf(events(carol, QStringLiteral("sent"), 4, 1))[QLatin1String("args")].toArray();
    const QJsonArray gotArgs = received.last()[QLatin1String("args")].toArray();
    QCOMPARE(gotArgs.size(), 4);
    QVERIFY2(arg(received.last(), 1).contains(QLatin1String("<img src=\"%1\"")), qPrintable(arg(received.last(), 1)));
    QCOMPARE(gotArgs[2].toArray(), (QJsonArray{4, 637, QJsonObject{{QStringLiteral("i"), 1}}}));
    QCOMPARE(gotArgs[3], sentArgs.isEmpty() ? QJsonValue() : sentArgs.last());
}

void TestXmppTwoHosts::multiChatCycle()
{
    const QStringList invitees{QStringLiteral("dave"), QStringLiteral("alice"), QStringLiteral("bob")};
    QList<QProcess *> hosts;
    for (const QString &user : invitees) {
        hosts.append(launch(user, "multichat-" + user.toUtf8()));
        awaitTrace(user, "[1,61698]");
    }
    Trace carol;
    run(QStringLiteral("carol"), "multichat-carol", &carol);
    QHash<QString, Trace> traces;
    for (qsizetype i = 0; i < invitees.size(); ++i)
        finish(hosts.at(i), invitees.at(i), &traces[invitees.at(i)]);
    if (QTest::currentTestFailed())
        return;
    const QString room = QStringLiteral("10005");
    // Carol sees the three come, Dave type and write, Alice leave and Bob go.
    QStringList joined;
    for (const QJsonObject &event : events(carol, QStringLiteral("received"), 4, 0x800E))
        joined.append(arg(event, 1));
    joined.sort();
    QCOMPARE(joined, (QStringList{QStringLiteral("10002"), QStringLiteral("10003"), QStringLiteral("10004")}));
    QCOMPARE(arg(firstOf(events(carol, QStringLiteral("received"), 4, 0x8014)), 1), QStringLiteral("10002"));
    const QList<QJsonObject> fromDave = events(carol, QStringLiteral("received"), 4, 0x8013);
    QCOMPARE(fromDave.size(), 1); // her own message is not shown to her twice
    QCOMPARE(arg(fromDave.first(), 0), room);
    QCOMPARE(arg(fromDave.first(), 2), QStringLiteral("10002"));
    const QList<QJsonObject> left = events(carol, QStringLiteral("received"), 4, 0x800F);
    QCOMPARE(left.size(), 2);
    QCOMPARE(arg(left.at(0), 1), QStringLiteral("10003"));
    QCOMPARE(arg(left.at(1), 1), QStringLiteral("10004"));
    const QString carolView = view(carol, QStringLiteral("mc:") + room);
    QVERIFY2(carolView.contains(QLatin1String("Dave <here>")), qPrintable(carolView));

    // Dave: invited by Carol, her greeting, Bob's and Alice's going, the end.
    const Trace &dave = traces[QStringLiteral("dave")];
    QCOMPARE(arg(firstOf(events(dave, QStringLiteral("received"), 4, 0x8012)), 0), QStringLiteral("10001"));
    const QList<QJsonObject> toDave = events(dave, QStringLiteral("received"), 4, 0x8013);
    QCOMPARE(toDave.size(), 1);
    QCOMPARE(arg(toDave.first(), 2), QStringLiteral("10001"));
    QCOMPARE(events(dave, QStringLiteral("received"), 4, 0x800F).size(), 2);
    QCOMPARE(arg(firstOf(events(dave, QStringLiteral("received"), 4, 0x8011)), 0), room);
    QVERIFY2(window(dave, QStringLiteral("mc:") + room)[QLatin1String("title")].toString().endsWith(QLatin1String(" - Plans <for> Friday")),
             qPrintable(window(dave, QStringLiteral("mc:") + room)[QLatin1String("title")].toString()));
    const QString daveView = view(dave, QStringLiteral("mc:") + room);
    QVERIFY2(daveView.contains(QLatin1String("Welcome all")) && daveView.contains(QLatin1String("Dave <here>")), qPrintable(daveView));
    // Alice read both, left, and was still there for Carol's goodbye.
    QCOMPARE(events(traces[QStringLiteral("alice")], QStringLiteral("received"), 4, 0x8013).size(), 2);
    QVERIFY(view(traces[QStringLiteral("alice")], QStringLiteral("10001")).contains(QLatin1String("Bye Alice")));
    const Trace &bob = traces[QStringLiteral("bob")];
    QCOMPARE(arg(firstOf(events(bob, QStringLiteral("received"), 4, 0x8010)), 0), room);
    QVERIFY2(view(bob, QStringLiteral("mc:") + room).contains(QLatin1String("You have been kicked out of the Multi Chat.")),
             qPrintable(view(bob, QStringLiteral("mc:") + room)));
}

void TestXmppTwoHosts::blockedContactsMessagesDoNotArrive()
{
    Trace carol, dave;
    run(QStringLiteral("carol"), "block-carol-1", &carol);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(lastOf(events(carol, QStringLiteral("received"), 1, 0xF102))[QLatin1String("args")].toArray(),
             (QJsonArray{QJsonArray{4, 0, QJsonObject{{QStringLiteral("i"), 1}}},
                         QJsonArray{6, 1, QJsonObject{{QStringLiteral("s"), QStringLiteral("10002")}}}}));
    // Written while blocked: refused, and Dave is told so.
    run(QStringLiteral("dave"), "block-dave-1", &dave);
    if (QTest::currentTestFailed())
        return;
    // Carol, back, still blocks him at first; she unblocks him and only
    // what he writes now arrives.
    QProcess *carolHost = launch(QStringLiteral("carol"), "block-carol-2");
    awaitTrace(QStringLiteral("carol"), "[1,61698]", 2);
    run(QStringLiteral("dave"), "block-dave-2", &dave);
    finish(carolHost, QStringLiteral("carol"), &carol);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(firstOf(events(carol, QStringLiteral("received"), 1, 0xF102))[QLatin1String("args")].toArray().size(), 2);
    QCOMPARE(lastOf(events(carol, QStringLiteral("received"), 1, 0xF102))[QLatin1String("args")].toArray().size(), 1);
    const QList<QJsonObject> received = events(carol, QStringLiteral("received"), 4, 0xF0A1);
    QCOMPARE(received.size(), 1);
    QCOMPARE(arg(received.first(), 1), QStringLiteral("Now?"));
    QVERIFY(view(dave, QStringLiteral("10001")).contains(QLatin1String("Welcome back")));
}

void TestXmppTwoHosts::privateSessionAskedNotToBeStored()
{
    // A second resource of Dave's sees what Carol's messages carry.
    zubrel::XmppConnection::Settings settings = m_server.settings(QStringLiteral("dave"));
    settings.resource = QStringLiteral("watch");
    zubrel::XmppConnection watch(settings);
    HintWatch hints;
    connect(&watch, &zubrel::XmppConnection::clientCreated, this, [&watch, &hints] {
        watch.client()->registerStanzaExtension(new NoStoreHint);
        watch.client()->registerMessageHandler(&hints);
    });
    QList<zubrel::XmppIncoming> seen;
    connect(&watch, &zubrel::XmppConnection::messageReceived, this, [&seen](const zubrel::XmppIncoming &message) {
        if (!message.body.isEmpty() || message.noLogState >= 0)
            seen.append(message);
    });
    watch.open();
    QTRY_VERIFY_WITH_TIMEOUT(watch.isConnected(), 60000);

    QProcess *daveHost = launch(QStringLiteral("dave"), "private-dave");
    awaitTrace(QStringLiteral("dave"), "[1,61698]");
    Trace carol, dave;
    run(QStringLiteral("carol"), "private-carol", &carol);
    finish(daveHost, QStringLiteral("dave"), &dave);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(events(dave, QStringLiteral("received"), 4, 0x8004).size(), 1);
    const QList<QJsonObject> answers = events(carol, QStringLiteral("received"), 4, 0x8005);
    QCOMPARE(answers.size(), 1);
    QCOMPARE(arg(answers.first(), 1), QStringLiteral("true"));
    QCOMPARE(arg(firstOf(events(dave, QStringLiteral("received"), 4, 0x8005)), 1), QStringLiteral("false"));
    // On the wire: the proposal, what was said in the session and its end
    // ask servers not to store them; what came before does not.
    QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 4, 60000);
    QStringList wire;
    for (const zubrel::XmppIncoming &message : std::as_const(seen))
        wire.append(QStringLiteral("%1 %2 %3").arg(message.body, QString::number(message.noLogState),
                                                   hints.noStore.value(message.id) ? QStringLiteral("hint") : QString()));
    QCOMPARE(wire, (QStringList{QStringLiteral("Before -1 "), QStringLiteral(" 2 hint"), QStringLiteral("Secret -1 hint"),
                                QStringLiteral(" 0 hint")}));
    // Neither log holds what was said in the session.
    for (const Trace *trace : {&carol, &dave}) {
        QString logged;
        for (const QJsonObject &event : *trace) {
            if (event.value(QLatin1String("ev")).toString() == QLatin1String("history"))
                logged = QString::fromUtf8(QJsonDocument(event).toJson(QJsonDocument::Compact));
        }
        QVERIFY2(logged.contains(QLatin1String("Before")) && !logged.contains(QLatin1String("ecret")), qPrintable(logged));
    }
}

void TestXmppTwoHosts::randomChatThroughTheMatchmaker()
{
    QProcess matchmaker;
    matchmaker.start(qEnvironmentVariable("ZUBREL_MATCHMAKER"),
                     {QStringLiteral("matchmaker@localhost"), m_server.folder.filePath(QStringLiteral("matchmaker.password")),
                      QStringLiteral("127.0.0.1:%1").arg(m_server.port())});
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += matchmaker.readAllStandardError()).contains("signed in"), 60000);
    // Carol asks first and waits (the matchmaker's chat 1); then Dave (2).
    QProcess *carolHost = launch(QStringLiteral("carol"), "random-carol");
    awaitTrace(QStringLiteral("carol"), "\"rc:1\"");
    Trace carol, dave;
    run(QStringLiteral("dave"), "random-dave", &dave);
    finish(carolHost, QStringLiteral("carol"), &carol);
    matchmaker.terminate();
    matchmaker.waitForFinished();
    if (QTest::currentTestFailed())
        return;
    // Each knows the other only as a stranger, never by a contact's number.
    const QJsonObject carolMatch = firstOf(events(carol, QStringLiteral("received"), 4, 0x8040));
    const QJsonObject daveMatch = firstOf(events(dave, QStringLiteral("received"), 4, 0x8040));
    QCOMPARE(arg(carolMatch, 0), QStringLiteral("1"));
    QCOMPARE(arg(daveMatch, 0), QStringLiteral("2"));
    QCOMPARE(arg(carolMatch, 1), QStringLiteral("10005"));
    QCOMPARE(arg(daveMatch, 1), QStringLiteral("10005"));
    QVERIFY(!events(carol, QStringLiteral("received"), 4, 0x8042).isEmpty());
    QCOMPARE(arg(firstOf(events(carol, QStringLiteral("received"), 4, 0x8041)), 1), QStringLiteral("Hi, who are you?"));
    QCOMPARE(arg(firstOf(events(dave, QStringLiteral("received"), 4, 0x8041)), 1), QStringLiteral("Hello stranger"));
    QCOMPARE(arg(firstOf(events(dave, QStringLiteral("received"), 4, 0x8043)), 0), QStringLiteral("2"));
    QVERIFY(view(dave, QStringLiteral("rc:2")).contains(QLatin1String("The user has left the chat.")));
}

QTEST_MAIN(TestXmppTwoHosts)
#include "tst_xmpptwohosts.moc"
