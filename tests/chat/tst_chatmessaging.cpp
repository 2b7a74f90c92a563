// Messages, push clips and typing notices through the controller: the
// command forms and argument triples, inline pictures both ways, the size
// limit and notices in the tab. Incoming input at its edges is replayed in
// tests/replays/incoming-edges.replay.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "chattestsupport.h"
#include "zdir.h"

using namespace zubrel;
using namespace ChatTest;

using Args = QList<ProtocolArg>;

class tst_ChatMessaging : public QObject
{
    Q_OBJECT

private:
    Fixture f;
    QTemporaryDir files;

    // A one-to-one tab turned into the kind of tab a row asks for.
    ZChatTab *tabOfKind(const QString &kind)
    {
        if (kind == "other")
            return f.open(bridged);
        if (kind == "other4")
            return f.open(bridged4);
        ZChatTab *tab = f.open(anna);
        if (kind == "multi") {
            tab->multichat = true;
            tab->multichatId = 77;
            f.controller->multichatInfo.insert("77", {"a", "b", "321"});
        } else if (kind == "random") {
            tab->randomChat = true;
            tab->randomChatId = 88;
            f.controller->randomChatInfo.insert("88", {"a", "654"});
        }
        return tab;
    }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = files.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(bytes);
        return path;
    }

    QList<MessageStruct> history(const QString &id)
    {
        QObject owner;
        ZChatLogger *logger = ZChatLogger::create(id, &owner, 1);
        return logger ? logger->lastMessages(50) : QList<MessageStruct>{};
    }

    static const QString offlineNotice;
    static const QString failureNotice;

private slots:
    void initTestCase() { f.setUpProcess(); }
    void init() { f.start(); }
    void cleanup()
    {
        f.succeedAll();
        QVERIFY(f.booksBalanced());
    }
    void cleanupTestCase() { f.stop(); }

    void outgoingForms_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("typing");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("module");
        QTest::addColumn<int>("server");
        QTest::addColumn<Args>("args");
        const QByteArray text = "hello";
        QTest::newRow("message, one-to-one")
            << "one" << false << 0x0001 << 4 << -1 << 0 << Args{{6, 9, anna}, {32, 10, text}};
        QTest::newRow("message, multi chat")
            << "multi" << false << 0x000C << 4 << -1 << 321 << Args{{6, 634, 77}, {32, 10, text}};
        QTest::newRow("message, random chat")
            << "random" << false << 0x0033 << 4 << -1 << 654 << Args{{6, 706, 88}, {32, 10, text}};
        QTest::newRow("typing, one-to-one") << "one" << true << 0x0003 << 4 << -1 << 0 << Args{{6, 9, anna}};
        QTest::newRow("typing, multi chat") << "multi" << true << 0x000D << 4 << -1 << 321 << Args{{6, 634, 77}};
        QTest::newRow("typing, random chat") << "random" << true << 0x0034 << 4 << -1 << 654 << Args{{6, 706, 88}};
        QTest::newRow("message, other network 2") << "other" << false << 0xF0C6 << 0xF000 << 0xF000 << 0
                                                  << Args{{32, 1, bridged}, {32, 0, QString("hello")}};
        QTest::newRow("message, other network 4") << "other4" << false << 0xF0C6 << 0xF000 << 0xF000 << 0
                                                  << Args{{32, 1, bridged4}, {32, 0, QString("hello")}};
        QTest::newRow("typing, other network")
            << "other" << true << 0xF0C7 << 0xF000 << 0xF000 << 0 << Args{{32, 1, bridged}};
    }
    void outgoingForms()
    {
        QFETCH(QString, kind);
        QFETCH(bool, typing);
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, module);
        QFETCH(int, server);
        QFETCH(Args, args);
        ZChatTab *tab = tabOfKind(kind);
        if (typing)
            emit tab->typing();
        else
            emit tab->sendHtml("hello");
        const QList<SentRequest> sent = f.network()->sent();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.first().command.a(), ushort(a));
        QCOMPARE(sent.first().command.b(), ushort(b));
        QCOMPARE(sent.first().command.applicationServerId(), ushort(server));
        QCOMPARE(sent.first().module, module);
        QCOMPARE(sent.first().args, args);
        if (typing) {
            // Typing notices complete silently either way.
            f.network()->fail(sent.first().id);
            QVERIFY(!tab->viewText().contains(failureNotice));
        }
    }

    void missingChatPropertiesGiveServerZero()
    {
        ZChatTab *tab = f.open(anna);
        tab->multichat = true;
        tab->multichatId = 99; // nothing filed for it
        emit tab->sendHtml("x");
        QCOMPARE(f.network()->lastSent().command.applicationServerId(), ushort(0));
        QCOMPARE(f.network()->lastSent().command.b(), ushort(0x000C));
    }

    void picturesBecomeNumberedAttachments()
    {
        const QString first = writeFile("one.png", "first picture");
        const QString second = writeFile("two.png", "second picture");
        ZChatTab *tab = f.open(anna);
        const QString html = QString("<img src=\"%1\"> and <img src=\":/smileys/grin.png\"> then <img src=\"%2\">")
                                 .arg(first, second);
        emit tab->sendHtml(html);
        const SentRequest sent = f.network()->lastSent();
        const Args expected{{6, 9, anna},
                            {32, 10, QByteArray("<img src=\"%1\"> and <img src=\":/smileys/grin.png\"> then "
                                                "<img src=\"%2\">")},
                            {4, 637, 2},
                            {32, 0, QByteArray("first picture")},
                            {32, 0, QByteArray("second picture")}};
        QCOMPARE(sent.args, expected);
        // The log keeps the message as the tab emitted it.
        const QList<MessageStruct> logged = history(anna);
        QCOMPARE(logged.size(), 1);
        QCOMPARE(logged.first().message, html);
        QCOMPARE(logged.first().direction, Zr::Sent);
    }

    void twelvePicturesAreNumberedInOrder()
    {
        QString html;
        Args expected{{6, 9, anna}, {}, {4, 637, 12}};
        QByteArray text;
        for (int i = 1; i <= 12; ++i) {
            const QByteArray bytes = "picture " + QByteArray::number(i);
            html += QString("<img src=\"%1\">").arg(writeFile(QString("p%1.png").arg(i), bytes));
            text += "<img src=\"%" + QByteArray::number(i) + "\">";
            expected.append({32, 0, bytes});
        }
        expected[1] = {32, 10, text};
        emit f.open(anna)->sendHtml(html);
        QCOMPARE(f.network()->lastSent().args, expected);
    }

    void onlyResourcePicturesSendNoAttachments()
    {
        emit f.open(anna)->sendHtml("<img src=\":/a.png\"><img src=\":/b.png\">");
        QCOMPARE(f.network()->lastSent().args,
                 (Args{{6, 9, anna}, {32, 10, QByteArray("<img src=\":/a.png\"><img src=\":/b.png\">")}}));
    }

    void unreadablePictureDropsTheMessage()
    {
        ZChatTab *tab = f.open(anna);
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        emit tab->sendHtml(QString("<img src=\"%1\">").arg(files.filePath("missing.png")));
        QVERIFY(f.network()->sent().isEmpty());
        QVERIFY(hostEvents(events, "box").isEmpty());
        QVERIFY(history(anna).isEmpty());
    }

    void mobilePartnersGetReferencesOnly_data()
    {
        QTest::addColumn<QString>("id");
        QTest::newRow("0x21") << phone;
        QTest::newRow("0x22") << phone2;
    }
    void mobilePartnersGetReferencesOnly()
    {
        QFETCH(QString, id);
        const QString picture = writeFile("m.png", "mobile picture");
        emit f.open(id)->sendHtml(QString("look <img src=\"%1\">").arg(picture));
        QCOMPARE(f.network()->lastSent().args, (Args{{6, 9, id}, {32, 10, QByteArray("look <img src=\"%1\">")}}));
    }

    void sizeLimit_data()
    {
        QTest::addColumn<int>("textBytes");
        QTest::addColumn<int>("pictureBytes");
        QTest::addColumn<bool>("sent");
        QTest::newRow("text, 99 KiB") << 101376 << 0 << false;
        QTest::newRow("text, one byte less") << 101375 << 0 << true;
        // The text after numbering ("<img src=\"%1\">", 14 bytes) counts, the path does not.
        QTest::newRow("text and picture, 99 KiB") << 101376 - 14 - 4000 << 4000 << false;
        QTest::newRow("text and picture, one byte less") << 101375 - 14 - 4000 << 4000 << true;
    }
    void sizeLimit()
    {
        QFETCH(int, textBytes);
        QFETCH(int, pictureBytes);
        QFETCH(bool, sent);
        QString html = QString(textBytes, u'a');
        if (pictureBytes > 0)
            html.prepend(QString("<img src=\"%1\">").arg(writeFile("big.png", QByteArray(pictureBytes, 'p'))));
        ZChatTab *tab = f.open(anna);
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        emit tab->sendHtml(html);
        QCOMPARE(f.network()->sent().size(), sent ? 1 : 0);
        const QList<QVariantMap> shown = hostEvents(events, "box");
        QCOMPARE(shown.size(), sent ? 0 : 1);
        if (!sent) {
            QCOMPARE(shown.first().value("title").toString(), QStringLiteral("Zubrel"));
            QCOMPARE(shown.first().value("text").toString(),
                     QStringLiteral("Your message is larger than 100kb and cannot be send."));
        }
        QCOMPARE(history(anna).size(), sent ? 1 : 0);
    }

    void offlinePartnerGetsTheNotice()
    {
        ZChatTab *offline = f.open(bert);
        emit offline->sendHtml("are you there?");
        QCOMPARE(offline->viewText().count(offlineNotice), 1);
        ZChatTab *online = f.open(anna);
        emit online->sendHtml("hi");
        QVERIFY(!online->viewText().contains(offlineNotice));
    }

    void failedMessageShowsTheNotice_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("one-to-one") << "one";
        QTest::newRow("other network") << "other";
    }
    void failedMessageShowsTheNotice()
    {
        QFETCH(QString, kind);
        ZChatTab *tab = tabOfKind(kind);
        emit tab->sendHtml("lost");
        const uint id = f.network()->lastSent().id;
        QCOMPARE(f.controller->registry().value("requestTabs").toInt(), 1);
        QVERIFY(f.network()->fail(id));
        QCOMPARE(tab->viewText().count(failureNotice), 1);
        QVERIFY(!f.helper->unfreedRequests().contains(id));
        QCOMPARE(f.controller->registry().value("requestTabs").toInt(), 0);
    }

    void successFreesAndForgetsTheTab()
    {
        ZChatTab *tab = f.open(anna);
        emit tab->sendHtml("ok");
        const uint id = f.network()->lastSent().id;
        QVERIFY(f.network()->succeed(id));
        QVERIFY(!f.helper->unfreedRequests().contains(id));
        QVERIFY(f.controller->requestTabs.isEmpty());
        QVERIFY(!tab->viewText().contains(failureNotice));
    }

    void failureAfterTheTabClosedTouchesNothing()
    {
        ZChatTab *tab = f.open(anna);
        emit tab->sendHtml("in flight");
        emit tab->typing();
        const QList<SentRequest> sent = f.network()->sent();
        QCOMPARE(sent.size(), 2);
        f.window(anna)->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.window(anna));
        QVERIFY(f.controller->requestTabs.isEmpty());
        QVERIFY(f.controller->chatLoggers.isEmpty());
        for (const SentRequest &request : sent)
            QVERIFY(f.network()->fail(request.id));
        QVERIFY(f.helper->unfreedRequests().isEmpty());
    }

    void sendFromAClosingTab()
    {
        // close() only schedules the window's disposal: a send the tab had
        // deferred can still arrive, and its answer comes after the tab is gone.
        ZChatTab *tab = f.open(anna);
        f.window(anna)->close();
        emit tab->sendHtml("late");
        const QList<SentRequest> sent = f.network()->sent();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!f.window(anna));
        for (const SentRequest &request : sent)
            QVERIFY(f.network()->fail(request.id));
        QVERIFY(f.helper->unfreedRequests().isEmpty());
        QVERIFY(f.controller->requestTabs.isEmpty());
    }

    void pushMessageIsSentAsAClip_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("server");
        QTest::addColumn<ProtocolArg>("address");
        QTest::newRow("one-to-one") << "one" << 0x0001 << 0 << ProtocolArg(6, 9, anna);
        QTest::newRow("multi chat") << "multi" << 0x000C << 321 << ProtocolArg(6, 634, 77);
    }
    void pushMessageIsSentAsAClip()
    {
        QFETCH(QString, kind);
        QFETCH(int, b);
        QFETCH(int, server);
        QFETCH(ProtocolArg, address);
        const QString clip = writeFile("clip.wav", "RIFF clip bytes");
        ZChatTab *tab = tabOfKind(kind);
        emit tab->sendPushMessage(clip);
        const SentRequest sent = f.network()->lastSent();
        QCOMPARE(sent.command.a(), ushort(4));
        QCOMPARE(sent.command.b(), ushort(b));
        QCOMPARE(sent.command.applicationServerId(), ushort(server));
        QCOMPARE(sent.args, (Args{address, {32, 10, QByteArray()}, {4, 637, 1}, {32, 0, QByteArray("RIFF clip bytes")}}));
        // A failed clip is silent.
        QVERIFY(f.network()->fail(sent.id));
        QVERIFY(!tab->viewText().contains(failureNotice));
    }

    void pushMessageThatCannotBeSent_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("readable");
        QTest::newRow("random chat") << "random" << true;
        QTest::newRow("unreadable file") << "one" << false;
    }
    void pushMessageThatCannotBeSent()
    {
        QFETCH(QString, kind);
        QFETCH(bool, readable);
        const QString clip = readable ? writeFile("clip.wav", "RIFF") : files.filePath("none.wav");
        emit tabOfKind(kind)->sendPushMessage(clip);
        QVERIFY(f.network()->sent().isEmpty());
    }

    void incomingMessageOpensAChatMinimised_data()
    {
        QTest::addColumn<bool>("alreadyOpen");
        QTest::newRow("closed") << false;
        QTest::newRow("open") << true;
    }
    void incomingMessageOpensAChatMinimised()
    {
        QFETCH(bool, alreadyOpen);
        if (alreadyOpen)
            f.open(anna);
        QSignalSpy events(ZHostEvents::instance(), &ZHostEvents::event);
        QSignalSpy answered(f.helper, &WrapPluginHelper::incomingAnswered);
        f.network()->inject(4, 0xF0A1, {{6, 0, anna}, {32, 10, QByteArray("hello there")}});
        QCOMPARE(answered.size(), 1);
        ZChatTab *tab = f.tab(anna);
        QVERIFY(tab);
        QVERIFY(tab->viewText().contains("hello there"));
        int minimised = 0;
        int flashes = 0;
        for (const QList<QVariant> &event : events) {
            const QVariantMap fields = event.value(1).toMap();
            if (event.value(0).toString() == "flash")
                ++flashes;
            if (event.value(0).toString() == "platform" && fields.value("op") == "showMinimizedNoActivate")
                ++minimised;
        }
        QCOMPARE(flashes, 1);
        QCOMPARE(minimised, alreadyOpen ? 0 : 1);
        const QList<MessageStruct> logged = history(anna);
        QCOMPARE(logged.size(), 1);
        QCOMPARE(logged.first().message, QString("hello there"));
        QCOMPARE(logged.first().direction, Zr::Received);
        QCOMPARE(logged.first().alias, QString("Anna"));
    }

    void receivedPicturesReplaceExactlyTheirSource_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("two") << 2;
        QTest::newRow("ten") << 10;
        QTest::newRow("twelve") << 12;
    }
    void receivedPicturesReplaceExactlyTheirSource()
    {
        QFETCH(int, count);
        // Highest number first: a plain "%1" search would hit "%1x" first.
        QString html = QStringLiteral("costs 5%1 or %10 <img src=\":/smileys/a.png\">");
        for (int i = count; i >= 1; --i)
            html += QString("<img src=\"%%1\">").arg(i);
        Args args{{6, 0, anna}, {32, 10, html.toUtf8()}, {4, 637, count}};
        for (int i = 1; i <= count; ++i)
            args.append({32, 0, QByteArray("bytes of picture ") + QByteArray::number(i)});
        f.network()->inject(4, 0xF0A1, args);

        const QList<MessageStruct> logged = history(anna);
        QCOMPARE(logged.size(), 1);
        QString shown = logged.first().message;
        QVERIFY(shown.startsWith("costs 5%1 or %10 <img src=\":/smileys/a.png\">"));
        // Each chat keeps what it received in a folder of its own.
        const QString temp = QDir(ZDir::tempPath(true) + "/received/" + anna).canonicalPath();
        for (int i = count; i >= 1; --i) {
            const QString prefix = "<img src=\"";
            const int at = shown.indexOf(prefix, shown.indexOf(":/smileys/a.png") + 1);
            QVERIFY(at >= 0);
            const int end = shown.indexOf('"', at + prefix.size());
            const QString fileName = shown.mid(at + prefix.size(), end - at - prefix.size());
            QCOMPARE(QFileInfo(fileName).canonicalPath(), temp);
            QFile file(fileName);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("bytes of picture ") + QByteArray::number(i));
            shown.remove(at, end + 2 - at);
        }
    }
    void receivedClipIsStoredUnderOurName()
    {
        const QString temp = ZDir::tempPath(true) + "/received/" + anna;
        const QStringList before = QDir(temp).entryList(QDir::Files);
        QSignalSpy answered(f.helper, &WrapPluginHelper::incomingAnswered);
        f.network()->inject(4, 0xF0A1,
                            {{6, 0, anna}, {32, 10, QByteArray()}, {4, 637, 1}, {32, 0, QByteArray("RIFF voice")}});
        QCOMPARE(answered.size(), 1);
        QStringList added = QDir(temp).entryList(QDir::Files);
        for (const QString &name : before)
            added.removeAll(name);
        QCOMPARE(added.size(), 1);
        QVERIFY(added.first().endsWith(".wav"));
        QFile file(QDir(temp).filePath(added.first()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("RIFF voice"));
        QVERIFY(f.tab(anna));
    }
    void privateSessionWritesNoLog()
    {
        ZChatTab *tab = f.open(anna);
        tab->noLog = true;
        emit tab->sendHtml("secret");
        emit tab->sendPushMessage(writeFile("clip.wav", "RIFF secret"));
        f.network()->inject(4, 0xF0A1, {{6, 0, anna}, {32, 10, QByteArray("secret reply")}});
        QVERIFY(history(anna).isEmpty());
        tab->noLog = false;
        emit tab->sendHtml("public");
        f.network()->inject(4, 0xF0A1, {{6, 0, anna}, {32, 10, QByteArray("public reply")}});
        const QList<MessageStruct> logged = history(anna);
        QCOMPARE(logged.size(), 2);
        QCOMPARE(logged.at(0).message, QString("public"));
        QCOMPARE(logged.at(1).message, QString("public reply"));
    }
};

const QString tst_ChatMessaging::offlineNotice =
    QStringLiteral("The user is currently offline and will receive your message as soon as they go online again.");
const QString tst_ChatMessaging::failureNotice = QStringLiteral("The message could not be transmitted.");

QTEST_MAIN(tst_ChatMessaging)
#include "tst_chatmessaging.moc"
